// The sound effects, synthesised: clicks, chimes, jingles, zaps, impacts and explosions.
#include <algorithm>
#include <cmath>
#include <utility>

#include "synth.h"

namespace {

// A bell-like note: a sine with an inharmonic partial, struck and decaying.
float Bell(float t, float hz, float decay) {
  if (t < 0) return 0;
  const float env = AttackDecay(t, 0.002f, decay);
  return env * (std::sin(kTwoPi * hz * t) +
                0.35f * std::sin(kTwoPi * hz * 2.76f * t) * std::exp(-t / (decay * 0.4f)) +
                0.2f * std::sin(kTwoPi * hz * 2 * t));
}

struct Note {
  float start, length, midi;
};

// A bright square-and-saw voice for the jingles, with a little vibrato.
Samples Jingle(const std::vector<Note>& notes, float seconds, float brightness) {
  Samples out(Frames(seconds), 0.0f);
  for (const Note& n : notes) {
    Oscillator sq(Oscillator::kSquare), saw(Oscillator::kSaw, 0.3f);
    Filter lp;
    const float hz = MidiHz(n.midi);
    const size_t begin = Frames(n.start);
    const size_t end = std::min(out.size(), Frames(n.start + n.length + 0.4f));
    for (size_t i = begin; i < end; ++i) {
      const float t = float(i - begin) * kDt;
      const float gate = t < n.length ? 1.0f : std::exp(-(t - n.length) / 0.08f);
      const float env = std::min(1.0f, t / 0.005f) * (0.7f + 0.3f * std::exp(-t / 0.1f)) * gate;
      const float vib = 1 + 0.004f * std::sin(kTwoPi * 5.5f * t) * std::min(1.0f, t / 0.3f);
      const float v = 0.5f * sq.Next(hz * vib, 0.3f) + 0.5f * saw.Next(hz * vib * 1.003f);
      out[i] += 0.3f * env * lp.Low(v, brightness * (1 + 2 * std::exp(-t / 0.15f)), 0.3f);
    }
  }
  return out;
}

}  // namespace

Samples MakeMenuClick() {
  // A soft, short blip.
  Samples s(Frames(0.07f));
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = float(i) * kDt;
    const float hz = 1500 - 500 * t / 0.07f;
    s[i] = AttackDecay(t, 0.002f, 0.018f) *
           (std::sin(kTwoPi * hz * t) + 0.25f * std::sin(kTwoPi * 2 * hz * t));
  }
  return Finished(std::move(s), 0.001f, 0.01f, -8);
}

Samples MakeEnterChime() {
  // Two bell notes a fifth apart, with an echo.
  Samples s(Frames(0.9f));
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = float(i) * kDt;
    s[i] = 0.6f * Bell(t, MidiHz(76), 0.25f) + 0.7f * Bell(t - 0.09f, MidiHz(83), 0.35f) +
           0.3f * Bell(t - 0.09f, MidiHz(88), 0.3f);
  }
  return Finished(Echoed(std::move(s), 0.12f, 0.3f, 0.3f), 0.001f, 0.15f, -3);
}

Samples MakeHighScoreFanfare() {
  // A rising triplet call and a held major chord: about 1.5 seconds.
  const float q = 0.09f;
  std::vector<Note> notes = {{0, q, 72},         {q, q, 76},        {2 * q, q, 79},
                             {3 * q, q * 2, 84}, {5 * q, q, 79},    {6 * q, 0.75f, 84},
                             {6 * q, 0.75f, 76}, {6 * q, 0.75f, 67}};
  Samples s = Jingle(notes, 1.5f, 2600);
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = float(i) * kDt;
    s[i] += 0.25f * Bell(t - 6 * q, MidiHz(96), 0.3f) +
            0.2f * Bell(t - 6 * q - 0.06f, MidiHz(100), 0.3f);
  }
  return Finished(Echoed(std::move(s), 0.15f, 0.25f, 0.25f), 0.002f, 0.3f, -3);
}

Samples MakeLevelWonJingle() {
  // A little victory tune ending on a bright chord: about 2 seconds.
  const float e = 0.12f;
  std::vector<Note> notes = {
      {0, e, 67},     {e, e, 72},        {2 * e, e, 76},    {3 * e, e * 2, 79}, {5 * e, e, 76},
      {6 * e, e, 79}, {7 * e, 0.9f, 84}, {7 * e, 0.9f, 79}, {7 * e, 0.9f, 76},  {7 * e, 0.9f, 60}};
  Samples s = Jingle(notes, 2.0f, 2200);
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = float(i) * kDt;
    for (int k = 0; k < 5; ++k)
      s[i] += 0.12f * Bell(t - 7 * e - 0.05f * float(k), MidiHz(88.0f + 3.0f * float(k)), 0.25f);
  }
  return Finished(Echoed(std::move(s), 0.18f, 0.3f, 0.25f), 0.002f, 0.4f, -3);
}

