// Gamepads press the game's own keys: the mapping, how pad and keyboard share a key, and whole
// pads plugged in and out through SDL's virtual joystick.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <utility>

#include "engine/engine.h"
#include "engine/sdl/sdl_audio.h"
#include "engine/sdl/sdl_backend.h"
#include "engine/sdl/sdl_gamepad.h"
#include "engine/sdl/sdl_keys.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/sdl_window.h"

namespace {

TEST(GamepadMapping, ButtonsByPositionAndSticksByDirection) {
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_DPAD_UP), Key::Up);
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN), Key::Down);
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT), Key::Left);
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), Key::Right);
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_X), Key::A);  // west: fire left
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_B), Key::D);  // east: fire right
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_Y), Key::W);  // north: fire up
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_A), Key::S);  // south: fire down
  EXPECT_EQ(KeyForButton(SDL_CONTROLLER_BUTTON_BACK), Key::Escape);
  for (int unused :
       {int{SDL_CONTROLLER_BUTTON_START}, int{SDL_CONTROLLER_BUTTON_GUIDE},
        int{SDL_CONTROLLER_BUTTON_LEFTSHOULDER}, int{SDL_CONTROLLER_BUTTON_RIGHTSTICK}, -1, 99}) {
    EXPECT_EQ(KeyForButton(unused), 0) << unused;
  }
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_LEFTX).negative, Key::Left);
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_LEFTX).positive, Key::Right);
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_LEFTY).negative, Key::Up);
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_LEFTY).positive, Key::Down);
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_RIGHTX).negative, Key::A);
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_RIGHTX).positive, Key::D);
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_RIGHTY).negative, Key::W);
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_RIGHTY).positive, Key::S);
  EXPECT_EQ(KeysForAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT).positive, 0);
}

TEST(GamepadMapping, SticksHaveADeadZoneAndDoNotChatterAtItsEdge) {
  EXPECT_EQ(AxisDirection(0, 0), 0);
  EXPECT_EQ(AxisDirection(8000, 0), 0);  // a worn stick's drift
  EXPECT_EQ(AxisDirection(-8000, 0), 0);
  EXPECT_EQ(AxisDirection(13107, 0), 1);  // 40 % of 32767 is 13106.8
  EXPECT_EQ(AxisDirection(13106, 0), 0);
  EXPECT_EQ(AxisDirection(-32768, 0), -1);
  EXPECT_EQ(AxisDirection(32767, 0), 1);
  // Once pushed, it stays pushed until it comes back within the release mark (30 %: 9830.1).
  EXPECT_EQ(AxisDirection(9831, 1), 1);
  EXPECT_EQ(AxisDirection(9830, 1), 0);
  EXPECT_EQ(AxisDirection(-9831, -1), -1);
  EXPECT_EQ(AxisDirection(9831, -1), 0);
  EXPECT_EQ(AxisDirection(9831, 0), 0);     // not yet pushed: not far enough
  EXPECT_EQ(AxisDirection(-13107, 1), -1);  // flicked across
}

TEST(GamepadKeys, PadAndKeyboardShareAKeyWithoutTakingItFromEachOther) {
  KeyState keys;
  keys.BeginPump();
  keys.Press(SDL_SCANCODE_A, false);
  keys.SetPadHeld(SDL_SCANCODE_A, true);
  keys.SetPadHeld(SDL_SCANCODE_A, false);  // the pad lets go; the keyboard still holds A
  EXPECT_TRUE(keys.IsDown(Key::A));
  EXPECT_TRUE(keys.TakeHit(Key::A));
  keys.Release(SDL_SCANCODE_A);
  EXPECT_FALSE(keys.IsDown(Key::A));

  keys.BeginPump();
  keys.SetPadHeld(SDL_SCANCODE_UP, true);
  EXPECT_TRUE(keys.TakeHit(Key::Up));  // starting to hold is a press
  keys.BeginPump();
  keys.SetPadHeld(SDL_SCANCODE_UP, true);  // still held: no new press
  EXPECT_FALSE(keys.TakeHit(Key::Up));
  EXPECT_TRUE(keys.IsDown(Key::Up));
  keys.ReleaseAll();
  EXPECT_FALSE(keys.IsDown(Key::Up));
}

