#include "synth.h"

#include <algorithm>
#include <vector>

namespace {
// polyBLEP residual for a discontinuity at phase 0, with step dt.
float Blep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}
}  // namespace

float Oscillator::Next(float hz, float pulseWidth) {
  const float dt = std::min(hz * kDt, 0.45f);
  float v = 0;
  switch (shape_) {
    case kSine:
      v = std::sin(kTwoPi * phase_);
      break;
    case kSaw:
      v = 2 * phase_ - 1 - Blep(phase_, dt);
      break;
    case kSquare:
    case kTriangle: {
      v = phase_ < pulseWidth ? 1.0f : -1.0f;
      v += Blep(phase_, dt);
      v -= Blep(std::fmod(phase_ - pulseWidth + 1, 1.0f), dt);
      if (shape_ == kTriangle) {
        // A leaky integral of the square.
        tri_ = dt * v * 4 + (1 - dt * 0.5f) * tri_;
        v = tri_;
      }
      break;
    }
  }
  phase_ += dt;
  if (phase_ >= 1) phase_ -= 1;
  return v;
}

Filter::Out Filter::Next(float in, float cutoffHz, float resonance) {
  cutoffHz = std::clamp(cutoffHz, 20.0f, kSampleRate * 0.45f);
  const float g = std::tan(std::numbers::pi_v<float> * cutoffHz / kSampleRate);
  const float k = 2 - 2 * std::clamp(resonance, 0.0f, 0.98f);
  const float a1 = 1 / (1 + g * (g + k)), a2 = g * a1, a3 = g * a2;
  const float v3 = in - ic2_;
  const float v1 = a1 * ic1_ + a2 * v3;
  const float v2 = ic2_ + a2 * ic1_ + a3 * v3;
  ic1_ = 2 * v1 - ic1_;
  ic2_ = 2 * v2 - ic2_;
  return {v2, v1, in - k * v1 - v2};
}

void Normalize(Samples& s, float peakDb) {
  float peak = 0;
  for (float v : s) peak = std::max(peak, std::fabs(v));
  if (peak <= 0) return;
  const float gain = std::pow(10.0f, peakDb / 20) / peak;
  for (float& v : s) v *= gain;
}

void FadeEdges(Samples& s, float inSeconds, float outSeconds, int channels) {
  const size_t frames = s.size() / size_t(channels);
  const size_t fin = std::min(frames, Frames(inSeconds));
  const size_t fout = std::min(frames, Frames(outSeconds));
  for (size_t i = 0; i < frames; ++i) {
    float g = 1;
    if (i < fin) g *= float(i) / float(fin);
    if (i >= frames - fout) g *= float(frames - 1 - i) / float(fout);
    for (int c = 0; c < channels; ++c) s[i * size_t(channels) + size_t(c)] *= g;
  }
}

void Echo(Samples& s, float delaySeconds, float feedback, float wet) {
  const size_t d = Frames(delaySeconds);
  std::vector<float> line(d, 0.0f);
  size_t pos = 0;
  for (float& v : s) {
    const float delayed = line[pos];
    line[pos] = v + delayed * feedback;
    pos = (pos + 1) % d;
    v += delayed * wet;
  }
}

Samples Echoed(Samples s, float delaySeconds, float feedback, float wet) {
  Echo(s, delaySeconds, feedback, wet);
  return s;
}

Samples Finished(Samples s, float fadeInSeconds, float fadeOutSeconds, float peakDb) {
  FadeEdges(s, fadeInSeconds, fadeOutSeconds);
  Normalize(s, peakDb);
  return s;
}
