#include "engine/web/web_music.h"

#include <AL/al.h>
// Debian ships stb_vorbis as one file: here only its declarations (its code is in stb_code.cpp).
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/common/data_files.h"
#include "engine/web/wav.h"

namespace {

// What the browser build decodes: a .wma asks for a .ogg or .wav beside it.
constexpr std::initializer_list<const char*> kTrackExtensions = {".ogg", ".wav"};

bool DecodeTrack(const std::string& path, const std::vector<uint8_t>& bytes, PcmSound& sound,
                 std::string& error) {
  if (LowerExtension(path) != ".ogg") return DecodeWav(bytes.data(), bytes.size(), sound, error);
  int channels = 0, rate = 0;
  short* samples = nullptr;
  const int frames = stb_vorbis_decode_memory(bytes.data(), static_cast<int>(bytes.size()),
                                              &channels, &rate, &samples);
  if (frames < 0 || samples == nullptr || channels < 1 || channels > 2 || rate <= 0) {
    std::free(samples);
    error = "not an Ogg Vorbis file with one or two channels";
    return false;
  }
  sound.channels = channels;
  sound.rate = rate;
  sound.samples.assign(samples, samples + static_cast<size_t>(frames) * channels);
  std::free(samples);
  return true;
}

}  // namespace

WebMusicPlayer::~WebMusicPlayer() {
  Unload();
}

void WebMusicPlayer::Unload() {
  if (source_ != 0) {
    alSourceStop(source_);
    alDeleteSources(1, &source_);
    source_ = 0;
  }
  WebAudio::DeleteBuffer(buffer_);
  buffer_ = 0;
  length_ = 0;
  loaded_ = false;
}

void WebMusicPlayer::Load(const std::string& file, int16_t) {
  Unload();
  const std::string path = paths_.ResolveData(file);
  LoadMusicTrack(path, kTrackExtensions, [this](const std::string& candidate, std::string& error) {
    if (!audio_.Open()) return true;  // silent: finding the file is all there is to do
    std::vector<uint8_t> bytes;
    PcmSound sound;
    if (!ReadFileBytes(candidate, bytes, error) || !DecodeTrack(candidate, bytes, sound, error)) {
      return false;
    }
    buffer_ = audio_.MakeBuffer(sound);
    if (buffer_ == 0) {
      error = "no room for it";
      return false;
    }
    alGenSources(1, &source_);
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
    const double frames = static_cast<double>(sound.samples.size()) / sound.channels;
    length_ = static_cast<int32_t>(std::lround(frames * 1000.0 / sound.rate));
    loaded_ = true;
    return true;
  });
}

int32_t WebMusicPlayer::GetLength() {
  return loaded_ ? length_ : 0;
}

int32_t WebMusicPlayer::GetPosition() {
  if (!loaded_) return 0;
  ALint state = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  if (state != AL_PLAYING) return length_;  // finished (or not started): time to play
  ALfloat seconds = 0;
  alGetSourcef(source_, AL_SEC_OFFSET, &seconds);
  const auto position = static_cast<int32_t>(std::lround(seconds * 1000.0));
  // While it plays it has not ended, even where rounding says so.
  return length_ > 0 ? std::clamp(position, 0, length_ - 1) : 0;
}

void WebMusicPlayer::SetVolume(int16_t volume) {
  volume_ = volume;
  if (source_ != 0) alSourcef(source_, AL_GAIN, std::clamp<int>(volume_, 0, 100) / 100.0f);
}

void WebMusicPlayer::Play(int16_t) {
  if (!loaded_) return;
  alSourceStop(source_);
  alSourcef(source_, AL_GAIN, std::clamp<int>(volume_, 0, 100) / 100.0f);
  alSourcePlay(source_);  // once through; the main loop starts it again when it has ended
}
