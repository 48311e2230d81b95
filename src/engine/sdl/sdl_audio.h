// The sound effects through SDL2_mixer.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/common/sound_effects.h"

class SdlAudio : public SoundEffects {
 public:
  // Enough channels for a screen full of hits at once.
  static constexpr int kChannels = 64;

  ~SdlAudio() override;

  void LoadSound(const std::string& name, const std::string& path) override;
  void PlaySound(const std::string& name, int volume) override;
  void FreeSounds() override;
  void Beep() override;

 private:
  bool OpenDevice() override;

  std::unordered_map<std::string, Mix_Chunk*> sounds_;
  std::vector<int16_t> beepSamples_;
  Mix_Chunk* beep_ = nullptr;
};

// A volume in percent as SDL_mixer's 0..128.
int MixerVolume(int percent);
