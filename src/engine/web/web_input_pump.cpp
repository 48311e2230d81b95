// The browser's side of WebInput: the page's queue of key and focus events, and the Gamepad API.
#include <emscripten/html5.h>

#include "engine/web/web_input.h"
#include "engine/web/web_page.h"

namespace {

// Pads without the browser's standard mapping (buttons in no known places) are left alone.
std::vector<PadReading> ReadPads() {
  std::vector<PadReading> pads;
  if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return pads;
  const int count = emscripten_get_num_gamepads();
  for (int i = 0; i < count; ++i) {
    EmscriptenGamepadEvent state;
    PadReading reading;
    if (emscripten_get_gamepad_status(i, &state) == EMSCRIPTEN_RESULT_SUCCESS && state.connected &&
        std::string_view(state.mapping) == "standard") {
      for (int b = 0; b < static_cast<int>(reading.buttons.size()) && b < state.numButtons; ++b) {
        reading.buttons[b] = state.digitalButton[b] != 0;
      }
      for (int a = 0; a < static_cast<int>(reading.axes.size()) && a < state.numAxes; ++a) {
        reading.axes[a] = state.axis[a];
      }
    }
    pads.push_back(reading);
  }
  return pads;
}

}  // namespace

void WebInput::Pump() {
  keys_.BeginPump();
  focusLost_ = false;
  ApplyEvents(WebPage::TakeEvents());
  ApplyPads(ReadPads());
}
