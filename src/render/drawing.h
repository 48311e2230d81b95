// Drawing helpers shared by every screen (and the splash): sprites with named arguments, the
// neutral tint, and texts built without allocating.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/engine.h"

// One sprite as the game draws it: every argument of the engine's DrawSprite, named, with the
// values the game passes unless it says otherwise. Write only what differs:
//   DrawSprite(engine, game.BonusTexture, {.at = {x, y}, .size = {16, 16}, .angle = angle});
struct Sprite {
  struct Pair {
    float first = 0;
    float second = 0;
  };
  Pair at{};              // x, y: the top-left corner of the drawn picture
  Pair size{};            // width, height: the region at the texture's top-left corner
  float angle = 0;        // degrees, about the centre
  int16_t opacity = 100;  // percent
  Pair beforeSize{};      // two values the engine takes before the drawn size; always 0, 0
  Pair drawnSize{};       // stretched to this width and height; 0 x 0 keeps the region's size
  Pair last{-1, -1};      // the engine's last two values: -1, -1 (the menu's arrow field 16, 0)
};

inline void DrawSprite(Engine& engine, const Texture& texture, const Sprite& s) {
  engine.DrawSprite(texture, s.at.first, s.at.second, s.size.first, s.size.second, s.angle,
                    s.opacity, s.beforeSize.first, s.beforeSize.second, s.drawnSize.first,
                    s.drawnSize.second, s.last.first, s.last.second);
}

// Every tinted draw hands the neutral tint back, so a frame always ends untinted.
inline void Untint(Engine& engine) {
  engine.SetColor(255, 255, 255);
}

// A text of two parts, built in `room` (Game::TextRoom), which keeps its size from frame to frame:
// a text drawn every frame costs no allocation. Valid until the room is used again.
inline const std::string& Compose(std::string& room, std::string_view first,
                                  std::string_view second = {}) {
  room.assign(first);
  room.append(second);
  return room;
}
