// swayfire: the game in a real window, on SDL2.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "engine/folders.h"
#include "engine/ini_utility.h"
#include "engine/paths.h"
#include "engine/sdl/sdl_audio.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_music.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/sdl_window.h"
#include "shell/game.h"
#include "shell/shell.h"

int main() {
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

    // Declared in this order so they go in the reverse one: the game before the engine, the
    // engine before the sound device and the window, all of them before SDL.
    Paths paths(place.folders.app, place.folders.data);
    SdlWindow window;
    SdlAudio audio;
    SdlEngine engine(window, audio, paths);
    SdlMusicPlayer music(audio, paths);
    SdlPlatform platform(window, audio, paths.AppFolder());
    if (!place.error.empty()) {
      platform.ReportFatal(place.error);
      return 1;
    }
    const std::string problem = PrepareUserFolder(place.folders);
    if (!problem.empty()) std::fprintf(stderr, "swayfire: warning: %s\n", problem.c_str());

    IniUtility utility(paths);
    utility.TellPlayerThrough(platform);
    Game game(engine, utility, music, platform);
    return Main(game);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "swayfire: error: %s\n", error.what());
    return 1;
  }
}
