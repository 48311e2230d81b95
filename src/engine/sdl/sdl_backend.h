// The desktop backend in one piece, wired as the game runs it: the window, the sound device, the
// Engine, the MusicPlayer, the Platform and the INI Utility over one set of folders. The game, the
// benchmarks and the tests all take it from here. SDL itself (SdlSystem) is started before it and
// stopped after it.
#pragma once

#include <cstdlib>
#include <string>
#include <utility>

#include "engine/ini_utility.h"
#include "engine/paths.h"
#include "engine/sdl/sdl_audio.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_music.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/sdl_window.h"

class SdlBackend {
 public:
  // The player's files in `paths.AppFolder()`, the game's own files read from its data folder.
  explicit SdlBackend(Paths paths)
      : paths_(std::move(paths)),
        engine_(window_, audio_, paths_),
        music_(audio_, paths_),
        platform_(window_, audio_, paths_.AppFolder()),
        utility_(paths_) {}
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  SdlEngine& engine() { return engine_; }
  IniUtility& utility() { return utility_; }
  SdlMusicPlayer& musicPlayer() { return music_; }
  SdlPlatform& platform() { return platform_; }
  SdlWindow& window() { return window_; }
  SdlAudio& audio() { return audio_; }
  Paths& paths() { return paths_; }

 private:
  // Declared in this order so they go in the reverse one: the engine before the sound device and
  // the window.
  Paths paths_;
  SdlWindow window_;
  SdlAudio audio_;
  SdlEngine engine_;
  SdlMusicPlayer music_;
  SdlPlatform platform_;
  IniUtility utility_;
};

// For tests and benchmarks: SDL on a window that is never shown, drawn by the software renderer
// straight in memory (no GL context behind it), with this audio driver ("dummy": no sound card).
// Call before SdlSystem starts SDL.
inline void UseOffscreenSdl(const char* audioDriver = "dummy") {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
  setenv("SDL_AUDIODRIVER", audioDriver, 1);
}
