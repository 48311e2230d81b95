// swayfire-headless: the real game (start-up, main loop, shutdown) over the recording backend.
// No window, no sound, a virtual clock; keys from a script; every engine call in a trace.
//
//   swayfire-headless [--folder DIR] [--input FILE] [--trace FILE] [--passes N] [--seed N]
//                     [--time SECONDS] [--help] [--version]
//   swayfire-headless --replay FILE [--folder DIR] [--trace FILE]
#include <charconv>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "command_line.h"
#include "core/game.h"
#include "engine/recording/recording.h"
#include "io/paths.h"
#include "replay/playback.h"
#include "replay/watch.h"
#include "shell/shell.h"

namespace {

struct Arguments {
  std::string folder = ExecutableFolder();
  std::string input;
  std::string trace;
  std::string replay;
  int64_t passes = 3600;
  uint64_t seed = 1;
  double time = 43200;
};

const char* const kUsage =
    "usage: swayfire-headless [--folder DIR] [--input FILE] [--trace FILE] [--passes N] "
    "[--seed N]\n"
    "                         [--time SECONDS] [--help] [--version]\n"
    "       swayfire-headless --replay FILE [--folder DIR] [--trace FILE]\n"
    "Runs the game without a window or sound, on a virtual clock, keys from a script.\n"
    "With --replay, plays a recorded game as fast as it can and checks it against the recording:\n"
    "exit status 0 when it plays as recorded, 1 when it does not, 2 when it cannot be read.\n";

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
  auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// The trace's file, when --trace names one. A trace that did not reach its file (a full disk)
// must not pass for a whole one, so it is checked when closed.
class TraceFile {
 public:
  // False, with a message, when the file cannot be made.
  bool Open(const std::string& path, RecordingBackend& backend) {
    path_ = path;
    if (path_.empty()) return true;
    file_.open(path_, std::ios::binary | std::ios::trunc);
    if (!file_) {
      std::cerr << "swayfire-headless: cannot write trace " << path_ << "\n";
      return false;
    }
    backend.trace().SetStream(&file_);
    return true;
  }
  // The run's status, or 1 for a run that passed but left its trace incomplete.
  int Close(int status) {
    if (path_.empty()) return status;
    file_.close();
    if (file_) return status;
    std::cerr << "swayfire-headless: cannot write trace " << path_ << ": the trace is incomplete\n";
    return status == 0 ? 1 : status;
  }

 private:
  std::string path_;
  std::ofstream file_;
};

// --replay: the recorded game on the recording backend, reading no file of the folder but the
// game's pictures and sounds.
int Verify(const Arguments& args) {
  Replay replay;
  std::string error;
  if (!LoadReplay(args.replay, replay, error)) {
    std::cerr << "swayfire-headless: " << error << "\n";
    return 2;
  }
  RecordingBackend backend(RecordingBackend::Options{args.folder, args.time, false});
  TraceFile trace;
  if (!trace.Open(args.trace, backend)) return 2;
  ReplayPlayback playback(backend.engine(), backend.utility(), backend.platform(),
                          std::move(replay), false);
  Game game(playback.engine(), playback.utility(), backend.musicPlayer(), playback.platform());
  return trace.Close(VerifyReplay(game, playback, args.replay, std::cout, std::cerr));
}

}  // namespace

// Whatever goes wrong (even memory running out) ends the run with a message, never silently.
int main(int argc, char** argv) try {
  Arguments args;
  auto text = [](std::string& into) {
    return [&into](const std::string& value) {
      into = value;
      return std::string();
    };
  };
  const CommandLine line{
      "swayfire-headless",
      kUsage,
      {{"--folder", text(args.folder)},
       {"--input", text(args.input)},
       {"--trace", text(args.trace)},
       {"--replay", text(args.replay)},
       {"--passes",
        [&](const std::string& value) {
          return ParseNumber(value, args.passes) && args.passes >= 1
                     ? std::string()
                     : "--passes needs a whole number of at least 1";
        }},
       {"--seed",
        [&](const std::string& value) {
          return ParseNumber(value, args.seed) ? std::string() : "--seed needs a whole number";
        }},
       {"--time", [&](const std::string& value) {
          return ParseNumber(value, args.time) && args.time >= 0 && args.time < 86400
                     ? std::string()
                     : "--time needs seconds after midnight, 0 to 86399";
        }}}};
  const CommandLineOutcome outcome = ReadCommandLine(line, argc, argv, std::cout, std::cerr);
  if (!outcome.run) return outcome.status;
  while (args.folder.size() > 1 && args.folder.back() == '/') args.folder.pop_back();

  if (!args.replay.empty()) return Verify(args);

  std::vector<ScriptEvent> script;
  if (!args.input.empty()) {
    std::error_code ec;
    if (std::filesystem::is_directory(args.input, ec)) {
      std::cerr << "swayfire-headless: the input script " << args.input << " is a folder\n";
      return 2;
    }
    std::ifstream in(args.input);
    if (!in) {
      std::cerr << "swayfire-headless: cannot read input script " << args.input << "\n";
      return 2;
    }
    try {
      script = ParseInputScript(in);
    } catch (const ScriptError& error) {
      std::cerr << "swayfire-headless: " << args.input << ": " << error.what() << "\n";
      return 2;
    }
  }

  RecordingBackend backend(RecordingBackend::Options{args.folder, args.time, false});
  TraceFile trace;
  if (!trace.Open(args.trace, backend)) return 2;
  backend.SetScript(std::move(script), args.passes);

  Game game(backend.engine(), backend.utility(), backend.musicPlayer(), backend.platform());
  game.Rnd.Seed(args.seed);
  return trace.Close(Main(game));
} catch (const std::exception& error) {
  std::cerr << "swayfire-headless: error: " << error.what() << "\n";
  return 1;
}
