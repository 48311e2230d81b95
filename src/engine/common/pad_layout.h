// The game's controls on a gamepad, whatever reads the pad: the d-pad and the left stick move, the
// face buttons and the right stick fire the way they point, Back leaves, Start pauses or picks.
#pragma once

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

// Where a stick points along an axis (-1, 0, 1): pushed at least `press` of its travel it points
// that way, and it keeps pointing there until it comes back below `release`, so a stick resting
// near the mark does not flicker.
int StickDirection(double value, double press, double release, int before);
