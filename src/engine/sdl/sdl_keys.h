// The game's keyboard scan codes (the classic PC set 1 numbering: 1 Escape, 28 Enter, 30 A, 200 Up
// ...) and the keyboard state that IsKeyDown and IsKeyHit read.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

// The SDL scancode (a physical key position) of one of the game's scan codes;
// SDL_SCANCODE_UNKNOWN when the code names no key.
SDL_Scancode ScancodeForKey(int16_t scanCode);

// Held keys and fresh presses, from the keyboard and from gamepads. A press counts once: it is
// seen in the latest pump of events and is consumed when read; a press nobody read before the
// next pump is dropped. A key is held while the keyboard or a pad holds it.
class KeyState {
 public:
  // A new pump of events begins: presses from the previous one are forgotten.
  void BeginPump() {
    hits_.fill(false);
    shared_ = {SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_UNKNOWN};
  }
  void Press(SDL_Scancode key, bool repeat);
  void Release(SDL_Scancode key);
  // What the gamepads hold; a key they start holding is a press.
  void SetPadHeld(SDL_Scancode key, bool held);
  // One press that counts for whichever of the two keys is asked first, and then for neither.
  void PressShared(SDL_Scancode first, SDL_Scancode second) { shared_ = {first, second}; }
  // The window lost the keyboard: nothing stays held.
  void ReleaseAll() {
    held_.fill(false);
    padHeld_.fill(false);
  }

  bool IsDown(int16_t scanCode) const;
  bool TakeHit(int16_t scanCode);

 private:
  std::array<bool, SDL_NUM_SCANCODES> held_{};
  std::array<bool, SDL_NUM_SCANCODES> padHeld_{};
  std::array<bool, SDL_NUM_SCANCODES> hits_{};
  std::array<SDL_Scancode, 2> shared_{SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_UNKNOWN};
};
