// The sound device through SDL2_mixer, opened on first use. With no device the game goes on in
// silence after one warning: every sound and music call is then harmless.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class SdlAudio {
 public:
  // Enough channels for a screen full of hits at once.
  static constexpr int kChannels = 64;

  SdlAudio() = default;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;
  ~SdlAudio();

  // Opens the device on the first call; true while a device is open.
  bool Open();
  bool IsOpen() const { return open_; }

  // Loads a WAV file under a name; throws EngineError naming the file when it cannot. Without a
  // device the file must still be there.
  void LoadSound(const std::string& name, const std::string& path);
  // Plays a loaded sound once at a volume in percent; unknown names play nothing.
  void PlaySound(const std::string& name, int volume);
  void FreeSounds();
  // A short tone, the game's "system beep".
  void Beep();

 private:
  std::unordered_map<std::string, Mix_Chunk*> sounds_;
  std::vector<int16_t> beepSamples_;
  Mix_Chunk* beep_ = nullptr;
  bool tried_ = false;
  bool open_ = false;
};

// A volume in percent as SDL_mixer's 0..128.
int MixerVolume(int percent);
