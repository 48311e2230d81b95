// The game's sound effects on a sound device opened on first use. With no device the game goes on
// in silence after one warning: every sound and music call is then harmless.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SoundEffects {
 public:
  SoundEffects() = default;
  SoundEffects(const SoundEffects&) = delete;
  SoundEffects& operator=(const SoundEffects&) = delete;
  virtual ~SoundEffects() = default;

  // Opens the device on the first call; true while a device is open.
  bool Open() {
    if (!tried_) {
      tried_ = true;
      open_ = OpenDevice();
    }
    return open_;
  }
  bool IsOpen() const { return open_; }

  // Loads a WAV file under a name; throws EngineError naming the file when it cannot. Without a
  // device the file must still be there.
  virtual void LoadSound(const std::string& name, const std::string& path) = 0;
  // Plays a loaded sound once at a volume in percent; unknown names play nothing.
  virtual void PlaySound(const std::string& name, int volume) = 0;
  virtual void FreeSounds() = 0;
  // A short tone, the game's "system beep".
  virtual void Beep() = 0;

 private:
  // Opens the device, once; false (after a warning) when there is none.
  virtual bool OpenDevice() = 0;

  bool tried_ = false;
  bool open_ = false;
};

// The "system beep": 120 ms of 880 Hz with a soft start and end, so it does not click, as 16-bit
// samples at `rate`, each repeated for `channels` interleaved channels.
std::vector<int16_t> BeepTone(int rate, int channels);
