// The game's controls on a gamepad, whatever reads the pad: the d-pad and the left stick move, the
// face buttons and the right stick fire the way they point, Back leaves, Start pauses or picks.
#pragma once

#include <array>
#include <cstdint>

// A pad's button numbers, as its backend numbers them.
struct PadButtons {
  int up, down, left, right;
  int west, east, north, south;  // the face buttons by where they sit
  int back;
};

// The game's scan code of a button; 0 for a button that stands for no key.
int16_t KeyForPadButton(const PadButtons& buttons, int button);

// The keys an axis stands for, pushed to the negative or the positive side.
struct AxisKeys {
  int16_t negative = 0;
  int16_t positive = 0;
};

// The sticks' axes in order: left x, left y (down positive), right x, right y.
inline constexpr int kStickAxes = 4;
// The keys of one of those axes; none for any other.
AxisKeys KeysForStickAxis(int axis);

// A stick counts as pushed beyond 40 % of its travel and as let go again within 30 %: the dead
// zone hides a worn stick's drift, the gap between the two keeps a stick held near the edge from
// chattering.
inline constexpr double kStickPress = 0.4;
inline constexpr double kStickRelease = 0.3;

// Where a stick points along an axis (-1, 0, 1), given how far it is pushed (-1 to 1 of its
// travel): pushed at least kStickPress it points that way, and it keeps pointing there until it
// comes back below kStickRelease.
int StickDirection(double travel, int before);

// The keys the pads hold, gathered control by control at each look at them, and handed to the key
// state as changes.
class PadHeldKeys {
 public:
  void Button(const PadButtons& buttons, int button) {
    now_[static_cast<uint8_t>(KeyForPadButton(buttons, button))] = true;
  }
  void Stick(int axis, int direction) {
    const AxisKeys keys = KeysForStickAxis(axis);
    if (direction < 0) now_[static_cast<uint8_t>(keys.negative)] = true;
    if (direction > 0) now_[static_cast<uint8_t>(keys.positive)] = true;
  }
  // Calls `setHeld(key, held)` for each game key whose holding changed since the last call, and
  // starts gathering afresh.
  template <class SetHeld>
  void Apply(SetHeld setHeld) {
    now_[0] = false;  // controls that stand for no key
    for (int key = 1; key < 256; ++key) {
      if (now_[key] != held_[key]) setHeld(static_cast<int16_t>(key), now_[key]);
    }
    held_ = now_;
    now_.fill(false);
  }
  // The key state has let go of everything already.
  void Forget() { held_.fill(false); }

 private:
  std::array<bool, 256> now_{};
  std::array<bool, 256> held_{};
};
