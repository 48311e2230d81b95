// The two ways a replay is played: watched in the window (swayfire --replay) and verified without
// one (swayfire-headless --replay). Both start the game as usual through a ReplayPlayback, then
// play the recorded passes.
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

// Plays the replay in the window at the game's pace. The keys never reach the game: Space pauses,
// F held plays four times faster, Escape ends it. At the end the caption shows the final score
// (or the pass where the replay stopped matching) until Escape or the window is closed. `window`
// is the window's own platform and `keys` its own engine, beneath the playback. Returns 0 when
// every digest matched, 1 otherwise.
int WatchReplay(Game& game, ReplayPlayback& playback, Engine& keys, Platform& window,
                const std::string& name, std::ostream& out, std::ostream& err);
