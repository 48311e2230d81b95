// The music: 16 bars of an arcade synth track at 120 beats a minute (32 seconds), in A minor.
// Bars 1-4 bring in pad and arpeggio, 5-8 drums and bass, 9-15 the lead; bar 16 is one last
// chord that dies away, so the track ends in silence and restarts cleanly from its beginning.
#include <algorithm>
#include <cmath>
#include <vector>

#include "synth.h"

namespace {

constexpr float kBeat = 0.5f;
constexpr float kStep = kBeat / 4;  // a sixteenth
constexpr int kBars = 16;
constexpr float kLength = kBars * 4 * kBeat;

struct Track {
  std::vector<float> left, right;
  explicit Track(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
  void Add(size_t i, float v, float pan) {  // pan -1 left .. 1 right
    if (i >= left.size()) return;
    left[i] += v * std::sqrt(0.5f * (1 - pan));
    right[i] += v * std::sqrt(0.5f * (1 + pan));
  }
};

// Chords of the four-bar progression: Am, F, C, G.
const int kChords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}};
const int kRoots[4] = {45, 41, 48, 43};

void Kick(Track& m, float at) {
  const size_t begin = Frames(at);
  for (size_t i = 0; i < Frames(0.35f); ++i) {
    const float t = float(i) * kDt;
    const float phase = kTwoPi * (45 * t + 105 * 0.03f * (1 - std::exp(-t / 0.03f)));
    const float v = std::sin(phase) * AttackDecay(t, 0.001f, 0.14f) + 0.2f * std::exp(-t / 0.003f);
    m.Add(begin + i, 0.85f * v, 0);
  }
}

void Snare(Track& m, float at, uint64_t seed) {
  Noise noise(seed);
  Filter bp;
  const size_t begin = Frames(at);
  for (size_t i = 0; i < Frames(0.25f); ++i) {
    const float t = float(i) * kDt;
    const float v = 0.5f * bp.Band(noise.Next(), 2500, 0.2f) * AttackDecay(t, 0.001f, 0.07f) +
                    0.35f * std::sin(kTwoPi * 185 * t) * AttackDecay(t, 0.001f, 0.04f);
    m.Add(begin + i, 0.6f * v, 0.1f);
  }
}

void Hat(Track& m, float at, float decay, float level, uint64_t seed) {
  Noise noise(seed);
  Filter hp;
  const size_t begin = Frames(at);
  for (size_t i = 0; i < Frames(decay * 6); ++i) {
    const float t = float(i) * kDt;
    m.Add(begin + i, level * hp.High(noise.Next(), 8000, 0.3f) * AttackDecay(t, 0.0005f, decay),
          -0.3f);
  }
}

void Bass(Track& m, float at, float length, int midi) {
  Oscillator saw(Oscillator::kSaw), sub(Oscillator::kSine);
  Filter lp;
  const size_t begin = Frames(at);
  const float hz = MidiHz(float(midi));
  for (size_t i = 0; i < Frames(length + 0.05f); ++i) {
    const float t = float(i) * kDt;
    const float gate = t < length ? 1.0f : std::exp(-(t - length) / 0.01f);
    const float env = std::min(1.0f, t / 0.003f) * gate;
    const float v = lp.Low(saw.Next(hz), 300 + 1400 * std::exp(-t / 0.06f), 0.55f);
    m.Add(begin + i, 0.42f * env * (v + 0.6f * sub.Next(hz)), 0);
  }
}

void Pluck(Track& m, float at, int midi, float level, float pan, float cutoff) {
  Oscillator sq(Oscillator::kSquare);
  Filter lp;
  const size_t begin = Frames(at);
  const float hz = MidiHz(float(midi));
  for (size_t i = 0; i < Frames(0.3f); ++i) {
    const float t = float(i) * kDt;
    const float env = AttackDecay(t, 0.002f, 0.08f);
    m.Add(begin + i,
          level * env * lp.Low(sq.Next(hz, 0.3f), cutoff * (0.4f + std::exp(-t / 0.05f)), 0.3f),
          pan);
  }
}

void Pad(Track& m, float at, float length, const int chord[3], float level) {
  const size_t begin = Frames(at);
  for (int n = 0; n < 3; ++n) {
    for (int d = 0; d < 2; ++d) {
      Oscillator saw(Oscillator::kSaw, 0.37f * float(n + d));
      Filter lp;
      const float hz = MidiHz(float(chord[n] + 12)) * (d ? 1.004f : 0.996f);
      const float pan = d ? 0.6f : -0.6f;
      for (size_t i = 0; i < Frames(length + 0.6f); ++i) {
        const float t = float(i) * kDt;
        const float env =
            std::min(1.0f, t / 0.25f) * (t < length ? 1.0f : std::exp(-(t - length) / 0.15f));
        m.Add(begin + i, level * env * lp.Low(saw.Next(hz), 1100, 0.1f), pan);
      }
    }
  }
}

float Smooth(float t) {
  return std::min(1.0f, t / 0.3f);
}

struct LeadNote {
  int bar, step, length, midi;
};

void Lead(Track& m, const LeadNote& n) {
  Oscillator saw(Oscillator::kSaw), sq(Oscillator::kSquare, 0.5f);
  Filter lp;
  const float at = float(n.bar) * 4 * kBeat + float(n.step) * kStep;
  const float length = float(n.length) * kStep - 0.02f;
  const size_t begin = Frames(at);
  const float hz = MidiHz(float(n.midi));
  for (size_t i = 0; i < Frames(length + 0.3f); ++i) {
    const float t = float(i) * kDt;
    const float gate = t < length ? 1.0f : std::exp(-(t - length) / 0.06f);
    const float env = std::min(1.0f, t / 0.01f) * (0.75f + 0.25f * std::exp(-t / 0.15f)) * gate;
    const float vib = 1 + 0.005f * std::sin(kTwoPi * 5.5f * t) * Smooth(t);
    const float v = 0.6f * saw.Next(hz * vib) + 0.4f * sq.Next(hz * vib * 0.5f * 1.002f, 0.4f);
    m.Add(begin + i, 0.3f * env * lp.Low(v, 2400 + 1500 * std::exp(-t / 0.1f), 0.25f), 0.15f);
  }
}

