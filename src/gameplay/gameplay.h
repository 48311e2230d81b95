// The simulation of one game pass: the ship, the shots, the enemies and their supply, the bonus
// item; the start of a new game and the keys that control a running one.
#pragma once

#include <cstdint>

#include "core/game.h"

// Resets the state for a new game (survival or level, as SurvivalMode says) and starts playing.
void NewGame(Game& game);
// Pause, Escape, the screenshot key and the health keys of a running game.
void HandleGameKeys(Game& game);

// Moves the ship, fires, fades it in and out, and ends the game when it has faded out.
void UpdatePlayer(Game& game);
// With Create: adds one shot. Without: moves every shot one pass and resolves what it hits.
void ProcessShots(Game& game, bool Create, float X, float Y, float SpeedX, float SpeedY,
                  bool PlayerSide, int16_t Owner);
// Survival growth, enemy slots (moving, firing, infection, dying, respawning), the level clear.
void UpdateEnemies(Game& game);
// Places, collects and times the bonus items.
void UpdateBonus(Game& game);
