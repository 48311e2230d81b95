#include "engine/web/web_input.h"

#include "engine/common/pad_layout.h"
#include "engine/engine.h"

namespace {

// The standard mapping's buttons.
enum Button {
  kSouth = 0,
  kEast = 1,
  kWest = 2,
  kNorth = 3,
  kBack = 8,
  kStart = 9,
  kUp = 12,
  kDown = 13,
  kLeft = 14,
  kRight = 15,
};

constexpr PadButtons kButtons = {kUp, kDown, kLeft, kRight, kWest, kEast, kNorth, kSouth, kBack};

}  // namespace

int StickDirection(double value, int before) {
  return StickDirection(value, kStickPress, kStickRelease, before);
}

void WebInput::ApplyEvents(std::string_view lines) {
  while (!lines.empty()) {
    const size_t end = lines.find('\n');
    const std::string_view line = lines.substr(0, end);
    lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
    if (line == "f") {
      // Keys let go while the page has no focus never reach us: let go of all now.
      ReleaseAll();
      focusLost_ = true;
      continue;
    }
    if (line.size() < 3 || line[1] != ' ') continue;
    const int16_t key = ScanCodeForCode(line.substr(2));
    if (line[0] == 'd' || line[0] == 'r') keys_.Press(key, line[0] == 'r');
    if (line[0] == 'u') keys_.Release(key);
  }
}

void WebInput::ApplyPads(const std::vector<PadReading>& readings) {
  pads_.resize(readings.size());  // a pad unplugged lets go of what it held
  std::array<bool, WebKeyState::kKeys> now{};
  for (size_t i = 0; i < readings.size(); ++i) {
    Pad& pad = pads_[i];
    const PadReading& reading = readings[i];
    if (reading.buttons[kStart] && !pad.buttons[kStart] && !pad.buttonsBlocked[kStart]) {
      keys_.PressShared(Key::P, Key::Enter);
    }
    pad.buttons = reading.buttons;
    for (size_t b = 0; b < reading.buttons.size(); ++b) {
      if (!reading.buttons[b]) pad.buttonsBlocked[b] = false;
      if (reading.buttons[b] && !pad.buttonsBlocked[b]) {
        now[KeyForPadButton(kButtons, static_cast<int>(b))] = true;
      }
    }
    for (size_t a = 0; a < reading.axes.size(); ++a) {
      pad.axes[a] = StickDirection(reading.axes[a], pad.axes[a]);
      if (pad.axes[a] == 0) pad.axesBlocked[a] = false;
      if (pad.axesBlocked[a]) continue;
      const AxisKeys keys = KeysForStickAxis(static_cast<int>(a));
      if (pad.axes[a] < 0) now[keys.negative] = true;
      if (pad.axes[a] > 0) now[keys.positive] = true;
    }
  }
  now[0] = false;  // controls that stand for no key
  for (int key = 1; key < WebKeyState::kKeys; ++key) {
    if (now[key] != padKeys_[key]) keys_.SetPadHeld(static_cast<int16_t>(key), now[key]);
  }
  padKeys_ = now;
}

void WebInput::ReleaseAll() {
  keys_.ReleaseAll();
  // A control still held counts again once it moves.
  for (Pad& pad : pads_) {
    pad.buttonsBlocked = pad.buttons;
    for (size_t a = 0; a < pad.axes.size(); ++a) pad.axesBlocked[a] = pad.axes[a] != 0;
  }
  padKeys_.fill(false);
}

bool WebInput::TakeFocusLoss() {
  const bool lost = focusLost_;
  focusLost_ = false;
  return lost;
}