Samples MakeFireZap() {
  // A short falling laser zap; quiet, since dozens may overlap.
  Samples s(Frames(0.11f));
  Oscillator sq(Oscillator::kSquare), sine(Oscillator::kSine);
  Filter lp;
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = float(i) * kDt;
    const float hz = 300 + 1700 * std::exp(-t / 0.025f);
    const float v = 0.6f * sq.Next(hz, 0.25f) + 0.6f * sine.Next(hz * 0.5f);
    s[i] = AttackDecay(t, 0.001f, 0.03f) * lp.Low(v, 5000 * std::exp(-t / 0.05f) + 500, 0.2f);
  }
  return Finished(std::move(s), 0.001f, 0.02f, -12);
}

Samples MakeBonusPickup() {
  // A quick rising run of bells with a shimmer on top.
  Samples s(Frames(0.7f));
  const float notes[] = {84, 88, 91, 96, 100};
  Noise noise(9);
  Filter hp;
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = float(i) * kDt;
    float v = 0;
    for (int k = 0; k < 5; ++k) v += 0.45f * Bell(t - 0.045f * float(k), MidiHz(notes[k]), 0.18f);
    v += 0.08f * hp.High(noise.Next(), 7000) * AttackDecay(t - 0.15f, 0.05f, 0.15f) *
         (0.5f + 0.5f * std::sin(kTwoPi * 30 * t));
    s[i] = v;
  }
  return Finished(Echoed(std::move(s), 0.09f, 0.3f, 0.3f), 0.001f, 0.15f, -4);
}

Samples MakeHit(int variant) {
  // Five short impacts: a thump under a filtered crack, each with its own colour.
  struct Style {
    float seconds, thumpHz, thumpDrop, noiseHz, noiseDecay, ringHz, ringLevel;
  };
  static const Style styles[5] = {{0.12f, 180, 90, 2500, 0.025f, 0, 0},         // dull knock
                                  {0.10f, 260, 120, 5000, 0.018f, 0, 0},        // sharp tick
                                  {0.16f, 150, 70, 3000, 0.03f, 1250, 0.35f},   // metallic clang
                                  {0.14f, 110, 60, 1400, 0.04f, 0, 0},          // heavy thud
                                  {0.11f, 320, 200, 7000, 0.02f, 2100, 0.2f}};  // glassy crack
  const Style& st = styles[std::clamp(variant, 1, 5) - 1];
  Samples s(Frames(st.seconds));
  Noise noise(uint64_t(100 + variant));
  Filter bp;
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = float(i) * kDt;
    const float hz = st.thumpHz - st.thumpDrop * std::min(1.0f, t / st.seconds);
    float v = 0.9f * AttackDecay(t, 0.001f, st.seconds * 0.3f) * std::sin(kTwoPi * hz * t);
    v +=
        0.8f * AttackDecay(t, 0.0005f, st.noiseDecay) * bp.Band(noise.Next(), st.noiseHz, 0.4f) * 2;
    if (st.ringLevel > 0)
      v += st.ringLevel * AttackDecay(t, 0.001f, st.seconds * 0.35f) *
           (std::sin(kTwoPi * st.ringHz * t) + 0.5f * std::sin(kTwoPi * st.ringHz * 1.51f * t));
    s[i] = v;
  }
  return Finished(std::move(s), 0.0005f, 0.02f, -9);
}

Samples MakeEnemyExplosion() {
  // A boom with a falling rumble and crackle, about 0.6 seconds.
  Samples s(Frames(0.65f));
  Noise noise(31), crackle(32);
  Filter lp, lp2;
  Random sparks(33);
  float crack = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = float(i) * kDt;
    const float rumble = lp.Low(noise.Next(), 200 + 5000 * std::exp(-t / 0.08f), 0.3f);
    const float boomHz = 35 + 60 * std::exp(-t / 0.06f);
    const float boom = std::sin(kTwoPi * boomHz * t) * AttackDecay(t, 0.002f, 0.18f);
    if (sparks.Uniform() < 0.004f * std::exp(-t / 0.25f)) crack = 1;
    crack *= 0.985f;
    const float cr = lp2.High(crackle.Next(), 3000) * crack;
    s[i] = 1.2f * rumble * AttackDecay(t, 0.003f, 0.2f) + 0.9f * boom + 0.3f * cr;
  }
  return Finished(std::move(s), 0.001f, 0.15f, -3);
}
