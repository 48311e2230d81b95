// The game's keyboard scan codes (the classic PC set 1 numbering: 1 Escape, 28 Enter, 30 A, 200 Up
// ...) and the keyboard state that IsKeyDown and IsKeyHit read.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

// The SDL scancode (a physical key position) of one of the game's scan codes;
// SDL_SCANCODE_UNKNOWN when the code names no key.
SDL_Scancode ScancodeForKey(int16_t scanCode);

// Held keys and fresh presses. A press counts once: it is seen in the latest pump of events and
// is consumed when read; a press nobody read before the next pump is dropped.
class KeyState {
 public:
  // A new pump of events begins: presses from the previous one are forgotten.
  void BeginPump() { hits_.fill(false); }
  void Press(SDL_Scancode key, bool repeat);
  void Release(SDL_Scancode key);
  // The window lost the keyboard: nothing stays held.
  void ReleaseAll() { held_.fill(false); }

  bool IsDown(int16_t scanCode) const;
  bool TakeHit(int16_t scanCode);

 private:
  std::array<bool, SDL_NUM_SCANCODES> held_{};
  std::array<bool, SDL_NUM_SCANCODES> hits_{};
};
