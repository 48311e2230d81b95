#include "gameplay/levels.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "core/score_file.h"

namespace {

// A table this large would need about a hundred hours of survival; beyond it EnemyMax would no
// longer fit its 16 bits, so the table simply stops growing there.
constexpr int16_t kLargestEnemyMax = std::numeric_limits<int16_t>::max();

// Where the edge runner enters for each side, and the far corner of the edge it runs along first.
struct Entry {
  float x, y, targetX, targetY;
};
constexpr Entry kEdgeEntries[4] = {
    {640, 0, 0, 0},        // leftward along the top edge
    {-32, 448, 608, 448},  // rightward along the bottom edge
    {0, -32, 0, 448},      // down the left edge
    {608, 480, 608, 0},    // up the right edge
};

}  // namespace

void GrowSurvivalTable(Game& game) {
  if (!game.SurvivalMode || std::floor(game.SurvivalClock) != 15.0f) return;
  game.SurvivalClock = 1;
  if (game.EnemyMax >= kLargestEnemyMax) return;
  game.EnemyMax = static_cast<int16_t>(game.EnemyMax + 1);
  // The new slot is zeroed: absent with no delay, so it spawns later in this same pass.
  game.Enemies.resize(static_cast<size_t>(game.EnemyMax) + 1, Enemy{});
}

int CountLivingEnemies(const Game& game) {
  int living = 0;
  for (int m = 0; m <= game.EnemyMax; ++m) {
    const Enemy& enemy = game.Enemies[m];
    if (m != kEdgeRunner && enemy.Fade > 0 && enemy.Health > 0 && !enemy.Ally) ++living;
  }
  return living;
}

void UpdateAbsentSlot(Game& game, int slot) {
  Enemy& enemy = game.Enemies[slot];
  if (enemy.RespawnDelay > 0) enemy.RespawnDelay -= 1;
  if (enemy.RespawnDelay > 0) return;

  // While spawns are left the count decides nothing, so it is only taken when the supply is out
  // (this keeps a long survival game with a big table at one look per slot).
  if (game.EnemiesLeft > 0) {
    SpawnEnemy(game, slot);
    return;
  }
  int living = CountLivingEnemies(game);
  if (slot == kEdgeRunner && living > 6) {
    SpawnEnemy(game, slot);
  } else if (living == 0) {
    ClearLevel(game);
  }
}

void SpawnEnemy(Game& game, int slot) {
  Enemy& enemy = game.Enemies[slot];
  Random& rnd = game.Rnd;
  // The edge runner never uses up a spawn, and a survival game never runs out.
  if (!game.SurvivalMode && slot != kEdgeRunner) {
    game.EnemiesLeft = static_cast<int16_t>(game.EnemiesLeft - 1);
  }

  // Anywhere on the field, the player's spot included.
  rnd.ReseedFromTime(game.platform.TimeOfDay());
  enemy.X = std::floor(608.0f * rnd.Next());
  enemy.Y = std::floor(448.0f * rnd.Next());
  rnd.ReseedFromTime(game.platform.TimeOfDay());
  enemy.TargetX = std::floor(608.0f * rnd.Next());
  enemy.TargetY = std::floor(448.0f * rnd.Next());
  // From 1/3 up to, but not including, 2 pixels per pass.
  enemy.Speed = static_cast<float>(rnd.Next() * (2.0 - 1.0 / 3.0) + 1.0 / 3.0);
  enemy.Health = 100;
  enemy.Fade = 1;
  enemy.Ally = false;
  enemy.Infected = false;
  enemy.InfectedByOther = false;

  if (slot == kEdgeRunner) {
    int side = static_cast<int>(std::floor(4.0f * rnd.Next()));
    const Entry& entry = kEdgeEntries[side];
    enemy.X = entry.x;
    enemy.Y = entry.y;
    enemy.TargetX = entry.targetX;
    enemy.TargetY = entry.targetY;
    enemy.Speed = 4;
    enemy.Health = 50;
  }
}

void ClearLevel(Game& game) {
  // The player step of the next pass then ends the game and records the score.
  game.PlayerFade = 0;
  game.PlayerHealth = 0;

  // Passing the highest level offered unlocks the next one. Level 100 is the last: clearing it
  // has nothing left to unlock and writes nothing, but plays the fanfare like every other level,
  // once in the game, though the other slots of this pass (or the next pass) find the clear again.
  if (game.HighestLevel != game.Level) return;
  if (game.HighestLevel >= kMaxLevel) {
    if (game.LastLevelWon) return;
    game.LastLevelWon = true;
  } else {
    game.HighestLevel = NextHighestLevel(game.HighestLevel);
    WritePassedLevel(game);
  }
  game.engine.PlaySound("won", 0, 100, 0, 0);
}
