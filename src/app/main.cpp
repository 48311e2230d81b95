// swayfire: the game in a real window, on SDL2.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "command_line.h"
#include "core/game.h"
#include "engine/sdl/sdl_backend.h"
#include "engine/sdl/sdl_platform.h"
#include "io/folders.h"
#include "io/paths.h"
#include "replay/recorder.h"
#include "replay/replay_store.h"
#include "replay/watch.h"
#include "shell/shell.h"

namespace {

const char* const kUsage =
    "usage: swayfire [--replay FILE] [--help] [--version]\n"
    "A small arcade shooter: move with the arrow keys, fire with A, D, W, S.\n"
    "\n"
    "  --replay FILE  watch a recorded game (Space pauses, F held is faster, Escape ends)\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "Files: opt.ini (options: FS=True full screen, SND=True sound), the scores and replays/, in\n"
    "~/.local/share/swayfire/ ($XDG_DATA_HOME/swayfire/), or beside the game when it is portable.\n"
    "Keys, bonus items and scores: README.md (/usr/share/doc/swayfire/README.md) and man 6 "
    "swayfire.\n";

}  // namespace

int main(int argc, char** argv) {
  std::string replayFile;
  const CommandLine line{"swayfire", kUsage, {{"--replay", [&](const std::string& value) {
                                                 replayFile = value;
                                                 return std::string();
                                               }}}};
  const CommandLineOutcome outcome = ReadCommandLine(line, argc, argv, std::cout, std::cerr);
  if (!outcome.run) return outcome.status;
  // A replay that cannot be played is told before any window opens.
  Replay replay;
  if (!replayFile.empty()) {
    std::string error;
    if (!LoadReplay(replayFile, replay, error)) {
      std::fprintf(stderr, "swayfire: %s\n", error.c_str());
      return 2;
    }
  }
  try {
    SdlSystem system;
    if (!system.Ok()) {
      std::fprintf(stderr,
                   "swayfire: error: cannot open the game window: %s\n"
                   "swayfire: the game needs a graphical desktop (is DISPLAY or WAYLAND_DISPLAY "
                   "set?)\n",
                   system.Error().c_str());
      return 1;
    }
    // Beside the executable when it can keep the player's files there, else the installed data
    // and the player's own folder.
    const std::string exeFolder = ExecutableFolder();
    const FolderChoice place = ChooseFolders(
        exeFolder, InstalledDataFolders(exeFolder), [] { return UserFolder(std::getenv); },
        FolderProbe::Disk());

    // The game goes before the backend, and the backend before SDL.
    SdlBackend backend(Paths(place.folders.app, place.folders.data));
    if (!place.error.empty()) {
      backend.platform.ReportFatal(place.error);
      return 1;
    }
    if (!replayFile.empty()) {
      // Watching writes nothing: not the scores, not the options, not a replay.
      ReplayPlayback playback(backend.engine, backend.utility, backend.platform, std::move(replay),
                              true);
      Game game(playback.engine(), playback.utility(), backend.musicPlayer, playback.platform());
      return WatchReplay(game, playback, backend.engine, backend.platform,
                         FileName(FilePath(replayFile).filename()), std::cout, std::cerr);
    }
    const std::string problem = PrepareUserFolder(place.folders);
    if (!problem.empty()) std::fprintf(stderr, "swayfire: warning: %s\n", problem.c_str());

    backend.utility.TellPlayerThrough(backend.platform);
    // Every game played is recorded, and kept beside the score file.
    const ReplayStore store(place.folders.app + "/files");
    GameRecorder recorder(backend.engine, backend.utility, backend.platform,
                          [&store](const Replay& game, const std::string& recordKey) {
                            store.Keep(game, recordKey);
                          });
    Game game(recorder.engine(), recorder.utility(), backend.musicPlayer, recorder.platform());
    recorder.Attach(game);
    return Main(game);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "swayfire: error: %s\n", error.what());
    return 1;
  }
}
