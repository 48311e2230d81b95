// Sound in the browser through Emscripten's OpenAL (on Web Audio): the effects, the beep and the
// buffers of the music. The device opens on first use; browsers start it only after the player's
// first key press or click (OpenAL resumes it then). Without Web Audio the game goes on in silence
// after one warning: every sound and music call is then harmless.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/web/wav.h"

class WebAudio {
 public:
  // Enough voices for a screen full of hits at once.
  static constexpr int kVoices = 32;

  WebAudio() = default;
  WebAudio(const WebAudio&) = delete;
  WebAudio& operator=(const WebAudio&) = delete;
  ~WebAudio();

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

  // An OpenAL buffer holding the sound (0 without a device, or when it cannot be made).
  unsigned MakeBuffer(const PcmSound& sound);
  static void DeleteBuffer(unsigned buffer);

 private:
  void PlayBuffer(unsigned buffer, int volume);

  std::unordered_map<std::string, unsigned> sounds_;
  std::vector<unsigned> voices_;
  std::vector<uint64_t> voiceStarted_;
  uint64_t plays_ = 0;
  unsigned beep_ = 0;
  void* device_ = nullptr;
  void* context_ = nullptr;
  bool tried_ = false;
  bool open_ = false;
};
