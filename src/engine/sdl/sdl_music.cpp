#include "engine/sdl/sdl_music.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "engine/common/data_files.h"

namespace {

int32_t Milliseconds(double seconds) {
  if (!(seconds >= 0)) return 0;
  const double ms = std::round(seconds * 1000.0);
  if (ms >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(ms);
}

}  // namespace

SdlMusicPlayer::~SdlMusicPlayer() {
  Unload();
}

void SdlMusicPlayer::Unload() {
  if (music_ != nullptr) {
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
  }
  loadedFile_.clear();
  length_ = 0;
}

void SdlMusicPlayer::Load(const std::string& file, int16_t) {
  Unload();
  const std::string path = paths_.ResolveData(file);
  LoadMusicTrack(
      path, kDesktopTrackExtensions, [this](const std::string& candidate, std::string& error) {
        if (!audio_.Open()) {  // silent: finding the file is all there is to do
          loadedFile_ = candidate;
          return true;
        }
        music_ = Mix_LoadMUS(candidate.c_str());
        if (music_ == nullptr) {
          error = Mix_GetError();
          return false;
        }
        loadedFile_ = candidate;
        // A length the decoder cannot tell: the end is seen when the track stops.
        const double seconds = Mix_MusicDuration(music_);
        length_ = seconds < 0 ? std::numeric_limits<int32_t>::max() : Milliseconds(seconds);
        return true;
      });
}

int32_t SdlMusicPlayer::GetLength() {
  return music_ == nullptr ? 0 : length_;
}

int32_t SdlMusicPlayer::GetPosition() {
  if (music_ == nullptr) return 0;
  const int32_t length = length_;
  if (Mix_PlayingMusic() == 0) return length;  // finished (or not started): time to play
  const int32_t position = Milliseconds(Mix_GetMusicPosition(music_));
  // While it plays it has not ended, even where rounding says so.
  return length > 0 ? std::min(position, length - 1) : 0;
}

void SdlMusicPlayer::SetVolume(int16_t volume) {
  volume_ = volume;
  if (audio_.IsOpen()) Mix_VolumeMusic(MixerVolume(volume_));
}

void SdlMusicPlayer::Play(int16_t) {
  if (music_ == nullptr) return;
  Mix_VolumeMusic(MixerVolume(volume_));
  // Once through; the main loop starts it again when it has ended.
  if (Mix_PlayMusic(music_, 1) != 0) {
    std::fprintf(stderr, "swayfire: warning: cannot play the music: %s\n", Mix_GetError());
    Unload();
  }
}
