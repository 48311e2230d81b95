#include <cmath>

#include "gameplay/boxes.h"
#include "gameplay/gameplay.h"
#include "shell/numbers.h"

namespace {

constexpr int kEdgeRunner = 4;

// Bonus types by index.
enum BonusKind {
  kMarkEnemies = 0,  // "A"
  kSlowEnemies = 1,  // "B"
  kStandStill = 2,   // "C"
  kCrossFire = 3,    // "D"
  kAutoFire = 4,     // "E"
  kFourWay = 5,      // "F"
  kUntouchable = 6,  // "X"
  kHealth = 7,       // "Y"
  kSlowShots = 8,    // "G"
  kWallOfShots = 9,  // "H"
  kTurnAlly = 10,    // "I"
  kInfection = 11,   // "J"
};

// Int(Rnd x range) + base: a whole number of passes from base up to base + range - 1.
float RandomTime(Game& game, float range, float base) {
  return std::floor(game.Rnd.Next() * range) + base;
}

// One item per life of the edge runner: it appears once the runner is gone for more than 100
// passes, if nothing is on the field and nothing has been taken since the runner last died.
void PlaceItem(Game& game) {
  if (!(game.Enemies[kEdgeRunner].RespawnDelay > 100) || game.BonusVisible || game.BonusTaken) {
    return;
  }
  game.BonusVisible = true;
  game.Rnd.ReseedFromTime(game.platform.TimeOfDay());
  game.BonusX = game.Rnd.Next() * 560.0f + 40.0f;
  game.Rnd.ReseedFromTime(game.platform.TimeOfDay());
  game.BonusY = game.Rnd.Next() * 400.0f + 40.0f;
  game.BonusType = static_cast<int16_t>(std::floor(game.Rnd.Next() * 12.0f));
}

// Two rows of fast and two of slow player shots every 16 pixels, entering from both sides.
void FireWalls(Game& game) {
  for (int i = 0; i <= 28; ++i) {
    float y = static_cast<float>(i * 16 + 16);
    ProcessShots(game, true, -8, y, 6, 0, true, 999);
    ProcessShots(game, true, 640, y, -6, 0, true, 999);
    ProcessShots(game, true, -8, y, 3, 0, true, 999);
    ProcessShots(game, true, 640, y, -3, 0, true, 999);
  }
}

// The first present, living, ordinary enemy that is not yet an ally changes sides.
void TurnAlly(Game& game) {
  for (int i = 0; i <= game.EnemyMax; ++i) {
    Enemy& enemy = game.Enemies[i];
    if (enemy.Fade > 0 && enemy.Health > 0 && i != kEdgeRunner && !enemy.Ally) {
      enemy.Ally = true;
      enemy.Health = 250;
      return;
    }
  }
}

// Timed types get a fresh time (collecting one still in effect restarts it); the others act now.
void ApplyItem(Game& game, int type) {
  float& time = game.BonusTypes[type].Time;
  switch (type) {
    case kMarkEnemies:
      time = RandomTime(game, 750, 750);
      break;
    case kSlowEnemies:
      for (int i = 0; i <= game.EnemyMax; ++i) game.Enemies[i].Speed /= 3.0f;
      break;
    case kStandStill:
      time = RandomTime(game, 350, 750);
      break;
    case kCrossFire:
      if (game.SurvivalMode) {
        time = RandomTime(game, 500, 1000);
      } else {
        int16_t base = ToInt16(game.Level * 20 + 200);
        time = RandomTime(game, 200, base);
      }
      break;
    case kAutoFire:
      time = RandomTime(game, 250, 750);
      break;
    case kFourWay:
      time = game.SurvivalMode ? RandomTime(game, 750, 750) : RandomTime(game, 250, 650);
      break;
    case kUntouchable:
      time = game.SurvivalMode ? RandomTime(game, 250, 750) : RandomTime(game, 250, 250);
      break;
    case kHealth:
      game.PlayerHealth += 55;
      break;
    case kSlowShots:
      time = RandomTime(game, 400, 750);
      break;
    case kWallOfShots:
      FireWalls(game);
      break;
    case kTurnAlly:
      TurnAlly(game);
      break;
    case kInfection:
      time = RandomTime(game, 400, 400);
      break;
    default:
      break;
  }
}

// Only an item at full opacity is taken, and only when the ship's box really overlaps it.
void CollectItem(Game& game) {
  if (game.BonusFade != 100 || !game.BonusVisible || game.BonusTaken) return;
  if (!BoxesOverlap(game.PlayerX, game.PlayerY, 32, 32, game.BonusX, game.BonusY, 16, 16)) return;
  game.engine.PlaySound("bonus", 0, 90, 0, 44);
  game.BonusVisible = false;
  game.BonusTaken = true;
  game.BonusTypes[game.BonusType].Active = true;
  ApplyItem(game, game.BonusType);
}

// Every type in effect loses a pass, except auto-fire, whose time the shots spend. Types that
// acted at once have no time and end in the pass that collected them.
void RunDownTimers(Game& game) {
  for (int i = 0; i < kBonusTypeCount; ++i) {
    BonusState& bonus = game.BonusTypes[i];
    if (!bonus.Active) continue;
    if (!(bonus.Time > 0)) {
      bonus.Active = false;
    } else if (i != kAutoFire) {
      bonus.Time -= 1;
    }
  }
}

}  // namespace

void UpdateBonus(Game& game) {
  PlaceItem(game);
  CollectItem(game);
  RunDownTimers(game);
}
