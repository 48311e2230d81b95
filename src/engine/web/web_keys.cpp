#include "engine/web/web_keys.h"

#include <algorithm>
#include <utility>

namespace {

struct CodeKey {
  std::string_view code;
  int16_t key;
};

// The same key positions as the desktop's table, by their names in the browser.
constexpr CodeKey kCodes[] = {
    {"Escape", 1},
    {"Digit1", 2},
    {"Digit2", 3},
    {"Digit3", 4},
    {"Digit4", 5},
    {"Digit5", 6},
    {"Digit6", 7},
    {"Digit7", 8},
    {"Digit8", 9},
    {"Digit9", 10},
    {"Digit0", 11},
    {"Minus", 12},
    {"Equal", 13},
    {"Backspace", 14},
    {"Tab", 15},
    {"KeyQ", 16},
    {"KeyW", 17},
    {"KeyE", 18},
    {"KeyR", 19},
    {"KeyT", 20},
    {"KeyY", 21},
    {"KeyU", 22},
    {"KeyI", 23},
    {"KeyO", 24},
    {"KeyP", 25},
    {"BracketLeft", 26},
    {"BracketRight", 27},
    {"Enter", 28},
    // The keypad's Enter is Enter too here: browsers report it for the Enter of some keyboards and
    // automation tools, and the game has no use for it apart.
    {"NumpadEnter", 28},
    {"ControlLeft", 29},
    {"KeyA", 30},
    {"KeyS", 31},
    {"KeyD", 32},
    {"KeyF", 33},
    {"KeyG", 34},
    {"KeyH", 35},
    {"KeyJ", 36},
    {"KeyK", 37},
    {"KeyL", 38},
    {"Semicolon", 39},
    {"Quote", 40},
    {"Backquote", 41},
    {"ShiftLeft", 42},
    {"Backslash", 43},
    {"KeyZ", 44},
    {"KeyX", 45},
    {"KeyC", 46},
    {"KeyV", 47},
    {"KeyB", 48},
    {"KeyN", 49},
    {"KeyM", 50},
    {"Comma", 51},
    {"Period", 52},
    {"Slash", 53},
    {"ShiftRight", 54},
    {"NumpadMultiply", 55},
    {"AltLeft", 56},
    {"Space", 57},
    {"CapsLock", 58},
    {"F1", 59},
    {"F2", 60},
    {"F3", 61},
    {"F4", 62},
    {"F5", 63},
    {"F6", 64},
    {"F7", 65},
    {"F8", 66},
    {"F9", 67},
    {"F10", 68},
    {"NumLock", 69},
    {"ScrollLock", 70},
    {"Numpad7", 71},
    {"Numpad8", 72},
    {"Numpad9", 73},
    {"NumpadSubtract", 74},
    {"Numpad4", 75},
    {"Numpad5", 76},
    {"Numpad6", 77},
    {"NumpadAdd", 78},
    {"Numpad1", 79},
    {"Numpad2", 80},
    {"Numpad3", 81},
    {"Numpad0", 82},
    {"NumpadDecimal", 83},
    {"IntlBackslash", 86},
    {"F11", 87},
    {"F12", 88},
    {"ControlRight", 157},
    {"NumpadDivide", 181},
    {"PrintScreen", 183},
    {"AltRight", 184},
    {"Pause", 197},
    {"Home", 199},
    {"ArrowUp", 200},
    {"PageUp", 201},
    {"ArrowLeft", 203},
    {"ArrowRight", 205},
    {"End", 207},
    {"ArrowDown", 208},
    {"PageDown", 209},
    {"Insert", 210},
    {"Delete", 211},
    {"MetaLeft", 219},
    {"OSLeft", 219},
    {"MetaRight", 220},
    {"OSRight", 220},
    {"ContextMenu", 221},
};

}  // namespace

int16_t ScanCodeForCode(std::string_view code) {
  const auto found = std::find_if(std::begin(kCodes), std::end(kCodes),
                                  [code](const CodeKey& entry) { return entry.code == code; });
  return found == std::end(kCodes) ? 0 : found->key;
}

void WebKeyState::Press(int16_t key, bool repeat) {
  if (!Valid(key)) return;
  held_[key] = true;
  if (!repeat) hits_[key] = true;
}

void WebKeyState::Release(int16_t key) {
  if (Valid(key)) held_[key] = false;
}

void WebKeyState::SetPadHeld(int16_t key, bool held) {
  if (!Valid(key)) return;
  if (held && !padHeld_[key]) hits_[key] = true;
  padHeld_[key] = held;
}

bool WebKeyState::IsDown(int16_t key) const {
  return Valid(key) && (held_[key] || padHeld_[key]);
}

bool WebKeyState::TakeHit(int16_t key) {
  if (!Valid(key)) return false;
  if (hits_[key]) {
    hits_[key] = false;
    return true;
  }
  if (shared_[0] == key || shared_[1] == key) {
    shared_ = {0, 0};
    return true;
  }
  return false;
}
