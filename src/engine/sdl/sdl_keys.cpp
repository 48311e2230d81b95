#include "engine/sdl/sdl_keys.h"

namespace {

// Indexed by the game's scan code.
constexpr std::array<SDL_Scancode, 256> MakeKeyTable() {
  std::array<SDL_Scancode, 256> t{};
  for (auto& key : t) key = SDL_SCANCODE_UNKNOWN;
  t[1] = SDL_SCANCODE_ESCAPE;
  const SDL_Scancode digits[10] = {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_4,
                                   SDL_SCANCODE_5, SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8,
                                   SDL_SCANCODE_9, SDL_SCANCODE_0};
  for (int i = 0; i < 10; ++i) t[2 + i] = digits[i];
  t[12] = SDL_SCANCODE_MINUS;
  t[13] = SDL_SCANCODE_EQUALS;
  t[14] = SDL_SCANCODE_BACKSPACE;
  t[15] = SDL_SCANCODE_TAB;
  const SDL_Scancode topRow[10] = {SDL_SCANCODE_Q, SDL_SCANCODE_W, SDL_SCANCODE_E, SDL_SCANCODE_R,
                                   SDL_SCANCODE_T, SDL_SCANCODE_Y, SDL_SCANCODE_U, SDL_SCANCODE_I,
                                   SDL_SCANCODE_O, SDL_SCANCODE_P};
  for (int i = 0; i < 10; ++i) t[16 + i] = topRow[i];
  t[26] = SDL_SCANCODE_LEFTBRACKET;
  t[27] = SDL_SCANCODE_RIGHTBRACKET;
  t[28] = SDL_SCANCODE_RETURN;
  t[29] = SDL_SCANCODE_LCTRL;
  const SDL_Scancode homeRow[9] = {SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D,
                                   SDL_SCANCODE_F, SDL_SCANCODE_G, SDL_SCANCODE_H,
                                   SDL_SCANCODE_J, SDL_SCANCODE_K, SDL_SCANCODE_L};
  for (int i = 0; i < 9; ++i) t[30 + i] = homeRow[i];
  t[39] = SDL_SCANCODE_SEMICOLON;
  t[40] = SDL_SCANCODE_APOSTROPHE;
  t[41] = SDL_SCANCODE_GRAVE;
  t[42] = SDL_SCANCODE_LSHIFT;
  t[43] = SDL_SCANCODE_BACKSLASH;
  const SDL_Scancode bottomRow[7] = {SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_C, SDL_SCANCODE_V,
                                     SDL_SCANCODE_B, SDL_SCANCODE_N, SDL_SCANCODE_M};
  for (int i = 0; i < 7; ++i) t[44 + i] = bottomRow[i];
  t[51] = SDL_SCANCODE_COMMA;
  t[52] = SDL_SCANCODE_PERIOD;
  t[53] = SDL_SCANCODE_SLASH;
  t[54] = SDL_SCANCODE_RSHIFT;
  t[55] = SDL_SCANCODE_KP_MULTIPLY;
  t[56] = SDL_SCANCODE_LALT;
  t[57] = SDL_SCANCODE_SPACE;
  t[58] = SDL_SCANCODE_CAPSLOCK;
  for (int i = 0; i < 10; ++i) t[59 + i] = static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i);
  t[69] = SDL_SCANCODE_NUMLOCKCLEAR;
  t[70] = SDL_SCANCODE_SCROLLLOCK;
  t[71] = SDL_SCANCODE_KP_7;
  t[72] = SDL_SCANCODE_KP_8;
  t[73] = SDL_SCANCODE_KP_9;
  t[74] = SDL_SCANCODE_KP_MINUS;
  t[75] = SDL_SCANCODE_KP_4;
  t[76] = SDL_SCANCODE_KP_5;
  t[77] = SDL_SCANCODE_KP_6;
  t[78] = SDL_SCANCODE_KP_PLUS;
  t[79] = SDL_SCANCODE_KP_1;
  t[80] = SDL_SCANCODE_KP_2;
  t[81] = SDL_SCANCODE_KP_3;
  t[82] = SDL_SCANCODE_KP_0;
  t[83] = SDL_SCANCODE_KP_PERIOD;
  t[86] = SDL_SCANCODE_NONUSBACKSLASH;
  t[87] = SDL_SCANCODE_F11;
  t[88] = SDL_SCANCODE_F12;
  t[156] = SDL_SCANCODE_KP_ENTER;
  t[157] = SDL_SCANCODE_RCTRL;
  t[181] = SDL_SCANCODE_KP_DIVIDE;
  t[183] = SDL_SCANCODE_PRINTSCREEN;
  t[184] = SDL_SCANCODE_RALT;
  t[197] = SDL_SCANCODE_PAUSE;
  t[199] = SDL_SCANCODE_HOME;
  t[200] = SDL_SCANCODE_UP;
  t[201] = SDL_SCANCODE_PAGEUP;
  t[203] = SDL_SCANCODE_LEFT;
  t[205] = SDL_SCANCODE_RIGHT;
  t[207] = SDL_SCANCODE_END;
  t[208] = SDL_SCANCODE_DOWN;
  t[209] = SDL_SCANCODE_PAGEDOWN;
  t[210] = SDL_SCANCODE_INSERT;
  t[211] = SDL_SCANCODE_DELETE;
  t[219] = SDL_SCANCODE_LGUI;
  t[220] = SDL_SCANCODE_RGUI;
  t[221] = SDL_SCANCODE_APPLICATION;
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
