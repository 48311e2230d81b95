// The one music track, through SDL2_mixer. The main loop restarts it whenever its position has
// reached its length, so a track that has finished reports its length as its position.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_overrides.h"
#include "engine/sdl/sdl_audio.h"
#include "io/paths.h"

class SdlMusicPlayer : public MusicPlayer {
 public:
  SdlMusicPlayer(SdlAudio& audio, const Paths& paths) : audio_(audio), paths_(paths) {}
  SdlMusicPlayer(const SdlMusicPlayer&) = delete;
  SdlMusicPlayer& operator=(const SdlMusicPlayer&) = delete;
  ~SdlMusicPlayer() override;

  MUSIC_PLAYER_OVERRIDES;

  // The file the track was loaded from ("" when none).
  const std::string& LoadedFile() const { return loadedFile_; }

 private:
  void Unload();

  SdlAudio& audio_;
  const Paths& paths_;
  Mix_Music* music_ = nullptr;
  int32_t length_ = 0;  // read once when loaded: the main loop asks for it every pass
  std::string loadedFile_;
  int volume_ = 100;
};
