#include "engine/web/wav.h"

#include <cstring>

namespace {

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

bool DecodeWav(const uint8_t* data, size_t size, PcmSound& sound, std::string& error) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    error = "not a WAV file";
    return false;
  }
  int format = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  const uint8_t* samples = nullptr;
  size_t sampleBytes = 0;
  size_t at = 12;
  while (at + 8 <= size) {
    const uint32_t length = Le32(data + at + 4);
    const uint8_t* body = data + at + 8;
    const size_t available = size - (at + 8);
    if (std::memcmp(data + at, "fmt ", 4) == 0) {
      if (length < 16 || available < 16) break;
      format = Le16(body);
      channels = Le16(body + 2);
      rate = Le32(body + 4);
      bits = Le16(body + 14);
    } else if (std::memcmp(data + at, "data", 4) == 0) {
      samples = body;
      sampleBytes = length <= available ? length : available;  // a cut-off file plays what it has
      break;
    }
    if (length > available) break;
    at += 8 + length + (length & 1);
  }
  if (format != 1 || (bits != 8 && bits != 16) || channels < 1 || channels > 2 || rate < 1000 ||
      rate > 192000) {
    error = "not a PCM WAV file with 8 or 16 bits and one or two channels";
    return false;
  }
  if (samples == nullptr) {
    error = "no sound data in the WAV file";
    return false;
  }
  sound.channels = channels;
  sound.rate = static_cast<int>(rate);
  const size_t frameBytes = static_cast<size_t>(channels) * (bits / 8);
  const size_t count = sampleBytes / frameBytes * channels;
  sound.samples.resize(count);
  for (size_t i = 0; i < count; ++i) {
    sound.samples[i] = bits == 16 ? static_cast<int16_t>(Le16(samples + i * 2))
                                  : static_cast<int16_t>((samples[i] - 128) * 256);
  }
  return true;
}
