// Reading drawn frames back from the trace: the sprites with the tint in force when each was
// drawn, and the texts. Shared by the game-screen and heads-up display tests.
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

struct SpriteCall {
  std::string file;  // as the game named it, e.g. files\ai_10.bmp
  float x, y, width, height, angle;
  int opacity;
  float a, b, drawnWidth, drawnHeight, c, d;
  Tint tint;  // the tint of the latest SetColor before it (neutral when none in the trace)
};

struct TextCall {
  std::string font;
  float x, y, width, height;
  std::string text;
  int32_t color;
  int alignment;
};

// A quoted trace word back to its text: quotes removed, \" and \\ unescaped.
inline std::string Unquote(const std::string& word) {
  std::string text;
  for (size_t i = 1; i + 1 < word.size(); ++i) {
    if (word[i] == '\\' && i + 2 < word.size()) ++i;
    text.push_back(word[i]);
  }
  return text;
}

inline std::vector<SpriteCall> Sprites(const std::vector<std::string>& lines) {
  std::vector<SpriteCall> sprites;
  Tint tint;
  for (const std::string& line : lines) {
    std::vector<std::string> w = test::Words(line);
    if (w[0] == "Engine.SetColor") {
      tint = {std::stoi(w[1]), std::stoi(w[2]), std::stoi(w[3])};
    } else if (w[0] == "Engine.DrawSprite") {
      sprites.push_back({Unquote(w[1]), std::stof(w[2]), std::stof(w[3]), std::stof(w[4]),
                         std::stof(w[5]), std::stof(w[6]), std::stoi(w[7]), std::stof(w[8]),
                         std::stof(w[9]), std::stof(w[10]), std::stof(w[11]), std::stof(w[12]),
                         std::stof(w[13]), tint});
    }
  }
  return sprites;
}

inline std::vector<SpriteCall> SpritesOf(const std::vector<std::string>& lines,
                                         const std::string& file) {
  std::vector<SpriteCall> found;
  for (const SpriteCall& sprite : Sprites(lines)) {
    if (sprite.file == file) found.push_back(sprite);
  }
  return found;
}

inline std::vector<TextCall> Texts(const std::vector<std::string>& lines) {
  std::vector<TextCall> texts;
  for (const std::string& line : lines) {
    std::vector<std::string> w = test::Words(line);
    if (w[0] != "Engine.DrawText") continue;
    texts.push_back({Unquote(w[1]), std::stof(w[2]), std::stof(w[3]), std::stof(w[4]),
                     std::stof(w[5]), Unquote(w[6]), static_cast<int32_t>(std::stol(w[7])),
                     std::stoi(w[8])});
  }
  return texts;
}

// The first text that starts with a prefix; fails the test when there is none.
inline TextCall TextStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const TextCall& text : Texts(lines)) {
    if (text.text.compare(0, prefix.size(), prefix) == 0) return text;
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
  // Draws one frame and returns its trace.
  const std::vector<std::string>& Draw() {
    ClearTrace();
    DrawGame(game);
    return Lines();
  }
};

// Text colours as the engine receives them (ARGB).
inline constexpr int32_t kOpaqueWhite = -1;
inline constexpr int32_t kFaintWhite = static_cast<int32_t>(0x1EFFFFFFu);
inline constexpr int32_t kStrongRed = static_cast<int32_t>(0xFAFF3737u);
inline constexpr int32_t kFaintRed = static_cast<int32_t>(0x32FF3737u);

}  // namespace frame
