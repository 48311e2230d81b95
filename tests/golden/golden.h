// Golden replays: scripted headless games whose whole trace is pinned in a committed file, so any
// change to what the game does (a drawing call, a sound, a score written) is caught in one place.
//
// Each replay is a key script tests/golden/NAME.keys (the headless runner's input format) whose
// first line "#! seed=N passes=N [time=SECONDS] [scores=FILE]" gives the run's options; FILE, when
// given, is copied in as the score file before the game starts. Its expected result is
// tests/golden/NAME.golden: the start-up calls, then for every pass a line with the number of calls
// and a digest of all of them followed by the pass's notable calls (sounds, score-file reads and
// writes, keys that are down, music), the whole pass every 600 passes, then the exit status, what
// the game said on the standard error and the files it left.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace golden {

struct Replay {
  std::string name;  // NAME of NAME.keys
  std::filesystem::path keys;
  uint64_t seed = 1;
  int64_t passes = 600;
  double time = 43200;
  std::string scores;  // a file beside the script, or empty for a first run
};

// Test names and messages show a replay by its name.
inline void PrintTo(const Replay& replay, std::ostream* out) {
  *out << replay.name;
}

// Every replay in a folder, sorted by name.
std::vector<Replay> FindReplays(const std::filesystem::path& folder);

// Runs the headless program on a replay in a scratch folder and returns the golden text. A runner
// (a shell command such as "wine") goes before the program: the Windows build under Wine.
std::vector<std::string> Record(const Replay& replay, const std::filesystem::path& headless,
                                const std::string& runner = "");

// Makes the application folder a replay starts from: the game's files, its options and its
// starting score file (if any).
void PrepareFolder(const Replay& replay, const std::filesystem::path& app);
// The headless program's arguments for a replay run in the folder `app`, without the trace.
std::string Arguments(const Replay& replay, const std::filesystem::path& app);

// Folds a whole trace (one line per engine call, "# pass N" before each pass) into golden lines.
std::vector<std::string> Fold(const std::vector<std::string>& trace);

std::vector<std::string> ReadLines(const std::filesystem::path& file);
void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines);

struct Difference {
  size_t line = 0;   // 1-based line of the golden file
  std::string pass;  // "start-up", "pass N" or the section after the passes
  std::string expected;
  std::string actual;
  int64_t passesDiffering = 0;  // pass headers that differ
};
std::optional<Difference> Compare(const std::vector<std::string>& expected,
                                  const std::vector<std::string>& actual);
// What differs, and a command that runs the same game again with its whole trace: `start` is a
// folder prepared as the run's own was (PrepareFolder), copied afresh before each run.
std::string Describe(const Replay& replay, const Difference& difference,
                     const std::filesystem::path& headless, const std::filesystem::path& start);

}  // namespace golden
