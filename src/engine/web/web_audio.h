// Sound in the browser through Emscripten's OpenAL (on Web Audio): the effects, the beep and the
// buffers of the music. The device opens on first use; browsers start it only after the player's
// first key press or click (OpenAL resumes it then).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/common/sound_effects.h"
#include "engine/web/wav.h"

class WebAudio : public SoundEffects {
 public:
  // Enough voices for a screen full of hits at once.
  static constexpr int kVoices = 32;

  ~WebAudio() override;

  void LoadSound(const std::string& name, const std::string& path) override;
  void PlaySound(const std::string& name, int volume) override;
  void FreeSounds() override;
  void Beep() override;

  // An OpenAL buffer holding the sound (0 without a device, or when it cannot be made).
  unsigned MakeBuffer(const PcmSound& sound);
  static void DeleteBuffer(unsigned buffer);

 private:
  bool OpenDevice() override;
  void PlayBuffer(unsigned buffer, int volume);

  std::unordered_map<std::string, unsigned> sounds_;
  std::vector<unsigned> voices_;
  std::vector<uint64_t> voiceStarted_;
  uint64_t plays_ = 0;
  unsigned beep_ = 0;
  void* device_ = nullptr;
  void* context_ = nullptr;
};
