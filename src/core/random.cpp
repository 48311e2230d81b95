#include "core/random.h"

#include <cstring>

namespace {
uint64_t SplitMix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
}  // namespace

void Random::Seed(uint64_t seed) {
  state_ = seed;
}

void Random::ReseedFromTime(double timeOfDay) {
  // The clock reading's bits as they are (a copy, which every C++ library of ours can do).
  static_assert(sizeof(uint64_t) == sizeof(double));
  uint64_t clockBits = 0;
  std::memcpy(&clockBits, &timeOfDay, sizeof clockBits);
  state_ ^= SplitMix(clockBits);
  SplitMix(state_);
}

float Random::Next() {
  uint64_t bits = SplitMix(state_);
  return static_cast<float>(bits >> 40) * (1.0f / 16777216.0f);
}
