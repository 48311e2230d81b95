// The checker the real-window tour uses to tell whether the game made its sounds: fed recordings
// made here, with music and effects put in at known buffers and loudness, it must hear exactly
// the effects that were played, also where they overlap, and refuse silence and missing effects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBuffer = 1024;  // the game's sound buffer: every sound starts at one

using Samples = std::vector<float>;

// Noise shaped by a falling envelope: like the game's effects, loud at once, then dying away.
Samples Burst(unsigned seed, double seconds, double peak) {
  std::mt19937 random(seed);
  std::normal_distribution<float> noise(0.0f, 1.0f);
  Samples sound(static_cast<size_t>(seconds * kRate));
  for (size_t i = 0; i < sound.size(); ++i) {
    double fade = 1.0 - static_cast<double>(i) / static_cast<double>(sound.size());
    sound[i] = static_cast<float>(peak * fade * noise(random) / 3.0);
  }
  return sound;
}

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int b = 0; b < bytes; ++b) out += static_cast<char>((value >> (8 * b)) & 0xff);
}

int16_t Clamp16(float x) {
  return static_cast<int16_t>(std::lround(std::fmax(-32768.0f, std::fmin(32767.0f, x))));
}

// A mono 16-bit 44100 Hz WAV file.
std::string Wav(const Samples& sound) {
  std::string data;
  for (float x : sound) PutLe(data, static_cast<uint16_t>(Clamp16(x)), 2);
  std::string out = "RIFF";
  PutLe(out, static_cast<uint32_t>(36 + data.size()), 4);
  out += "WAVEfmt ";
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 1, 2);  // mono
  PutLe(out, kRate, 4);
  PutLe(out, kRate * 2, 4);
  PutLe(out, 2, 2);
  PutLe(out, 16, 2);
  out += "data";
  PutLe(out, static_cast<uint32_t>(data.size()), 4);
  return out + data;
}

// What SDL's disk audio driver writes: raw 16-bit stereo frames.
std::string Raw(const Samples& mix) {
  std::string out;
  for (float x : mix) {
    uint16_t sample = static_cast<uint16_t>(Clamp16(x));
    PutLe(out, sample, 2);
    PutLe(out, sample, 2);
  }
  return out;
}

void Play(Samples& mix, const Samples& sound, int buffer, double gain) {
  for (size_t i = 0; i < sound.size() && buffer * kBuffer + i < mix.size(); ++i) {
    mix[buffer * kBuffer + i] += static_cast<float>(gain * sound[i]);
  }
}

struct Recording {
  test::TempFolder folder;
  Samples music = Burst(1, 6.0, 9000);
  Samples enter = Burst(2, 0.9, 12000);
  Samples fire = Burst(3, 0.07, 12000);
  Samples bonus = Burst(4, 0.3, 12000);
  Samples mix = Samples(6 * kRate);

  Recording() {
    test::WriteFile(folder / "music.wav", Wav(music));
    test::WriteFile(folder / "enter.wav", Wav(enter));
    test::WriteFile(folder / "fire.wav", Wav(fire));
    test::WriteFile(folder / "bonus.wav", Wav(bonus));
  }

  // Runs the checker on the mix, wanting the music and "enter", "fire" and "bonus" as often as
  // given.
  test::CommandResult Check(int enterWanted, int fireWanted, int bonusWanted) {
    test::WriteFile(folder / "sound.raw", Raw(mix));
    auto wav = [&](const char* name) { return " '" + (folder / name).string() + "' "; };
    return test::RunCommand(std::string(SWAYFIRE_BUILD_DIR) + "/tests/audio_check '" +
                            (folder / "sound.raw").string() + "'" + wav("music.wav") + "4" +
                            wav("enter.wav") + std::to_string(enterWanted) + wav("fire.wav") +
                            std::to_string(fireWanted) + wav("bonus.wav") +
                            std::to_string(bonusWanted) + " 2>&1");
  }
};

bool Says(const test::CommandResult& run, const std::string& text) {
  return run.output.find(text) != std::string::npos;
}

TEST(AudioCheck, HearsEveryPlayOfAnEffectAlsoWhereSoundsOverlap) {
  Recording r;
  Play(r.mix, r.music, 1, 0.9);
  Play(r.mix, r.enter, 100, 0.8);
  Play(r.mix, r.fire, 102, 0.8);  // two shots while "enter" still rings: one louder play
  Play(r.mix, r.fire, 102, 0.8);
  Play(r.mix, r.fire, 200, 0.8);  // a shot in each of two buffers in a row
  Play(r.mix, r.fire, 201, 0.8);
  Play(r.mix, r.enter, 230, 0.5);
  test::CommandResult run = r.Check(2, 3, 0);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(Says(run, "enter.wav: heard 2 times")) << run.output;
  EXPECT_TRUE(Says(run, "fire.wav: heard 3 times")) << run.output;
  EXPECT_TRUE(Says(run, "bonus.wav: heard 0 times")) << run.output;
}

TEST(AudioCheck, FailsWhenAnEffectTheGameShouldHavePlayedIsMissing) {
  Recording r;
  Play(r.mix, r.music, 1, 0.9);
  Play(r.mix, r.enter, 100, 0.8);
  Play(r.mix, r.fire, 140, 0.8);
  test::CommandResult run = r.Check(1, 2, 1);
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_TRUE(Says(run, "fire.wav: heard 1 times (at least 2 wanted)")) << run.output;
  EXPECT_TRUE(Says(run, "FAIL: " + (r.folder / "bonus.wav").string() + " is not heard"))
      << run.output;
  EXPECT_FALSE(Says(run, "enter.wav is not heard")) << run.output;
}

TEST(AudioCheck, FailsOnSilenceAndOnEffectsWithoutTheMusic) {
  Recording silent;
  test::CommandResult run = silent.Check(0, 0, 0);
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_TRUE(Says(run, "the recording is silent")) << run.output;

  Recording noMusic;
  Play(noMusic.mix, noMusic.enter, 10, 0.8);
  Play(noMusic.mix, noMusic.fire, 100, 0.8);
  run = noMusic.Check(1, 1, 0);
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_TRUE(Says(run, "the music is not in the recording")) << run.output;
}

}  // namespace
