#include "engine/web/web_input.h"

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
        padKeys_.Button(kButtons, static_cast<int>(b));
      }
    }
    for (size_t a = 0; a < reading.axes.size(); ++a) {
      pad.axes[a] = StickDirection(reading.axes[a], pad.axes[a]);
      if (pad.axes[a] == 0) pad.axesBlocked[a] = false;
      if (!pad.axesBlocked[a]) padKeys_.Stick(static_cast<int>(a), pad.axes[a]);
    }
  }
  padKeys_.Apply([this](int16_t key, bool held) { keys_.SetPadHeld(key, held); });
}

void WebInput::ReleaseAll() {
  keys_.ReleaseAll();
  // A control still held counts again once it moves.
  for (Pad& pad : pads_) {
    pad.buttonsBlocked = pad.buttons;
    for (size_t a = 0; a < pad.axes.size(); ++a) pad.axesBlocked[a] = pad.axes[a] != 0;
  }
  padKeys_.Forget();
}

bool WebInput::TakeFocusLoss() {
  const bool lost = focusLost_;
  focusLost_ = false;
  return lost;
}
