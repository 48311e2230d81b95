// The one music track in the browser: Ogg Vorbis (stb_vorbis) or WAV, decoded whole when loaded
// and played through OpenAL. The main loop restarts it whenever its position has reached its
// length, so a track that has finished reports its length as its position.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_overrides.h"
#include "engine/web/web_audio.h"
#include "io/paths.h"

class WebMusicPlayer : public MusicPlayer {
 public:
  WebMusicPlayer(WebAudio& audio, const Paths& paths) : audio_(audio), paths_(paths) {}
  WebMusicPlayer(const WebMusicPlayer&) = delete;
  WebMusicPlayer& operator=(const WebMusicPlayer&) = delete;
  ~WebMusicPlayer() override;

  MUSIC_PLAYER_OVERRIDES;

 private:
  void Unload();

  WebAudio& audio_;
  const Paths& paths_;
  unsigned buffer_ = 0;
  unsigned source_ = 0;
  int32_t length_ = 0;
  bool loaded_ = false;
  int volume_ = 100;
};
