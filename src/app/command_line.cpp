#include "command_line.h"

#include <ostream>

#ifndef SWAYFIRE_VERSION_MAJOR
#error "SWAYFIRE_VERSION_MAJOR comes from the project version in CMakeLists.txt"
#endif

std::string GameVersion() {
  return std::to_string(SWAYFIRE_VERSION_MAJOR) + "." + std::to_string(SWAYFIRE_VERSION_MINOR);
}

CommandLineOutcome ReadCommandLine(const CommandLine& line, int argc, const char* const* argv,
                                   std::ostream& out, std::ostream& err) {
  auto refuse = [&](const std::string& problem) {
    err << line.program << ": " << problem << "\n" << line.usage;
    return CommandLineOutcome{false, 2};
  };
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      out << line.usage;
      return {false, 0};
    }
    if (argument == "--version") {
      out << line.program << " " << GameVersion() << "\n";
      return {false, 0};
    }
    const ValueOption* option = nullptr;
    for (const ValueOption& candidate : line.options) {
      if (candidate.name == argument) option = &candidate;
    }
    if (option == nullptr) return refuse("unknown option " + argument);
    if (i + 1 >= argc) return refuse("missing value after " + argument);
    const std::string problem = option->take(argv[++i]);
    if (!problem.empty()) return refuse(problem);
  }
  return {};
}
