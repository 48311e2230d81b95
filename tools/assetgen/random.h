// A small deterministic generator and value noise: the same seed gives the same assets everywhere.
#pragma once

#include <cstdint>

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  float Uniform();                  // [0, 1)
  float Range(float lo, float hi);  // [lo, hi)
  int Int(int lo, int hi);          // lo..hi inclusive

 private:
  uint64_t state_;
};

// Smooth value noise in [0, 1], tiling with the given period (in lattice cells; 0 = no tiling).
float ValueNoise(float x, float y, uint32_t seed, int period = 0);
// Fractal sum of octaves of value noise, normalised to [0, 1].
float Fbm(float x, float y, uint32_t seed, int octaves, int period = 0);
