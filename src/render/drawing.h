// Small helpers shared by the game screen and the heads-up display.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/game.h"

namespace render {

// Every tinted draw hands the neutral tint back, so a frame always ends untinted.
inline void Untint(Engine& engine) {
  engine.SetColor(255, 255, 255);
}

// A sprite with the fixed arguments every game-screen draw passes; a drawn size of 0 x 0 keeps
// the region's own size.
inline void Sprite(Engine& engine, const Texture& texture, float x, float y, float width,
                   float height, float angle, int16_t opacity, float drawnWidth = 0,
                   float drawnHeight = 0) {
  engine.DrawSprite(texture, x, y, width, height, angle, opacity, 0, 0, drawnWidth, drawnHeight, -1,
                    -1);
}

}  // namespace render
