// The properties of the replay reader, checked on one text. Shared by the libFuzzer target
// (fuzz/replay_fuzz.cpp) and the regression test that replays every committed corpus and crash
// file (tests/fuzz_regression_test.cpp).
//
//  1. Any text is either read or refused with a ReplayError naming a line of the text (or 0, the
//     file as a whole); nothing else is thrown and nothing crashes.
//  2. What is read is playable: the tables have the sizes the game's code indexes, events come in
//     the order of their passes within the game, a clock is set at the first pass, and there is a
//     digest for the start, every 60th pass and the end.
//  3. What is read, written out again, reads back and writes out as the very same text.
#pragma once

#include <exception>
#include <string>

#include "replay/replay_file.h"

namespace fuzzcheck {

inline constexpr const char* kFuzzGameVersion = "1.0";

inline int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines + (text.empty() || text.back() == '\n' ? 0 : 1);
}

// "" when the text keeps every property, else what went wrong.
inline std::string CheckReplay(const std::string& text) {
  Replay replay;
  try {
    replay = ReadReplay(text, kFuzzGameVersion);
  } catch (const ReplayError& error) {
    if (error.line() < 0 || error.line() > CountLines(text) + 1) {
      return std::string("refused naming a line that is not there: ") + error.what();
    }
    return "";
  } catch (const std::exception& error) {
    return std::string("threw something else than a ReplayError: ") + error.what();
  }
  const GameStart& s = replay.start;
  if (s.enemies.size() < kEdgeRunner + 1u || s.enemies.size() > 32768u) return "enemy table size";
  if (s.shots.size() != static_cast<size_t>(kShotCount)) return "shot table size";
  if (s.level < 1 || s.level > kMaxLevel || s.bonusType < 0 || s.bonusType >= kBonusTypeCount) {
    return "a level or bonus type out of range";
  }
  int64_t pass = 0;
  for (const ReplayEvent& event : replay.events) {
    if (event.pass < pass || event.pass < 1 || event.pass > replay.passes) return "event order";
    pass = event.pass;
  }
  if (replay.events.empty() || replay.events.front().kind != ReplayEvent::Kind::Clock) {
    return "no clock at the first pass";
  }
  if (replay.digests.size() != DigestCount(replay.passes)) return "digest count";
  const std::string written = WriteReplay(replay);
  try {
    const std::string again = WriteReplay(ReadReplay(written, kFuzzGameVersion));
    if (again != written) return "what was written does not write out the same again";
  } catch (const ReplayError& error) {
    return std::string("what was written does not read back: ") + error.what();
  }
  return "";
}

}  // namespace fuzzcheck
