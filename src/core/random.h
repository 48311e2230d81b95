// The game's one random generator: uniform numbers in [0, 1), seedable for tests and replays.
#pragma once

#include <cstdint>

class Random {
 public:
  explicit Random(uint64_t seed = 1) { Seed(seed); }

  void Seed(uint64_t seed);
  // Mixes a reading of the clock into the current state, so two reseeds in the same instant still
  // lead to different numbers (enemies spawned in one frame must not land on one spot).
  void ReseedFromTime(double timeOfDay);
  // Next number, uniform in [0, 1), with 24 bits of precision so that it is exact as a float.
  float Next();
  // The whole state, which Seed() puts back (a replay keeps it).
  uint64_t State() const { return state_; }

 private:
  uint64_t state_ = 0;
};
