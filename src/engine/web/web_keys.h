// Keys in the browser: KeyboardEvent.code (a physical key position: "KeyA", "ArrowUp", "Enter")
// as the game's scan codes (the classic PC set 1 numbering of engine.h, the table the desktop
// uses), and the key state IsKeyDown and IsKeyHit read.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The game's scan code of a key position; 0 when the game has none for it.
int16_t ScanCodeForCode(std::string_view code);

// Held keys and fresh presses, from the keyboard and from gamepads. A press counts once: it is
// seen in the latest look at the events and is consumed when read; a press nobody read before the
// next look is dropped. A key is held while the keyboard or a pad holds it.
class WebKeyState {
 public:
  static constexpr int kKeys = 256;

  // A new look at the events begins: presses from the previous one are forgotten.
  void BeginPump() {
    hits_.fill(false);
    shared_ = {0, 0};
  }
  void Press(int16_t key, bool repeat);
  void Release(int16_t key);
  // What the gamepads hold; a key they start holding is a press.
  void SetPadHeld(int16_t key, bool held);
  // One press that counts for whichever of the two keys is asked first, and then for neither.
  void PressShared(int16_t first, int16_t second) { shared_ = {first, second}; }
  // The page lost the focus: nothing stays held.
  void ReleaseAll() {
    held_.fill(false);
    padHeld_.fill(false);
  }

  bool IsDown(int16_t key) const;
  bool TakeHit(int16_t key);

 private:
  static bool Valid(int16_t key) { return key > 0 && key < kKeys; }

  std::array<bool, kKeys> held_{};
  std::array<bool, kKeys> padHeld_{};
  std::array<bool, kKeys> hits_{};
  std::array<int16_t, 2> shared_{0, 0};
};
