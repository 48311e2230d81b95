// The supply of enemies, used by UpdateEnemies: survival growth, empty slots, spawning and the
// level clear.
#pragma once

#include "core/game.h"

// Survival games gain one enemy slot whenever floor(SurvivalClock) is exactly 15 (every ~700
// passes). Runs before the slots are visited; it may enlarge Enemies.
void GrowSurvivalTable(Game& game);

// One pass of an absent slot (Fade <= 0): counts down its respawn delay, then spawns, clears the
// level or waits.
void UpdateAbsentSlot(Game& game, int slot);

// Ordinary enemies (not the edge runner) that are present, alive and not allied.
int CountLivingEnemies(const Game& game);

// Puts a fresh enemy into the slot; slot 4 gets the edge runner.
void SpawnEnemy(Game& game, int slot);

// Ends a level game that has no enemy left, and unlocks the next level when this was the highest.
void ClearLevel(Game& game);
