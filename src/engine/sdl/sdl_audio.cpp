#include "engine/sdl/sdl_audio.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "engine/engine.h"
#include "io/paths.h"

int MixerVolume(int percent) {
  return (std::clamp(percent, 0, 100) * MIX_MAX_VOLUME + 50) / 100;
}

SdlAudio::~SdlAudio() {
  FreeSounds();
  if (beep_ != nullptr) Mix_FreeChunk(beep_);
  if (IsOpen()) {
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

bool SdlAudio::OpenDevice() {
  std::string reason;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    reason = SDL_GetError();
  } else {
    Mix_Init(MIX_INIT_OGG | MIX_INIT_FLAC | MIX_INIT_MP3);  // what is missing just won't decode
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 1024, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE) !=
        0) {
      reason = Mix_GetError();
      Mix_Quit();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    } else {
      Mix_AllocateChannels(kChannels);
      return true;
    }
  }
  std::fprintf(stderr, "swayfire: warning: no sound device (%s); playing without sound\n",
               reason.c_str());
  return false;
}

void SdlAudio::LoadSound(const std::string& name, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(FilePath(path), ec)) {
    throw EngineError("cannot load the sound \"" + path + "\": file not found");
  }
  if (!Open()) return;
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  if (chunk == nullptr) {
    throw EngineError("cannot load the sound \"" + path + "\": " + Mix_GetError());
  }
  auto [it, added] = sounds_.emplace(name, chunk);
  if (!added) {
    Mix_FreeChunk(it->second);
    it->second = chunk;
  }
}

void SdlAudio::PlaySound(const std::string& name, int volume) {
  if (!IsOpen()) return;
  auto it = sounds_.find(name);
  if (it == sounds_.end()) return;
  // A free channel, or else the one playing longest: a new hit matters more than an old one.
  int channel = Mix_GroupAvailable(-1);
  if (channel < 0) channel = Mix_GroupOldest(-1);
  if (channel < 0) return;
  Mix_Volume(channel, MixerVolume(volume));
  Mix_PlayChannel(channel, it->second, 0);
}

void SdlAudio::FreeSounds() {
  for (auto& [name, chunk] : sounds_) Mix_FreeChunk(chunk);
  sounds_.clear();
}

void SdlAudio::Beep() {
  if (!Open()) return;
  if (beep_ == nullptr) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS) return;
    beepSamples_ = BeepTone(rate, channels);
    beep_ = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(beepSamples_.data()),
                              static_cast<Uint32>(beepSamples_.size() * sizeof(int16_t)));
    if (beep_ == nullptr) return;
  }
  int channel = Mix_GroupAvailable(-1);
  if (channel < 0) channel = Mix_GroupOldest(-1);
  if (channel < 0) return;
  Mix_Volume(channel, MIX_MAX_VOLUME);
  Mix_PlayChannel(channel, beep_, 0);
}