TEST(GamepadKeys, StartIsOnePressForWhicheverOfPAndEnterIsAskedFirst) {
  KeyState keys;
  // In a game: P is asked, so P gets it, and nothing is left for Enter.
  keys.BeginPump();
  keys.PressShared(SDL_SCANCODE_P, SDL_SCANCODE_RETURN);
  EXPECT_TRUE(keys.TakeHit(Key::P));
  EXPECT_FALSE(keys.TakeHit(Key::Enter));
  EXPECT_FALSE(keys.TakeHit(Key::P));
  // In the menu: Enter is asked, and the game started by it does not find a P on its first pass.
  keys.BeginPump();
  keys.PressShared(SDL_SCANCODE_P, SDL_SCANCODE_RETURN);
  EXPECT_FALSE(keys.TakeHit(Key::Space));
  EXPECT_TRUE(keys.TakeHit(Key::Enter));
  EXPECT_FALSE(keys.TakeHit(Key::P));
  // Not read in its own pump: gone, like any press.
  keys.PressShared(SDL_SCANCODE_P, SDL_SCANCODE_RETURN);
  keys.BeginPump();
  EXPECT_FALSE(keys.TakeHit(Key::P));
  EXPECT_FALSE(keys.IsDown(Key::P));  // Start is a press, never a held P or Enter
  // A keyboard P in the same pump is a press of its own.
  keys.Press(SDL_SCANCODE_P, false);
  keys.PressShared(SDL_SCANCODE_P, SDL_SCANCODE_RETURN);
  EXPECT_TRUE(keys.TakeHit(Key::P));
  EXPECT_TRUE(keys.TakeHit(Key::P));
}

// A whole pad on SDL's virtual joystick driver, read through the window's event pump.
class VirtualPadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseOffscreenSdl();
    // The offscreen window never has the focus; pads must still be heard.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    system_ = std::make_unique<SdlSystem>();
    if (!system_->Ok()) GTEST_SKIP() << "no offscreen video: " << system_->Error();
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) GTEST_SKIP() << "no game controllers";
    window_ = std::make_unique<SdlWindow>();
    window_->Open(false);
  }
  void TearDown() override {
    Unplug();
    window_.reset();
    system_.reset();
  }

  void Plug() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Test Pad";
    index_ = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index_, 0) << SDL_GetError();
    joystick_ = SDL_JoystickOpen(index_);
    ASSERT_NE(joystick_, nullptr) << SDL_GetError();
    window_->Pump();
  }
  void Unplug() {
    if (joystick_ == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    window_->Pump();
  }
  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  void Axis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, value);
  }
  // One frame: the pads' news arrive with the window's events.
  void Frame() { window_->Pump(); }
  // Buttons pressed or let go together, then one frame.
  void Buttons(std::initializer_list<std::pair<SDL_GameControllerButton, bool>> changes) {
    for (auto [button, down] : changes) Button(button, down);
    Frame();
  }
  bool Down(int16_t key) { return window_->Keys().IsDown(key); }
  bool Hit(int16_t key) { return window_->Keys().TakeHit(key); }

  std::unique_ptr<SdlSystem> system_;
  std::unique_ptr<SdlWindow> window_;
  int index_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

TEST_F(VirtualPadTest, APadPluggedInMovesAndFiresThroughTheGamesKeys) {
  EXPECT_EQ(window_->Pads().Count(), 0u);
  Plug();
  ASSERT_EQ(window_->Pads().Count(), 1u);

  Buttons({{SDL_CONTROLLER_BUTTON_DPAD_UP, true}, {SDL_CONTROLLER_BUTTON_X, true}});
  EXPECT_TRUE(Down(Key::Up));
  EXPECT_TRUE(Hit(Key::Up));
  EXPECT_TRUE(Hit(Key::A));  // west fires left
  EXPECT_FALSE(Hit(Key::A));
  Frame();
  EXPECT_TRUE(Down(Key::Up));  // still held, not pressed again
  EXPECT_FALSE(Hit(Key::Up));
  Buttons({{SDL_CONTROLLER_BUTTON_DPAD_UP, false},
           {SDL_CONTROLLER_BUTTON_X, false},
           {SDL_CONTROLLER_BUTTON_A, true}});
  EXPECT_FALSE(Down(Key::Up));
  EXPECT_FALSE(Down(Key::A));
  EXPECT_TRUE(Hit(Key::S));  // south fires down
  Button(SDL_CONTROLLER_BUTTON_A, false);

  // The left stick steers beyond its dead zone; the right one fires where it points.
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 5000);
  Frame();
  EXPECT_FALSE(Down(Key::Right));
  Axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
  Axis(SDL_CONTROLLER_AXIS_LEFTY, -30000);
  Axis(SDL_CONTROLLER_AXIS_RIGHTX, -32768);
  Frame();
  EXPECT_TRUE(Down(Key::Right));
  EXPECT_TRUE(Down(Key::Up));
  EXPECT_TRUE(Hit(Key::A));
  Axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
  Axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
  Frame();
  EXPECT_TRUE(Hit(Key::S));
  EXPECT_FALSE(Down(Key::A));

  // Back is Escape; Start is P or Enter.
  Buttons({{SDL_CONTROLLER_BUTTON_BACK, true}, {SDL_CONTROLLER_BUTTON_START, true}});
  EXPECT_TRUE(Hit(Key::Escape));
  EXPECT_TRUE(Hit(Key::Enter));
  EXPECT_FALSE(Hit(Key::P));
}

