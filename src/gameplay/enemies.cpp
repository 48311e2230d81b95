#include <cmath>

#include "gameplay/boxes.h"
#include "gameplay/gameplay.h"
#include "gameplay/levels.h"

namespace {

constexpr float kSize = 32;  // enemies and the ship are 32 x 32

bool Overlapping(float ax, float ay, float bx, float by) {
  return BoxesOverlap(ax, ay, kSize, kSize, bx, by, kSize, kSize);
}

// One shot leaving the side of the enemy's box that faces its direction: 0 left, 1 right, 2 up,
// 3 down, at 5 to 10 pixels per pass.
void FireShot(Game& game, int slot, int direction, bool playerSide) {
  const Enemy& enemy = game.Enemies[slot];
  float x = enemy.X;
  float y = enemy.Y;
  float speed = 5.0f + 5.0f * game.Rnd.Next();
  switch (direction) {
    case 0:
      ProcessShots(game, true, x, y + 12.0f, -speed, 0, playerSide, static_cast<int16_t>(slot));
      break;
    case 1:
      ProcessShots(game, true, x + 24.0f, y + 12.0f, speed, 0, playerSide,
                   static_cast<int16_t>(slot));
      break;
    case 2:
      ProcessShots(game, true, x + 12.0f, y, 0, -speed, playerSide, static_cast<int16_t>(slot));
      break;
    default:
      ProcessShots(game, true, x + 12.0f, y + 24.0f, 0, speed, playerSide,
                   static_cast<int16_t>(slot));
      break;
  }
}

// Ordinary enemies wander in straight runs along one axis; on arrival they pick the next run.
void ChooseTarget(Game& game, Enemy& enemy) {
  if (std::fabs(std::floor(enemy.X) - std::floor(enemy.TargetX)) >= 3.0f ||
      std::fabs(std::floor(enemy.Y) - std::floor(enemy.TargetY)) >= 3.0f) {
    return;
  }
  if (std::floor(2.0f * game.Rnd.Next()) == 1.0f) {
    enemy.TargetX = std::floor(608.0f * game.Rnd.Next());
    enemy.TargetY = enemy.Y;
  } else {
    enemy.TargetX = enemy.X;
    enemy.TargetY = std::floor(448.0f * game.Rnd.Next());
  }
}

// Each test sees the result of the one before, so an enemy closer than one step to its target
// steps over it and straight back.
void MoveTowardTarget(Enemy& enemy) {
  if (enemy.X < enemy.TargetX) enemy.X += enemy.Speed;
  if (enemy.X > enemy.TargetX) enemy.X -= enemy.Speed;
  if (enemy.Y < enemy.TargetY) enemy.Y += enemy.Speed;
  if (enemy.Y > enemy.TargetY) enemy.Y -= enemy.Speed;
}

void KeepOnField(Enemy& enemy) {
  if (enemy.X < 0) enemy.X = 0;
  if (enemy.X > 608) enemy.X = 608;
  if (enemy.Y < 0) enemy.Y = 0;
  if (enemy.Y > 448) enemy.Y = 448;
}

// Enemies never aim: one pass in twenty, once fully faded in, a shot in a random direction (left
// and down half as often as right and up).
void FireAtRandom(Game& game, int slot) {
  if (std::floor(20.0f * game.Rnd.Next()) != 1.0f || game.Enemies[slot].Fade <= 99) return;
  int direction = static_cast<int>(std::nearbyint(3.0f * game.Rnd.Next()));
  FireShot(game, slot, direction, game.Enemies[slot].Ally);
}

// Bonus "J": touching the ship infects; in level games an infected enemy passes it on to every
// present enemy it overlaps (allies catch it too, but never pass it on).
void CatchAndSpreadInfection(Game& game, int slot) {
  Enemy& enemy = game.Enemies[slot];
  if (BonusInEffect(game, Bonus::J) && !enemy.Ally &&
      Overlapping(enemy.X, enemy.Y, game.PlayerX, game.PlayerY)) {
    enemy.Infected = true;
    enemy.Health = static_cast<float>(enemy.Health - 20.0 / 50.0);
  }
  if (enemy.Infected && !enemy.Ally && !game.SurvivalMode) {
    for (int m = 0; m <= game.EnemyMax; ++m) {
      Enemy& other = game.Enemies[m];
      if (other.Fade > 0 && !other.Infected && Overlapping(other.X, other.Y, enemy.X, enemy.Y)) {
        other.Infected = true;
        other.InfectedByOther = true;
      }
    }
  }
  if (enemy.Infected) {
    enemy.Health = static_cast<float>(enemy.Health - (enemy.InfectedByOther ? 1.0 : 2.0) / 50.0);
  }
}

// Runs in every pass of the fade-out, so the delay and the drift point are drawn anew each time;
// only the first pass of a fully present enemy rewards the player.
void Die(Game& game, Enemy& enemy, int slot) {
  if (enemy.Fade == 100) {
    game.PlayerHealth += 5;
    game.engine.PlaySound("ai_die", 0, 80, 0, 66);
  }
  enemy.Fade -= 1;
  enemy.RespawnDelay = std::floor(150.0f * game.Rnd.Next()) + 150.0f;
  enemy.TargetX = 608.0f * game.Rnd.Next();
  enemy.TargetY = 448.0f * game.Rnd.Next();
  if (slot == kEdgeRunner) {
    enemy.RespawnDelay = game.SurvivalMode ? std::floor(200.0f * game.Rnd.Next()) + 1.0f + 200.0f
                                           : std::floor(100.0f * game.Rnd.Next()) + 1.0f + 100.0f;
    // The edge runner's death lets the next bonus item come.
    game.BonusTaken = false;
  }
}

void HeadFor(Enemy& enemy, float x, float y) {
  enemy.TargetX = x;
  enemy.TargetY = y;
}

// The edge runner circles the border (down the left edge, right along the bottom, up the right
// edge, left along the top) and sprays shots along the edges it is on.
void RunEdges(Game& game) {
  Enemy& runner = game.Enemies[kEdgeRunner];
  Utility& utility = game.utility;
  if (utility.Distance(0, 0, runner.X, runner.Y) < 2) HeadFor(runner, 0, 448);
  if (utility.Distance(0, 448, runner.X, runner.Y) < 15) HeadFor(runner, 608, 448);
  if (utility.Distance(608, 448, runner.X, runner.Y) < 12) HeadFor(runner, 608, 0);
  if (utility.Distance(608, 0, runner.X, runner.Y) < 12) HeadFor(runner, 0, 0);

  if (std::floor(15.0f * game.Rnd.Next()) != 1.0f) return;
  if (runner.Y == 0 || runner.Y == 448) {
    FireShot(game, kEdgeRunner, 0, false);
    FireShot(game, kEdgeRunner, 1, false);
  }
  if (runner.X == 0 || runner.X == 608) {
    FireShot(game, kEdgeRunner, 2, false);
    FireShot(game, kEdgeRunner, 3, false);
  }
}

void UpdatePresentEnemy(Game& game, int slot) {
  Enemy& enemy = game.Enemies[slot];
  if (slot != kEdgeRunner) ChooseTarget(game, enemy);
  if (!BonusInEffect(game, Bonus::C)) MoveTowardTarget(enemy);
  KeepOnField(enemy);
  FireAtRandom(game, slot);
  CatchAndSpreadInfection(game, slot);
  if (enemy.Health <= 0) Die(game, enemy, slot);
  if (enemy.Health > 0 && enemy.Fade < 100) enemy.Fade += 1;
  if (slot == kEdgeRunner) RunEdges(game);
}

}  // namespace

void UpdateEnemies(Game& game) {
  GrowSurvivalTable(game);
  // The table does not change size during the pass, so the bound is read once, after the growth.
  const int last = game.EnemyMax;
  for (int slot = 0; slot <= last; ++slot) {
    if (game.Enemies[slot].Fade <= 0) {
      UpdateAbsentSlot(game, slot);
    } else {
      UpdatePresentEnemy(game, slot);
    }
  }
}
