// The command line of the game's programs: --help, --version, options that take a value, and one
// error line plus the usage on stderr (exit status 2) for anything else. A program lists its
// options; adding one is one more entry.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

struct ValueOption {
  std::string name;  // "--trace"
  // Takes the value that follows the name; returns what is wrong with it, or "" when it fits.
  std::function<std::string(const std::string& value)> take;
};

struct CommandLine {
  std::string program;  // "swayfire": the start of every message and of the version line
  std::string usage;    // what --help prints, ending with a newline
  std::vector<ValueOption> options;
};

// What the program does after reading its arguments.
struct CommandLineOutcome {
  bool run = true;  // false: the program stops at once with `status`
  int status = 0;
};

// Reads argv[1..argc): --help (-h) prints the usage to `out`, --version prints
// "PROGRAM MAJOR.MINOR" to `out` (both stop with 0); an unknown option, a missing value or a value
// an option refuses prints "PROGRAM: PROBLEM" and the usage to `err` (stop with 2).
CommandLineOutcome ReadCommandLine(const CommandLine& line, int argc, const char* const* argv,
                                   std::ostream& out, std::ostream& err);

// The game's version, "1.0", from the project version.
std::string GameVersion();
