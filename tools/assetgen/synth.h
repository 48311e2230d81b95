// Building blocks for the sounds: oscillators, noise, filters, envelopes and level control.
#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>

#include "assets.h"
#include "random.h"

inline constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;
inline constexpr float kDt = 1.0f / kSampleRate;

inline float MidiHz(float note) {
  return 440.0f * std::pow(2.0f, (note - 69) / 12);
}
inline size_t Frames(float seconds) {
  return size_t(seconds * kSampleRate);
}

// A band-limited oscillator (polyBLEP), driven one sample at a time at any frequency.
class Oscillator {
 public:
  enum Shape { kSine, kSaw, kSquare, kTriangle };
  explicit Oscillator(Shape shape, float phase = 0) : shape_(shape), phase_(phase) {}
  float Next(float hz, float pulseWidth = 0.5f);

 private:
  Shape shape_;
  float phase_;
  float tri_ = 0;
};

// A state-variable filter (topology-preserving transform): low, band and high outputs.
class Filter {
 public:
  struct Out {
    float low, band, high;
  };
  Out Next(float in, float cutoffHz, float resonance = 0.5f);  // resonance 0..~0.95
  float Low(float in, float hz, float q = 0.5f) { return Next(in, hz, q).low; }
  float High(float in, float hz, float q = 0.5f) { return Next(in, hz, q).high; }
  float Band(float in, float hz, float q = 0.5f) { return Next(in, hz, q).band; }

 private:
  float ic1_ = 0, ic2_ = 0;
};

class Noise {
 public:
  explicit Noise(uint64_t seed) : rnd_(seed) {}
  float Next() { return rnd_.Uniform() * 2 - 1; }

 private:
  Random rnd_;
};

// Envelope: rises linearly over `attack` seconds, then falls exponentially with time constant
// `decay` seconds.
inline float AttackDecay(float t, float attack, float decay) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

// Scales to the given peak in dBFS.
void Normalize(Samples& s, float peakDb);
// Short fades at both ends, so that a sound never starts or stops with a click.
void FadeEdges(Samples& s, float inSeconds, float outSeconds, int channels = 1);
// A feedback echo, mixed in at `wet`.
void Echo(Samples& s, float delaySeconds, float feedback, float wet);
// The same as values, for the last steps of a sound: Echoed, then Finished (faded edges and the
// peak level).
Samples Echoed(Samples s, float delaySeconds, float feedback, float wet);
Samples Finished(Samples s, float fadeInSeconds, float fadeOutSeconds, float peakDb);
