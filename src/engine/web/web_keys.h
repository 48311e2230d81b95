// Keys in the browser: KeyboardEvent.code (a physical key position: "KeyA", "ArrowUp", "Enter")
// as the game's scan codes (the classic PC set 1 numbering of engine.h, the table the desktop
// uses), and the key state IsKeyDown and IsKeyHit read.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/common/key_presses.h"

// The game's scan code of a key position; 0 when the game has none for it.
int16_t ScanCodeForCode(std::string_view code);

// Held keys and fresh presses, by the game's scan codes.
using WebKeyState = KeyPresses<256>;
