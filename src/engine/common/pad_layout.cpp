#include "engine/common/pad_layout.h"

#include "engine/engine.h"

int16_t KeyForPadButton(const PadButtons& buttons, int button) {
  if (button == buttons.up) return Key::Up;
  if (button == buttons.down) return Key::Down;
  if (button == buttons.left) return Key::Left;
  if (button == buttons.right) return Key::Right;
  if (button == buttons.west) return Key::A;
  if (button == buttons.east) return Key::D;
  if (button == buttons.north) return Key::W;
  if (button == buttons.south) return Key::S;
  if (button == buttons.back) return Key::Escape;
  return 0;
}

AxisKeys KeysForStickAxis(int axis) {
  static constexpr AxisKeys kKeys[kStickAxes] = {
      {Key::Left, Key::Right}, {Key::Up, Key::Down}, {Key::A, Key::D}, {Key::W, Key::S}};
  if (axis < 0 || axis >= kStickAxes) return {};
  return kKeys[axis];
}

int StickDirection(double travel, int before) {
  if (travel >= kStickPress) return 1;
  if (travel <= -kStickPress) return -1;
  // Between the two marks the stick keeps the direction it had.
  if (before > 0 && travel >= kStickRelease) return 1;
  if (before < 0 && travel <= -kStickRelease) return -1;
  return 0;
}