const std::vector<LeadNote>& Melody() {
  static const std::vector<LeadNote> notes = {
      {8, 0, 2, 69},   {8, 2, 2, 72},  {8, 4, 4, 76},  {8, 8, 2, 74},   {8, 10, 2, 72},
      {8, 12, 4, 74},  {9, 0, 6, 72},  {9, 6, 2, 69},  {9, 8, 4, 77},   {9, 12, 4, 76},
      {10, 0, 2, 76},  {10, 2, 2, 79}, {10, 4, 4, 76}, {10, 8, 2, 74},  {10, 10, 2, 72},
      {10, 12, 4, 76}, {11, 0, 8, 74}, {11, 8, 4, 71}, {11, 12, 4, 74}, {12, 0, 4, 81},
      {12, 4, 2, 79},  {12, 6, 2, 76}, {12, 8, 4, 79}, {12, 12, 4, 81}, {13, 0, 4, 77},
      {13, 4, 2, 76},  {13, 6, 2, 72}, {13, 8, 8, 69}, {14, 0, 2, 67},  {14, 2, 2, 72},
      {14, 4, 2, 76},  {14, 6, 2, 79}, {14, 8, 4, 76}, {14, 12, 4, 72}, {15, 0, 6, 71}};
  return notes;
}

void Echo2(std::vector<float>& l, std::vector<float>& r, float delay, float feedback, float wet) {
  // Ping-pong: each repeat crosses to the other side.
  const size_t d = Frames(delay);
  std::vector<float> bl(d, 0.0f), br(d, 0.0f);
  size_t pos = 0;
  for (size_t i = 0; i < l.size(); ++i) {
    const float dl = bl[pos], dr = br[pos];
    bl[pos] = l[i] + dr * feedback;
    br[pos] = r[i] * 0.3f + dl * feedback;
    pos = (pos + 1) % d;
    l[i] += dl * wet;
    r[i] += dr * wet;
  }
}

}  // namespace

Samples MakeMusic() {
  const size_t frames = Frames(kLength);
  Track drums(frames), bass(frames), synths(frames), pads(frames);
  uint64_t seed = 1;
  for (int bar = 0; bar < kBars; ++bar) {
    const float t0 = float(bar) * 4 * kBeat;
    const int c = bar % 4;
    const bool last = bar == kBars - 1;
    // Pad: the chord for the whole bar; the last bar's chord dies away.
    Pad(pads, t0, last ? 0.4f : 4 * kBeat - 0.1f, kChords[c], 0.05f);
    // Arpeggio: up and down the chord over two octaves, sixteenths; opens up over the intro.
    const int tones[6] = {kChords[c][0] + 12, kChords[c][1] + 12, kChords[c][2] + 12,
                          kChords[c][0] + 24, kChords[c][1] + 24, kChords[c][2] + 24};
    const int order[16] = {0, 1, 2, 3, 4, 5, 4, 3, 1, 2, 3, 4, 5, 4, 3, 2};
    const float cutoff = 900 + 2600 * std::min(1.0f, float(bar) / 6);
    for (int s = 0; s < (last ? 1 : 16); ++s)
      Pluck(synths, t0 + float(s) * kStep, tones[order[s]], 0.2f, s % 2 ? 0.35f : -0.35f, cutoff);
    // Hats from bar 3, drums and bass from bar 5.
    if (bar >= 2 && !last) {
      for (int s = 0; s < 16; ++s) {
        const bool open = s % 4 == 2;
        Hat(drums, t0 + float(s) * kStep, open ? 0.07f : 0.02f, s % 2 ? 0.16f : 0.22f, seed++);
      }
    }
    if (bar >= 4) {
      for (int b = 0; b < (last ? 1 : 4); ++b) Kick(drums, t0 + float(b) * kBeat);
      if (!last) {
        Snare(drums, t0 + kBeat, seed++);
        Snare(drums, t0 + 3 * kBeat, seed++);
        if (bar % 4 == 3) Snare(drums, t0 + 3.75f * kBeat, seed++);
      }
      // Bass: eighths, octave jumps on the off-beats.
      for (int e = 0; e < (last ? 1 : 8); ++e) {
        const int note = kRoots[c] + (e % 2 ? 12 : 0);
        Bass(bass, t0 + float(e) * kBeat / 2, last ? 1.0f : kBeat / 2 - 0.03f, note);
      }
    }
  }
  for (const LeadNote& n : Melody()) Lead(synths, n);
  // Dotted-eighth ping-pong echo on the synths.
  Echo2(synths.left, synths.right, 3 * kStep, 0.35f, 0.35f);

  Samples out(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    const float l = drums.left[i] + bass.left[i] + synths.left[i] + pads.left[i];
    const float r = drums.right[i] + bass.right[i] + synths.right[i] + pads.right[i];
    // Gentle saturation keeps the peaks round.
    out[2 * i] = std::tanh(l * 1.1f);
    out[2 * i + 1] = std::tanh(r * 1.1f);
  }
  // The last bar rings out; the final beat fades to silence for a clean restart.
  FadeEdges(out, 0.01f, 1.2f, 2);
  Normalize(out, -3);
  return out;
}
