#include "random.h"

#include <cmath>

uint64_t Random::Next() {
  // splitmix64
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Random::Uniform() {
  return float(Next() >> 40) / float(1ull << 24);
}

float Random::Range(float lo, float hi) {
  return lo + (hi - lo) * Uniform();
}

int Random::Int(int lo, int hi) {
  return lo + int(Next() % uint64_t(hi - lo + 1));
}

namespace {
float Lattice(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return float(h & 0xFFFFFF) / float(0xFFFFFF);
}
float Smooth(float t) {
  return t * t * (3 - 2 * t);
}
int Wrap(int v, int period) {
  return period > 0 ? ((v % period) + period) % period : v;
}
}  // namespace

float ValueNoise(float x, float y, uint32_t seed, int period) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = int(fx), iy = int(fy);
  const float tx = Smooth(x - fx), ty = Smooth(y - fy);
  const int x0 = Wrap(ix, period), x1 = Wrap(ix + 1, period);
  const int y0 = Wrap(iy, period), y1 = Wrap(iy + 1, period);
  const float a = Lattice(x0, y0, seed), b = Lattice(x1, y0, seed);
  const float c = Lattice(x0, y1, seed), d = Lattice(x1, y1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, uint32_t seed, int octaves, int period) {
  float sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + uint32_t(i) * 1013u, period) * amp;
    norm += amp;
    amp *= 0.5f;
    x *= 2, y *= 2;
    if (period > 0) period *= 2;
  }
  return sum / norm;
}
