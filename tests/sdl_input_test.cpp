// The game's scan codes on SDL's key positions, the keyboard state, and the pacing schedule.
#include <gtest/gtest.h>

#include <set>

#include "engine/engine.h"
#include "engine/sdl/frame_pacer.h"
#include "engine/sdl/sdl_keys.h"

TEST(SdlKeys, GameScanCodesAreThePhysicalKeys) {
  EXPECT_EQ(ScancodeForKey(Key::Escape), SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(ScancodeForKey(Key::Enter), SDL_SCANCODE_RETURN);
  EXPECT_EQ(ScancodeForKey(Key::Space), SDL_SCANCODE_SPACE);
  EXPECT_EQ(ScancodeForKey(Key::A), SDL_SCANCODE_A);
  EXPECT_EQ(ScancodeForKey(Key::S), SDL_SCANCODE_S);
  EXPECT_EQ(ScancodeForKey(Key::D), SDL_SCANCODE_D);
  EXPECT_EQ(ScancodeForKey(Key::W), SDL_SCANCODE_W);
  EXPECT_EQ(ScancodeForKey(Key::P), SDL_SCANCODE_P);
  EXPECT_EQ(ScancodeForKey(Key::T), SDL_SCANCODE_T);
  EXPECT_EQ(ScancodeForKey(Key::H), SDL_SCANCODE_H);
  EXPECT_EQ(ScancodeForKey(Key::E), SDL_SCANCODE_E);
  EXPECT_EQ(ScancodeForKey(Key::R), SDL_SCANCODE_R);
  EXPECT_EQ(ScancodeForKey(Key::Up), SDL_SCANCODE_UP);
  EXPECT_EQ(ScancodeForKey(Key::Down), SDL_SCANCODE_DOWN);
  EXPECT_EQ(ScancodeForKey(Key::Left), SDL_SCANCODE_LEFT);
  EXPECT_EQ(ScancodeForKey(Key::Right), SDL_SCANCODE_RIGHT);
  EXPECT_EQ(ScancodeForKey(2), SDL_SCANCODE_1);
  EXPECT_EQ(ScancodeForKey(11), SDL_SCANCODE_0);
  EXPECT_EQ(ScancodeForKey(44), SDL_SCANCODE_Z);
  EXPECT_EQ(ScancodeForKey(50), SDL_SCANCODE_M);
  EXPECT_EQ(ScancodeForKey(59), SDL_SCANCODE_F1);
  EXPECT_EQ(ScancodeForKey(68), SDL_SCANCODE_F10);
  EXPECT_EQ(ScancodeForKey(87), SDL_SCANCODE_F11);
  EXPECT_EQ(ScancodeForKey(156), SDL_SCANCODE_KP_ENTER);
  EXPECT_EQ(ScancodeForKey(199), SDL_SCANCODE_HOME);
  EXPECT_EQ(ScancodeForKey(211), SDL_SCANCODE_DELETE);
  for (int16_t nothing : {0, 84, 255, 256, -1, 32767}) {
    EXPECT_EQ(ScancodeForKey(nothing), SDL_SCANCODE_UNKNOWN) << nothing;
  }
  // No two codes share a key.
  std::set<SDL_Scancode> seen;
  for (int16_t code = 0; code < 256; ++code) {
    SDL_Scancode key = ScancodeForKey(code);
    if (key != SDL_SCANCODE_UNKNOWN) {
      EXPECT_TRUE(seen.insert(key).second) << code;
    }
  }
}

TEST(SdlKeys, APressIsHitOnceAndDroppedWhenNotReadInTime) {
  KeyState keys;
  keys.BeginPump();
  keys.Press(SDL_SCANCODE_A, false);
  keys.Press(SDL_SCANCODE_D, false);
  keys.Release(SDL_SCANCODE_D);  // pressed and let go between two frames: still one press
  EXPECT_TRUE(keys.IsDown(Key::A));
  EXPECT_FALSE(keys.IsDown(Key::D));
  EXPECT_TRUE(keys.TakeHit(Key::D));
  EXPECT_TRUE(keys.TakeHit(Key::A));
  EXPECT_FALSE(keys.TakeHit(Key::A));

  keys.BeginPump();
  keys.Press(SDL_SCANCODE_A, true);  // held long enough to repeat: not a new press
  keys.Press(SDL_SCANCODE_SPACE, false);
  EXPECT_FALSE(keys.TakeHit(Key::A));
  keys.BeginPump();
  EXPECT_FALSE(keys.TakeHit(Key::Space));  // nobody asked during its frame
  EXPECT_TRUE(keys.IsDown(Key::Space));

  keys.ReleaseAll();  // the window lost the keyboard
  EXPECT_FALSE(keys.IsDown(Key::A));
  EXPECT_FALSE(keys.IsDown(Key::Space));
  keys.Press(SDL_SCANCODE_UNKNOWN, false);
  EXPECT_FALSE(keys.IsDown(0));
  EXPECT_FALSE(keys.TakeHit(-5));
}

TEST(FramePacer, SixtyFramesASecondWithoutDrift) {
  FramePacer pacer;
  const int64_t start = 5'000'000'000;
  int64_t now = start;
  int64_t deadline = 0;
  // Frames that take no time: each waits for its slot, exactly k / 60 s after the start.
  for (int frame = 1; frame <= 600; ++frame) {
    deadline = pacer.NextDeadline(now);
    EXPECT_EQ(deadline, start + frame * FramePacer::kSecond / 60) << frame;
    now = deadline;
  }
  EXPECT_EQ(deadline, start + 10 * FramePacer::kSecond);  // 600 frames: ten seconds exactly
}

TEST(FramePacer, LateFramesCatchUpAndLongStallsRestart) {
  FramePacer pacer;
  const int64_t period = FramePacer::kSecond / 60;
  int64_t now = 0;
  EXPECT_EQ(pacer.NextDeadline(now), FramePacer::kSecond / 60);
  // A frame 5 ms late: no wait now, the schedule stays.
  now = 2 * period + 5'000'000;
  const int64_t due = pacer.NextDeadline(now);
  EXPECT_LE(due, now);
  EXPECT_EQ(due, 2 * FramePacer::kSecond / 60);
  EXPECT_EQ(pacer.NextDeadline(now), 3 * FramePacer::kSecond / 60);
  // Half a second of loading: start afresh instead of rushing 30 frames.
  now = FramePacer::kSecond;
  EXPECT_EQ(pacer.NextDeadline(now), now);
  EXPECT_EQ(pacer.NextDeadline(now), now + FramePacer::kSecond / 60);

  // A message box held the game for 80 ms, too short to count as a stall: once it is closed the
  // schedule starts afresh, so the passes go on at their pace instead of rushing five frames.
  now += 80'000'000;
  pacer.Restart();
  EXPECT_EQ(pacer.NextDeadline(now), now + period);
  EXPECT_EQ(pacer.NextDeadline(now + period), now + 2 * FramePacer::kSecond / 60);
}
