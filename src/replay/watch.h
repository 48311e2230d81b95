// Verifying a replay without a window (swayfire-headless --replay): the game started as usual
// through a ReplayPlayback, then the recorded passes.
#pragma once

#include <iosfwd>
#include <string>

#include "core/game.h"
#include "replay/playback.h"
#include "replay/replay_file.h"

// Reads a replay file of this version of the game. False, with `error` naming the file, the line
// and what is wrong, when it cannot be played.
bool LoadReplay(const std::string& path, Replay& replay, std::string& error);

// Plays every pass as fast as it can and prints the mode, the start level, the final score and
// the passes to `out`. Returns 0 when every digest matched; otherwise says on `err` after which
// pass the state first differed and returns 1.
int VerifyReplay(Game& game, ReplayPlayback& playback, const std::string& name, std::ostream& out,
                 std::ostream& err);
