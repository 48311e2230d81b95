// The game's state as a replay keeps it: taken at a game's first pass, put back before the replay
// plays, and summed up in a digest of the exact bits of every field the rules read (never of the
// drawing), so that the same game gives the same digest on every platform.
#pragma once

#include <cstdint>

#include "core/game.h"
#include "replay/replay_file.h"

GameStart CaptureStart(const Game& game);
// Puts the state back: the game is then at the first pass of the recorded game.
void RestoreStart(const GameStart& start, Game& game);
uint64_t StateDigest(const Game& game);
