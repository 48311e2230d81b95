// The game's scan codes on SDL's key positions and the keyboard state.
#include <gtest/gtest.h>

#include <set>

#include "engine/engine.h"
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
