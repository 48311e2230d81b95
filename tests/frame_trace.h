// Drawn frames from the recorded calls: the sprites with the tint in force when each was drawn,
// and the texts. Shared by the game-screen and heads-up display tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "render/render.h"
#include "shell/shell.h"
#include "test_support.h"

namespace frame {

struct Tint {
  int red = 255;
  int green = 255;
  int blue = 255;
  bool operator==(const Tint&) const = default;
};
inline constexpr Tint kNeutral{255, 255, 255};

// A sprite as drawn: the engine's record, the file of its image and the tint in force.
struct SpriteCall : call::DrawSprite {
  std::string file;  // as the game named it, e.g. files\ai_10.bmp
  Tint tint;         // the tint of the latest SetColor before it (neutral when none in the trace)
};

using TextCall = call::DrawText;

inline std::vector<SpriteCall> Sprites(const std::vector<Call>& calls) {
  std::vector<SpriteCall> sprites;
  Tint tint;
  for (const Call& c : calls) {
    if (const auto* color = std::get_if<call::SetColor>(&c)) {
      tint = {color->red, color->green, color->blue};
    } else if (const auto* sprite = std::get_if<call::DrawSprite>(&c)) {
      sprites.push_back({*sprite, sprite->texture ? sprite->texture->file : "", tint});
    }
  }
  return sprites;
}

inline std::vector<SpriteCall> SpritesOf(const std::vector<Call>& calls, const std::string& file) {
  std::vector<SpriteCall> found;
  for (const SpriteCall& sprite : Sprites(calls)) {
    if (sprite.file == file) found.push_back(sprite);
  }
  return found;
}

inline std::vector<TextCall> Texts(const std::vector<Call>& calls) {
  return CallsOf<call::DrawText>(calls);
}

// The first text that starts with a prefix; fails the test when there is none.
inline TextCall TextStartingWith(const std::vector<Call>& calls, const std::string& prefix) {
  for (const TextCall& text : Texts(calls)) {
    if (text.text.starts_with(prefix)) return text;
  }
  ADD_FAILURE() << "no text starting with \"" << prefix << "\"";
  return {};
}

// A game with its resources loaded and a new game started, ready to draw frames.
struct GameFrame : test::TestGame {
  explicit GameFrame(bool survival = false, int16_t level = 1) {
    LoadResources();
    game.SurvivalMode = survival;
    game.Level = level;
    NewGame(game);
  }
  // Draws one frame and returns its calls.
  const std::vector<Call>& Draw() {
    ClearTrace();
    DrawGame(game);
    return Records();
  }
};

// Text colours as the engine receives them (ARGB).
inline constexpr int32_t kOpaqueWhite = -1;
inline constexpr int32_t kFaintWhite = static_cast<int32_t>(0x1EFFFFFFu);
inline constexpr int32_t kStrongRed = static_cast<int32_t>(0xFAFF3737u);
inline constexpr int32_t kFaintRed = static_cast<int32_t>(0x32FF3737u);

}  // namespace frame
