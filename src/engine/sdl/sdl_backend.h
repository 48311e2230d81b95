// The desktop backend in one piece, wired as the game runs it: the window, the sound device, the
// Engine, the MusicPlayer, the Platform and the INI Utility over one set of folders. The game, the
// benchmarks and the tests all take it from here. SDL itself (SdlSystem) is started before it and
// stopped after it.
#pragma once

#include <cstdlib>
#include <string>
#include <utility>

#include "engine/sdl/sdl_audio.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_music.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/sdl_window.h"
#include "io/ini_utility.h"
#include "io/paths.h"

struct SdlBackend {
  // The player's files in `folders.AppFolder()`, the game's own files read from its data folder.
  explicit SdlBackend(Paths folders)
      : paths(std::move(folders)),
        engine(window, audio, paths),
        musicPlayer(audio, paths),
        platform(window, audio, paths.AppFolder()),
        utility(paths) {}
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  // Declared in this order so they go in the reverse one: the engine before the sound device and
  // the window.
  Paths paths;
  SdlWindow window;
  SdlAudio audio;
  SdlEngine engine;
  SdlMusicPlayer musicPlayer;
  SdlPlatform platform;
  IniUtility utility;
};

// For tests and benchmarks: SDL on a window that is never shown, drawn by the software renderer
// straight in memory (no GL context behind it), with this audio driver ("dummy": no sound card).
// Call before SdlSystem starts SDL.
inline void UseOffscreenSdl(const char* audioDriver = "dummy") {
  SDL_setenv("SDL_VIDEODRIVER", "offscreen", 1);
  SDL_setenv("SDL_RENDER_DRIVER", "software", 1);
  SDL_setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
  SDL_setenv("SDL_AUDIODRIVER", audioDriver, 1);
}
