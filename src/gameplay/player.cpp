#include <algorithm>
#include <cmath>
#include <string>

#include "core/numbers.h"
#include "core/score_file.h"
#include "gameplay/gameplay.h"

namespace {

// The four fire directions: key, start offset from the ship's corner, speed.
struct FireDirection {
  int16_t key;
  float offsetX;
  float offsetY;
  float speedX;
  float speedY;
};
constexpr FireDirection kLeft{Key::A, 12, 12, -10, 0};
constexpr FireDirection kRight{Key::D, 24, 12, 10, 0};
constexpr FireDirection kUp{Key::W, 12, 8, 0, -10};
constexpr FireDirection kDown{Key::S, 12, 24, 0, 10};
constexpr FireDirection kDirections[4] = {kLeft, kRight, kUp, kDown};

constexpr float kAutoFireCost = 6;  // bonus "E" pays this much of its time for every shot

void Fire(Game& game, const FireDirection& direction) {
  ProcessShots(game, true, game.PlayerX + direction.offsetX, game.PlayerY + direction.offsetY,
               direction.speedX, direction.speedY, true, kPlayerOwner);
}

void Move(Game& game) {
  Engine& engine = game.engine;
  if (engine.IsKeyDown(Key::Left)) game.PlayerX = game.PlayerX - game.PlayerSpeed;
  if (engine.IsKeyDown(Key::Right)) game.PlayerX = game.PlayerX + game.PlayerSpeed;
  if (engine.IsKeyDown(Key::Up)) game.PlayerY = game.PlayerY - game.PlayerSpeed;
  if (engine.IsKeyDown(Key::Down)) game.PlayerY = game.PlayerY + game.PlayerSpeed;
}

void SingleFire(Game& game) {
  if (BonusInEffect(game, Bonus::E) || BonusInEffect(game, Bonus::F)) return;
  for (const FireDirection& direction : kDirections) {
    if (game.engine.IsKeyHit(direction.key)) Fire(game, direction);
  }
}

// Bonus "E": held keys fire on three frames in ten; each shot spends from the bonus time, so the
// bonus lasts a number of shots rather than a number of frames.
void AutoFire(Game& game) {
  // The product is exact: a float times 1000 always fits a double.
  const double t = std::floor(static_cast<double>(game.AnimClock) * 1000.0);
  const double phase = std::fmod(t, 10.0);
  if (phase != 1 && phase != 4 && phase != 7) return;
  if (!BonusInEffect(game, Bonus::E)) return;
  float& time = game.BonusTypes[Bonus::E].Time;
  for (const FireDirection& direction : kDirections) {
    if (game.engine.IsKeyDown(direction.key)) {
      Fire(game, direction);
      // Charged even when the shot table was full.
      time = time - kAutoFireCost;
    }
  }
}

// Bonus "F": one press of any fire key fires in all four directions.
void FourWayFire(Game& game) {
  if (!BonusInEffect(game, Bonus::F)) return;
  bool pressed = false;
  // Every key is asked, so no press is left over for a later frame.
  for (const FireDirection& direction : kDirections) {
    if (game.engine.IsKeyHit(direction.key)) pressed = true;
  }
  if (!pressed) return;
  for (const FireDirection& direction : kDirections) Fire(game, direction);
}

// The final score, the records and the way back to the menu.
void EndGame(Game& game) {
  // Health is 0 or less here; the sum saturates at the 16-bit limits.
  const float total = static_cast<float>(game.Score) + game.PlayerHealth;
  game.Score = NearestInt16(total);
  game.PlayerFade = 0;
  game.GameMode = "";
  game.MenuDelay = 50;

  if (game.SurvivalMode) {
    if (game.Score > game.BestScore) {
      WriteBestScore(game, game.Score);
      game.engine.PlaySound("hs", 0, 100, 0, 0);
    }
  } else {
    // The menu keeps Level within 1..HighestLevel; clamp anyway so odd state cannot reach past
    // the record tables.
    const int level = std::clamp<int>(game.Level, 0, kMaxLevel);
    if (game.Score > game.LevelBestScores[level]) {
      WriteLevelBest(game, level, game.Score);
      game.engine.PlaySound("hs", 0, 100, 0, 0);
    }
  }
  game.LastScore = game.Score;
}

}  // namespace

void UpdatePlayer(Game& game) {
  Move(game);
  SingleFire(game);
  AutoFire(game);
  FourWayFire(game);

  if (game.PlayerHealth <= 0) game.PlayerFade = game.PlayerFade - 1;
  if (game.PlayerFade < 0) EndGame(game);
  if (game.PlayerHealth > 0 && game.PlayerFade < 100) game.PlayerFade = game.PlayerFade + 1;

  // Bounds come last, so this frame's shots started from the unclamped position.
  if (game.PlayerX < 0) game.PlayerX = 0;
  if (game.PlayerX > 608) game.PlayerX = 608;
  if (game.PlayerY < 0) game.PlayerY = 0;
  if (game.PlayerY > 448) game.PlayerY = 448;
}
