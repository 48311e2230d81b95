#include "engine/common/sound_effects.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

std::vector<int16_t> BeepTone(int rate, int channels) {
  const int frames = rate * 120 / 1000;
  std::vector<int16_t> samples(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double envelope = std::min({1.0, i / (rate * 0.005), (frames - i) / (rate * 0.02)});
    const auto sample =
        static_cast<int16_t>(9000.0 * envelope * std::sin(2 * std::numbers::pi * 880.0 * t));
    for (int c = 0; c < channels; ++c) samples[static_cast<size_t>(i) * channels + c] = sample;
  }
  return samples;
}
