#include <cmath>
#include <string>
#include <vector>

#include "core/numbers.h"
#include "gameplay/boxes.h"
#include "gameplay/gameplay.h"

namespace {

constexpr float kShotSize = 8;
constexpr float kShipSize = 32;
constexpr float kEnemySize = 32;
constexpr float kBonusSize = 16;

// One of the five hit sounds, picked by a fresh random number.
void PlayHitSound(Game& game) {
  const float r = game.Rnd.Next();
  const int n = static_cast<int>(std::floor(r * 5.0f)) + 1;
  game.engine.PlaySound("hit_0" + std::to_string(n), 0, 80, 0, 0);
}

void CreateShot(Game& game, float X, float Y, float SpeedX, float SpeedY, bool PlayerSide,
                int16_t Owner) {
  // A ship that has faded out cannot fire; enemies always can.
  if (PlayerSide && !(game.PlayerFade > 0)) return;

  Shot* free = nullptr;
  for (Shot& shot : game.Shots) {
    if (!shot.Active) {
      free = &shot;
      break;
    }
  }
  if (free == nullptr) return;  // a full table drops the shot without a sound

  if (PlayerSide) {
    game.engine.PlaySound("fire2", 0, 90, 11, 0);
  } else {
    game.engine.PlaySound("fire", 0, 80, 22, 0);
  }

  free->Active = true;
  free->X = X;
  free->Y = Y;
  free->SpeedX = SpeedX;
  free->SpeedY = SpeedY;
  free->Hostile = PlayerSide ? 0.0f : 1.0f;
  // An ally fires with its own index; its shots are kept apart from the player's, which score.
  free->Owner = (PlayerSide && Owner < kAllyOwner) ? static_cast<float>(kAllyOwner)
                                                   : static_cast<float>(Owner);
}

// Player-side shots push the bonus item 8 pixels per axis towards the ship's centre.
void DragBonus(Game& game) {
  float target = game.PlayerX + 16.0f;
  target = target - 8.0f;
  if (game.BonusX + 8.0f > target) game.BonusX = game.BonusX - 8.0f;
  target = game.PlayerX + 16.0f;
  target = target - 8.0f;
  if (game.BonusX + 8.0f < target) game.BonusX = game.BonusX + 8.0f;

  target = game.PlayerY + 16.0f;
  target = target - 8.0f;
  if (game.BonusY + 8.0f > target) game.BonusY = game.BonusY - 8.0f;
  target = game.PlayerY + 16.0f;
  target = target - 8.0f;
  if (game.BonusY + 8.0f < target) game.BonusY = game.BonusY + 8.0f;
}

void HitShip(Game& game, Shot& shot) {
  if (!BoxesOverlap(shot.X, shot.Y, kShotSize, kShotSize, game.PlayerX, game.PlayerY, kShipSize,
                    kShipSize)) {
    return;
  }
  // The ship is unhittable under "X" and while it is not (yet) fully there.
  if (BonusInEffect(game, Bonus::X) || !(game.PlayerFade > 90)) return;

  shot.Active = false;
  PlayHitSound(game);
  const float r = game.Rnd.Next();
  const float damage = std::floor(r * 5.0f) + 5.0f;
  game.PlayerHealth = game.PlayerHealth - damage;
  if (game.PlayerHealth < 0) game.PlayerHealth = 0;
}

// The enemies a shot can hit in this pass: only enemies that have fully faded in can be hit.
// Nothing a shot does changes where an enemy is or how far it has faded, so the list is made once
// a pass.
void FindTargets(Game& game) {
  game.ShotTargets.clear();
  for (size_t j = 0; j < game.Enemies.size(); ++j) {
    if (game.Enemies[j].Fade > 99) game.ShotTargets.push_back(j);
  }
}

void HitEnemies(Game& game, Shot& shot) {
  // A hit only frees the shot; it stays where it is for the rest of the list.
  const Box edges = MakeBox(shot.X, shot.Y, kShotSize, kShotSize);
  for (const size_t target : game.ShotTargets) {
    Enemy& enemy = game.Enemies[target];
    if (!BoxesOverlap(edges, MakeBox(enemy.X, enemy.Y, kEnemySize, kEnemySize))) continue;
    // Never hit by its own shots.
    if (shot.Owner == static_cast<float>(target)) continue;

    if (shot.Hostile == 1 && !enemy.Ally && !BonusInEffect(game, Bonus::D)) continue;
    if (shot.Hostile == 0 && enemy.Ally) continue;  // player-side shots pass through allies

    shot.Active = false;
    const float r = game.Rnd.Next();
    const float damage = Nearest(r * 5.0f + 5.0f);
    enemy.Health = enemy.Health - damage;
    PlayHitSound(game);
    if (shot.Hostile == 0 && shot.Owner == kPlayerOwner) {
      // Score is 16 bits: a long game holds at 32767 instead of wrapping.
      game.Score = ToInt16(static_cast<double>(game.Score) + damage);
    }
  }
}

// Moves every live shot one pass and resolves what it hits. A shot freed by one step still goes
// through the steps after it in this pass.
void AdvanceShots(Game& game) {
  const bool slowEnemyShots = BonusInEffect(game, Bonus::G);
  FindTargets(game);
  const size_t count = game.Shots.size();
  for (size_t i = 0; i < count; ++i) {
    Shot& shot = game.Shots[i];
    if (!shot.Active) continue;

    if (slowEnemyShots && shot.Hostile > 0) {
      shot.X = shot.X + shot.SpeedX / 3.0f;
      shot.Y = shot.Y + shot.SpeedY / 3.0f;
    } else {
      shot.X = shot.X + shot.SpeedX;
      shot.Y = shot.Y + shot.SpeedY;
    }

    if (!(shot.X >= -8 && shot.X <= 640 && shot.Y >= -8 && shot.Y <= 480)) shot.Active = false;

    // The stored item position counts whether or not an item is on the field.
    if (shot.Hostile == 0 && BoxesOverlap(shot.X, shot.Y, kShotSize, kShotSize, game.BonusX,
                                          game.BonusY, kBonusSize, kBonusSize)) {
      DragBonus(game);
    }

    if (shot.Hostile > 0) HitShip(game, shot);
    HitEnemies(game, shot);
  }
}

}  // namespace

void ProcessShots(Game& game, bool Create, float X, float Y, float SpeedX, float SpeedY,
                  bool PlayerSide, int16_t Owner) {
  if (Create) {
    CreateShot(game, X, Y, SpeedX, SpeedY, PlayerSide, Owner);
  } else {
    AdvanceShots(game);
  }
}
