#include <algorithm>
#include <cmath>
#include <string>

#include "core/drawing_advances.h"
#include "core/numbers.h"
#include "render/drawing.h"
#include "render/render.h"

namespace {

struct Rgb {
  float red, green, blue;
};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kHighlight{255, 255, 42};
constexpr Rgb kShadow{0, 0, 0};

// Our own footer lines: who made it, and where to read more.
// Texts longer than a string holds without allocating are made once.
const std::string kOwnershipLine = "(C) 2026 THE SWAYFIRE AUTHORS";
const std::string kAddressLine = "SEE README.MD FOR HELP";
const std::string kKeysLine = "FIRE < GAME KEYS > MOVE";

void Text(Game& game, const std::string& text, float x, float y, float scale, float angle,
          Rgb colour) {
  game.engine.DrawBitmapText(game.FontTexture, text, x, y, scale, angle, 100, colour.red,
                             colour.green, colour.blue);
}

// A swaying angle of 5 degrees either way, at `rate` times the animation clock.
float Sway(float anim, double rate) {
  return static_cast<float>(5.0 * std::sin(rate * anim));
}

// 374 arrows, one tile beyond every edge, each turning about a degree a frame; the diagonals
// are 11 degrees apart and the lower rows pulse more strongly.
void DrawArrowField(Game& game, float anim) {
  const double pulse = std::sin(40.0 * anim);
  for (int i = 0; i <= 21; ++i) {
    for (int j = 0; j <= 16; ++j) {
      float angle = static_cast<float>(-(anim * 1000.0 + 11.0 * (i + j)));
      int16_t opacity = NearestInt16(j / 3.0 * pulse + 20.0);
      DrawSprite(game.engine, game.ArrowTexture,
                 {.at = {static_cast<float>(32 * i - 32), static_cast<float>(32 * j - 32)},
                  .size = {32, 32},
                  .angle = angle,
                  .opacity = opacity,
                  .last = {16, 0}});
    }
  }
}

// "BEST SCORE" and the record below it; a new record shimmers in a second, Highlight copy.
void DrawRecord(Game& game, float y, float record, bool isNew) {
  Text(game, "BEST SCORE", 385, y, 0.5f, 0, kWhite);
  const std::string score = ScoreText(record);
  Text(game, score, 410, y + 13, 0.5f, 0, kWhite);
  if (isNew) {
    float r = game.Rnd.Next();
    Text(game, score, 410 + 2 * r, y + 13, 0.5f, 0, kHighlight);
  }
}

// The arrows beside "REVIVAL n": left while a lower level exists, right always, green while a
// higher level can be chosen and red at the highest. They bounce in opposite directions.
void DrawLevelChooser(Game& game, float anim) {
  const double bounce = 3.0 * std::sin(199.0 * anim);
  game.engine.SetColor(20, 255, 20);
  if (game.Level > 1) {
    DrawSprite(game.engine, game.ArrowTexture,
               {.at = {static_cast<float>(295.0 + bounce), 220},
                .size = {32, 32},
                .angle = 180,
                .drawnSize = {24, 24}});
  }
  if (game.Level == game.HighestLevel) game.engine.SetColor(255, 50, 50);
  // Two-digit levels push the right arrow out of the second digit's way.
  const double w = game.Level > 9 ? 21.0 : 0.0;
  DrawSprite(game.engine, game.ArrowTexture,
             {.at = {static_cast<float>(336.0 + w - bounce), 220},
              .size = {32, 32},
              .drawnSize = {24, 24}});
  game.engine.SetColor(255, 255, 255);
}

}  // namespace

void DrawMenu(Game& game) {
  Engine& engine = game.engine;
  const float anim = game.AnimClock;
  // The records of the chosen start level; the menu keeps Level within the table.
  const int level = std::clamp<int>(game.Level, 0, kMaxLevel);

  DrawSprite(engine, game.MenuBackgroundTexture, {.size = {640, 480}});
  // The title drifts on a circle of radius 5.
  DrawSprite(engine, game.TitleTexture,
             {.at = {static_cast<float>(20.0 + 5.0 * std::sin(45.0 * anim)),
                     static_cast<float>(20.0 + 5.0 * std::cos(45.0 * anim))},
              .size = {512, 128},
              .opacity = 70});

  Text(game, kKeysLine, 185, 360, 0.5f, 0, kShadow);
  Text(game, kKeysLine, 186, 361, 0.5f, 0, kWhite);
  engine.SetColor(255, 255, 255);
  DrawSprite(engine, game.KeysFireTexture, {.at = {185, 380}, .size = {128, 64}, .opacity = 50});
  DrawSprite(engine, game.KeysMoveTexture, {.at = {315, 380}, .size = {128, 64}, .opacity = 50});

  DrawArrowField(game, anim);

  // Each entry sways on its own; the selected one gets a slower Highlight copy on top.
  Text(game, "SURVIVAL", 140, 170, 1, Sway(anim, 47), kWhite);
  if (game.MenuSelection == kSurvivalEntry)
    Text(game, "SURVIVAL", 140, 170, 1, Sway(anim, 7), kHighlight);
  DrawRecord(game, 170, game.BestScore, game.NewBestScore);

  const std::string revival = "REVIVAL " + std::to_string(game.Level);
  Text(game, revival, 140, 220, 1, Sway(anim, 45), kWhite);
  if (game.MenuSelection == kLevelEntry)
    Text(game, revival, 140, 220, 1, Sway(anim, 5), kHighlight);
  DrawRecord(game, 220, game.LevelBestScores[level], game.NewLevelBest[level]);
  if (game.MenuSelection == kLevelEntry) DrawLevelChooser(game, anim);

  if (game.ExitCaption.empty()) ChooseExitCaption(game);
  Text(game, game.ExitCaption, 140, 270, 1, Sway(anim, 43), kWhite);
  if (game.MenuSelection == kExitEntry)
    Text(game, game.ExitCaption, 140, 270, 1, Sway(anim, 3), kHighlight);

  if (game.LastScore > 0) {
    engine.DrawText("smalltext", 437, 2, 200, 15,
                    Compose(game.TextRoom, "LAST GAME: ", ScoreText(game.LastScore)),
                    packColor(200, 255, 255, 255), 2);
  }
  engine.DrawText("smalltext", 2, 465, 200, 15, kOwnershipLine, packColor(150, 255, 255, 255), 0);
  engine.DrawText("smalltext", 437, 465, 200, 15, kAddressLine, packColor(150, 255, 255, 255), 2);

  // The splash logo dissolves into the menu over its first 100 frames of the run.
  if (AdvanceLogoFade(game)) {
    DrawSprite(engine, game.LogoTexture,
               {.size = {640, 480}, .opacity = NearestInt16(100.0 - game.LogoFade)});
  }

  engine.EndFrame();
}
