// `make golden`: records every golden replay again, writes the files and says what changed.
//
//   swayfire_golden HEADLESS GOLDEN_FOLDER
//   swayfire_golden --check RUNNER HEADLESS GOLDEN_FOLDER
// With --check nothing is written: every replay is run through RUNNER (a shell command put before
// the program, "wine" for the Windows build) and must give its golden file byte for byte.
#include <exception>
#include <iostream>
#include <string>

#include "golden.h"

namespace {

int Check(const std::string& runner, const char* headless, const char* folder) {
  int differing = 0;
  for (const golden::Replay& replay : golden::FindReplays(folder)) {
    const auto file = replay.keys.parent_path() / (replay.name + ".golden");
    auto difference =
        golden::Compare(golden::ReadLines(file), golden::Record(replay, headless, runner));
    if (!difference) {
      std::cout << replay.name << ": identical\n";
      continue;
    }
    ++differing;
    std::cout << replay.name << ": differs from line " << difference->line << " ("
              << difference->pass << ")\n  golden: " << difference->expected
              << "\n  now:    " << difference->actual << "\n";
  }
  return differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--check") {
    try {
      return Check(argv[2], argv[3], argv[4]);
    } catch (const std::exception& error) {
      std::cerr << "swayfire_golden: " << error.what() << "\n";
      return 1;
    }
  }
  if (argc != 3) {
    std::cerr << "usage: swayfire_golden HEADLESS GOLDEN_FOLDER\n";
    return 2;
  }
  try {
    int changed = 0;
    for (const golden::Replay& replay : golden::FindReplays(argv[2])) {
      const auto file = replay.keys.parent_path() / (replay.name + ".golden");
      std::vector<std::string> lines = golden::Record(replay, argv[1]);
      std::vector<std::string> old = golden::ReadLines(file);
      auto difference = golden::Compare(old, lines);
      if (!difference) {
        std::cout << replay.name << ": unchanged\n";
        continue;
      }
      ++changed;
      golden::WriteLines(file, lines);
      if (old.empty()) {
        std::cout << replay.name << ": new, " << lines.size() << " lines\n";
      } else {
        std::cout << replay.name << ": changed from line " << difference->line << " ("
                  << difference->pass << "), " << difference->passesDiffering
                  << " passes differ\n  was: " << difference->expected
                  << "\n  now: " << difference->actual << "\n";
      }
    }
    std::cout << changed << " golden file(s) written; review them with git diff tests/golden\n";
  } catch (const std::exception& error) {
    std::cerr << "swayfire_golden: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