TEST_F(VirtualPadTest, PullingAPadOutOrLeavingTheWindowLetsGoOfWhatItHeld) {
  Plug();
  ASSERT_EQ(window_->Pads().Count(), 1u);
  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  Axis(SDL_CONTROLLER_AXIS_RIGHTY, -30000);
  Frame();
  ASSERT_TRUE(Down(Key::Left));
  ASSERT_TRUE(Down(Key::W));

  SDL_Event focus{};
  focus.type = SDL_WINDOWEVENT;
  focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  focus.window.windowID = SDL_GetWindowID(window_->Get());
  SDL_PushEvent(&focus);
  Frame();
  EXPECT_FALSE(Down(Key::Left));
  EXPECT_FALSE(Down(Key::W));
  // The game hears of it once, through the platform.
  SdlAudio audio;
  SdlPlatform platform(*window_, audio, ".");
  EXPECT_TRUE(platform.LostFocus());
  EXPECT_FALSE(platform.LostFocus());

  Frame();
  EXPECT_FALSE(platform.LostFocus());  // a new pump without a loss

  // Pressed again after coming back: it counts again.
  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  Frame();
  Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  Frame();
  EXPECT_TRUE(Down(Key::Left));
  EXPECT_TRUE(Hit(Key::Left));

  Unplug();
  EXPECT_EQ(window_->Pads().Count(), 0u);
  EXPECT_FALSE(Down(Key::Left));

  // Plugged in again while the game runs.
  Plug();
  EXPECT_EQ(window_->Pads().Count(), 1u);
  Button(SDL_CONTROLLER_BUTTON_B, true);
  Frame();
  EXPECT_TRUE(Hit(Key::D));
}

TEST_F(VirtualPadTest, F11AndAltEnterSwitchFullScreenWithoutTheGameSeeingThem) {
  auto press = [](SDL_Scancode key, Uint16 mod) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = key;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
  };
  auto full = [this] {
    return (SDL_GetWindowFlags(window_->Get()) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
           SDL_WINDOW_FULLSCREEN_DESKTOP;
  };
  // A busy display confirms a switch in its own time: pump until it has (three seconds at most).
  auto settles = [&](bool wanted) {
    for (int i = 0; i < 300 && full() != wanted; ++i) {
      SDL_Delay(10);
      Frame();
    }
    return full() == wanted;
  };
  ASSERT_FALSE(full());
  press(SDL_SCANCODE_F11, 0);
  Frame();
  EXPECT_FALSE(Hit(87));  // the game's code for F11
  EXPECT_FALSE(Down(87));
  EXPECT_TRUE(settles(true));
  // A switch waits for the last one to settle (the display may still be busy with it).
  SDL_Delay(FullScreenSwitch::kSettleMilliseconds);
  press(SDL_SCANCODE_RETURN, KMOD_LALT);
  Frame();
  EXPECT_FALSE(Hit(Key::Enter));
  EXPECT_TRUE(settles(false));
  SDL_Delay(FullScreenSwitch::kSettleMilliseconds);
  press(SDL_SCANCODE_F11, 0);
  Frame();
  EXPECT_TRUE(settles(true));
}

}  // namespace
