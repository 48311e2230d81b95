// Gamepads through SDL's GameController API, plugged in and out at any time. They press the
// game's own keys, so the game never knows a pad is there:
//   D-pad and left stick            the arrow keys
//   face buttons, by position       West A, East D, North W, South S (fire left, right, up, down)
//   right stick                     A, D, W, S in the direction it is pushed
//   Start                           P in a game, Enter in the menu
//   Back                            Escape
// Start is one press shared by P and Enter: it counts for whichever of the two the game asks for
// first, then for neither. A game asks only for P (pause) and the menu only for Enter, so Start
// pauses a game and starts one from the menu, and a press that starts a game cannot also pause
// it on the game's first pass.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/common/pad_layout.h"
#include "engine/sdl/sdl_keys.h"

// The game's scan code for a pad button; 0 for none (Start is not a key of its own, see above).
int16_t KeyForButton(int button);
// The game's scan codes for a stick's axis pushed towards its negative and its positive end
// (left or up, right or down); 0 and 0 for the triggers.
AxisKeys KeysForAxis(int axis);
// Where a stick's axis points now (-1, 0 or +1) at SDL's value for it (-32768 to 32767), given
// where it pointed before.
int AxisDirection(int value, int before);

class Gamepads {
 public:
  explicit Gamepads(KeyState& keys) : keys_(keys) {}
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;
  ~Gamepads();

  // Takes a pad's event (plugged in or out, a button, an axis); false for any other event.
  bool Handle(const SDL_Event& event);
  // Lets go of everything the pads hold (the window lost the focus). A control still held counts
  // again once it moves.
  void ReleaseAll();
  size_t Count() const { return pads_.size(); }

 private:
  struct Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    std::array<bool, SDL_CONTROLLER_BUTTON_MAX> buttons{};
    std::array<int, SDL_CONTROLLER_AXIS_MAX> axes{};  // -1, 0, +1
  };
  Pad* Find(SDL_JoystickID id);
  // Tells the key state which keys the pads hold now.
  void Update();

  KeyState& keys_;
  std::vector<Pad> pads_;
  PadHeldKeys held_;
};
