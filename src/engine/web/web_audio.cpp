#include "engine/web/web_audio.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cstdio>

#include "engine/common/data_files.h"
#include "engine/engine.h"

WebAudio::~WebAudio() {
  FreeSounds();
  if (!IsOpen()) return;
  DeleteBuffer(beep_);
  alDeleteSources(static_cast<ALsizei>(voices_.size()), voices_.data());
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(static_cast<ALCcontext*>(context_));
  alcCloseDevice(static_cast<ALCdevice*>(device_));
}

bool WebAudio::OpenDevice() {
  ALCdevice* device = alcOpenDevice(nullptr);
  ALCcontext* context = device != nullptr ? alcCreateContext(device, nullptr) : nullptr;
  if (context == nullptr || !alcMakeContextCurrent(context)) {
    std::fprintf(stderr, "swayfire: warning: no sound in this browser; playing without sound\n");
    if (context != nullptr) alcDestroyContext(context);
    if (device != nullptr) alcCloseDevice(device);
    return false;
  }
  device_ = device;
  context_ = context;
  voices_.resize(kVoices);
  voiceStarted_.assign(kVoices, 0);
  alGenSources(kVoices, voices_.data());
  return alGetError() == AL_NO_ERROR;
}

unsigned WebAudio::MakeBuffer(const PcmSound& sound) {
  if (!Open() || sound.samples.empty()) return 0;
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  alBufferData(buffer, sound.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16,
               sound.samples.data(), static_cast<ALsizei>(sound.samples.size() * sizeof(int16_t)),
               sound.rate);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &buffer);
    return 0;
  }
  return buffer;
}

void WebAudio::DeleteBuffer(unsigned buffer) {
  if (buffer != 0) alDeleteBuffers(1, &buffer);
}

void WebAudio::LoadSound(const std::string& name, const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadFileBytes(path, bytes, error)) {
    throw EngineError("cannot load the sound \"" + path + "\": " + error);
  }
  if (!Open()) return;
  PcmSound sound;
  if (!DecodeWav(bytes.data(), bytes.size(), sound, error)) {
    throw EngineError("cannot load the sound \"" + path + "\": " + error);
  }
  const unsigned buffer = MakeBuffer(sound);
  if (buffer == 0) throw EngineError("cannot load the sound \"" + path + "\": no room for it");
  auto [it, added] = sounds_.emplace(name, buffer);
  if (!added) {
    for (unsigned voice : voices_) {
      ALint playing = 0;
      alGetSourcei(voice, AL_BUFFER, &playing);
      if (static_cast<unsigned>(playing) == it->second) {
        alSourceStop(voice);
        alSourcei(voice, AL_BUFFER, 0);
      }
    }
    DeleteBuffer(it->second);
    it->second = buffer;
  }
}

void WebAudio::PlayBuffer(unsigned buffer, int volume) {
  if (!IsOpen() || buffer == 0) return;
  // A free voice, or else the one playing longest: a new hit matters more than an old one.
  size_t chosen = 0;
  for (size_t i = 0; i < voices_.size(); ++i) {
    ALint state = 0;
    alGetSourcei(voices_[i], AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) {
      chosen = i;
      break;
    }
    if (voiceStarted_[i] < voiceStarted_[chosen]) chosen = i;
  }
  const ALuint voice = voices_[chosen];
  alSourceStop(voice);
  alSourcei(voice, AL_BUFFER, static_cast<ALint>(buffer));
  alSourcef(voice, AL_GAIN, std::clamp(volume, 0, 100) / 100.0f);
  alSourcePlay(voice);
  voiceStarted_[chosen] = ++plays_;
}

void WebAudio::PlaySound(const std::string& name, int volume) {
  auto it = sounds_.find(name);
  if (it != sounds_.end()) PlayBuffer(it->second, volume);
}

void WebAudio::FreeSounds() {
  if (IsOpen()) {
    for (unsigned voice : voices_) {
      alSourceStop(voice);
      alSourcei(voice, AL_BUFFER, 0);
    }
  }
  for (auto& [name, buffer] : sounds_) DeleteBuffer(buffer);
  sounds_.clear();
}

void WebAudio::Beep() {
  if (!Open()) return;
  if (beep_ == 0) {
    PcmSound tone;
    tone.channels = 1;
    tone.rate = 44100;
    tone.samples = BeepTone(tone.rate, tone.channels);
    beep_ = MakeBuffer(tone);
  }
  PlayBuffer(beep_, 100);
}
