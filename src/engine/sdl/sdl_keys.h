// The game's keyboard scan codes (the classic PC set 1 numbering: 1 Escape, 28 Enter, 30 A, 200 Up
// ...) and the keyboard state that IsKeyDown and IsKeyHit read.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "engine/common/key_presses.h"

// The SDL scancode (a physical key position) of one of the game's scan codes;
// SDL_SCANCODE_UNKNOWN when the code names no key.
SDL_Scancode ScancodeForKey(int16_t scanCode);

// Held keys and fresh presses by SDL scancode (a key position), asked for by the game's scan
// codes.
class KeyState : public KeyPresses<SDL_NUM_SCANCODES> {
 public:
  bool IsDown(int16_t scanCode) const { return KeyPresses::IsDown(ScancodeForKey(scanCode)); }
  bool TakeHit(int16_t scanCode) { return KeyPresses::TakeHit(ScancodeForKey(scanCode)); }
};
