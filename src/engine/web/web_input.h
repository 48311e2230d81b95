// The game's window in the browser, as far as input goes: keys and focus from the page's queue
// (web/pre.js) and gamepads through the browser's Gamepad API, read at every look at the events
// (Platform::DoEvents and Engine::EndFrame).
//
// Gamepads with the browser's standard mapping press the game's own keys, as on the desktop:
//   D-pad and left stick            the arrow keys
//   face buttons, by position       West A, East D, North W, South S (fire left, right, up, down)
//   right stick                     A, D, W, S in the direction it is pushed
//   Start                           P in a game, Enter in the menu (one press shared by both)
//   Back                            Escape
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/common/pad_layout.h"
#include "engine/web/web_keys.h"

// One pad as the browser reports it (standard mapping): buttons by index, axes -1..1.
struct PadReading {
  std::array<bool, 17> buttons{};
  std::array<double, 4> axes{};
};

class WebInput {
 public:
  // Reads the queued events and the pads: presses of the previous look are forgotten.
  void Pump();
  // Applies queued event lines ("d KeyA", "u KeyA", "r KeyA", "f"); Pump's keyboard half.
  void ApplyEvents(std::string_view lines);
  // Applies what the pads hold now (index = the browser's gamepad index); Pump's other half.
  void ApplyPads(const std::vector<PadReading>& pads);

  WebKeyState& Keys() { return keys_; }
  // True once when the page lost the focus in the latest look at the events.
  bool TakeFocusLoss();

 private:
  struct Pad {
    std::array<bool, 17> buttons{};
    std::array<int, 4> axes{};  // -1, 0, +1
    // Held when the page lost the focus: they count again once let go and pressed anew.
    std::array<bool, 17> buttonsBlocked{};
    std::array<bool, 4> axesBlocked{};
  };
  void ReleaseAll();

  WebKeyState keys_;
  std::vector<Pad> pads_;
  PadHeldKeys padKeys_;
  bool focusLost_ = false;
};
