#include "engine/sdl/sdl_keys.h"

#include <initializer_list>

namespace {

// The game's scan codes come in runs of consecutive codes, along the rows of the keyboard and
// then the extended keys.
struct KeyRun {
  int first;  // the scan code of the run's first key
  std::initializer_list<SDL_Scancode> keys;
};
constexpr KeyRun kKeyRuns[] = {
    {1,
     {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_4,
      SDL_SCANCODE_5, SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8, SDL_SCANCODE_9,
      SDL_SCANCODE_0, SDL_SCANCODE_MINUS, SDL_SCANCODE_EQUALS, SDL_SCANCODE_BACKSPACE}},
    {15,
     {SDL_SCANCODE_TAB, SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E, SDL_SCANCODE_R,
      SDL_SCANCODE_T, SDL_SCANCODE_Y, SDL_SCANCODE_U, SDL_SCANCODE_I, SDL_SCANCODE_O,
      SDL_SCANCODE_P, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_RIGHTBRACKET, SDL_SCANCODE_RETURN}},
    {29,
     {SDL_SCANCODE_LCTRL, SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_F,
      SDL_SCANCODE_G, SDL_SCANCODE_H, SDL_SCANCODE_J, SDL_SCANCODE_K, SDL_SCANCODE_L,
      SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_APOSTROPHE, SDL_SCANCODE_GRAVE}},
    {42,
     {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_C,
      SDL_SCANCODE_V, SDL_SCANCODE_B, SDL_SCANCODE_N, SDL_SCANCODE_M, SDL_SCANCODE_COMMA,
      SDL_SCANCODE_PERIOD, SDL_SCANCODE_SLASH, SDL_SCANCODE_RSHIFT}},
    {55, {SDL_SCANCODE_KP_MULTIPLY, SDL_SCANCODE_LALT, SDL_SCANCODE_SPACE, SDL_SCANCODE_CAPSLOCK}},
    {59,
     {SDL_SCANCODE_F1, SDL_SCANCODE_F2, SDL_SCANCODE_F3, SDL_SCANCODE_F4, SDL_SCANCODE_F5,
      SDL_SCANCODE_F6, SDL_SCANCODE_F7, SDL_SCANCODE_F8, SDL_SCANCODE_F9, SDL_SCANCODE_F10}},
    {69,
     {SDL_SCANCODE_NUMLOCKCLEAR, SDL_SCANCODE_SCROLLLOCK, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
      SDL_SCANCODE_KP_9, SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
      SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
      SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_PERIOD}},
    {86, {SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_F11, SDL_SCANCODE_F12}},
    {156, {SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_RCTRL}},
    {181, {SDL_SCANCODE_KP_DIVIDE}},
    {183, {SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_RALT}},
    {197, {SDL_SCANCODE_PAUSE}},
    {199, {SDL_SCANCODE_HOME, SDL_SCANCODE_UP, SDL_SCANCODE_PAGEUP}},
    {203, {SDL_SCANCODE_LEFT}},
    {205, {SDL_SCANCODE_RIGHT}},
    {207,
     {SDL_SCANCODE_END, SDL_SCANCODE_DOWN, SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_INSERT,
      SDL_SCANCODE_DELETE}},
    {219, {SDL_SCANCODE_LGUI, SDL_SCANCODE_RGUI, SDL_SCANCODE_APPLICATION}},
};

// Indexed by the game's scan code.
constexpr std::array<SDL_Scancode, 256> MakeKeyTable() {
  std::array<SDL_Scancode, 256> t{};
  for (auto& key : t) key = SDL_SCANCODE_UNKNOWN;
  for (const KeyRun& run : kKeyRuns) {
    int code = run.first;
    for (SDL_Scancode key : run.keys) t[code++] = key;
  }
  return t;
}

constexpr std::array<SDL_Scancode, 256> kKeys = MakeKeyTable();

bool Valid(SDL_Scancode key) {
  return key > SDL_SCANCODE_UNKNOWN && key < SDL_NUM_SCANCODES;
}

}  // namespace

SDL_Scancode ScancodeForKey(int16_t scanCode) {
  if (scanCode < 0 || scanCode >= static_cast<int16_t>(kKeys.size())) return SDL_SCANCODE_UNKNOWN;
  return kKeys[static_cast<size_t>(scanCode)];
}

void KeyState::Press(SDL_Scancode key, bool repeat) {
  if (!Valid(key)) return;
  held_[key] = true;
  if (!repeat) hits_[key] = true;
}

void KeyState::Release(SDL_Scancode key) {
  if (Valid(key)) held_[key] = false;
}

void KeyState::SetPadHeld(SDL_Scancode key, bool held) {
  if (!Valid(key)) return;
  if (held && !padHeld_[key]) hits_[key] = true;
  padHeld_[key] = held;
}

bool KeyState::IsDown(int16_t scanCode) const {
  SDL_Scancode key = ScancodeForKey(scanCode);
  return Valid(key) && (held_[key] || padHeld_[key]);
}

bool KeyState::TakeHit(int16_t scanCode) {
  SDL_Scancode key = ScancodeForKey(scanCode);
  if (!Valid(key)) return false;
  if (hits_[key]) {
    hits_[key] = false;
    return true;
  }
  if (shared_[0] == key || shared_[1] == key) {
    shared_ = {SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_UNKNOWN};
    return true;
  }
  return false;
}
