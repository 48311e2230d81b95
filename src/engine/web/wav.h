// Our own reader of the WAV files the game plays: uncompressed PCM, 8 or 16 bits a sample, one or
// two channels. Every field is checked before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PcmSound {
  int channels = 0;
  int rate = 0;
  std::vector<int16_t> samples;  // interleaved when there are two channels
};

// Decodes a whole .wav file held in memory. False with a reason in `error` when it is not one
// this reader understands.
bool DecodeWav(const uint8_t* data, size_t size, PcmSound& sound, std::string& error);
