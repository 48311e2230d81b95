#include <cmath>

#include "core/numbers.h"
#include "gameplay/boxes.h"
#include "gameplay/gameplay.h"

namespace {

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
    ProcessShots(game, true, -8, y, 6, 0, true, kPlayerOwner);
    ProcessShots(game, true, 640, y, -6, 0, true, kPlayerOwner);
    ProcessShots(game, true, -8, y, 3, 0, true, kPlayerOwner);
    ProcessShots(game, true, 640, y, -3, 0, true, kPlayerOwner);
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
    case Bonus::A:
      time = RandomTime(game, 750, 750);
      break;
    case Bonus::B:
      for (int i = 0; i <= game.EnemyMax; ++i) game.Enemies[i].Speed /= 3.0f;
      break;
    case Bonus::C:
      time = RandomTime(game, 350, 750);
      break;
    case Bonus::D:
      if (game.SurvivalMode) {
        time = RandomTime(game, 500, 1000);
      } else {
        int16_t base = ToInt16(game.Level * 20 + 200);
        time = RandomTime(game, 200, base);
      }
      break;
    case Bonus::E:
      time = RandomTime(game, 250, 750);
      break;
    case Bonus::F:
      time = game.SurvivalMode ? RandomTime(game, 750, 750) : RandomTime(game, 250, 650);
      break;
    case Bonus::X:
      time = game.SurvivalMode ? RandomTime(game, 250, 750) : RandomTime(game, 250, 250);
      break;
    case Bonus::Y:
      game.PlayerHealth += 55;
      break;
    case Bonus::G:
      time = RandomTime(game, 400, 750);
      break;
    case Bonus::H:
      FireWalls(game);
      break;
    case Bonus::I:
      TurnAlly(game);
      break;
    case Bonus::J:
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
    } else if (i != Bonus::E) {
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
