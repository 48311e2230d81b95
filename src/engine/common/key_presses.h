// Held keys and fresh presses, from the keyboard and from gamepads, for any backend: a key is a
// number below Count (0 names no key). A press counts once: it is seen in the latest pump of
// events and is consumed when read; a press nobody read before the next pump is dropped. A key is
// held while the keyboard or a pad holds it.
#pragma once

#include <array>
#include <cstddef>

template <int Count>
class KeyPresses {
 public:
  static constexpr int kKeys = Count;

  // A new pump of events begins: presses from the previous one are forgotten.
  void BeginPump() {
    hits_.fill(false);
    shared_ = {0, 0};
  }
  void Press(int key, bool repeat) {
    if (!Valid(key)) return;
    held_[key] = true;
    if (!repeat) hits_[key] = true;
  }
  void Release(int key) {
    if (Valid(key)) held_[key] = false;
  }
  // What the gamepads hold; a key they start holding is a press.
  void SetPadHeld(int key, bool held) {
    if (!Valid(key)) return;
    if (held && !padHeld_[key]) hits_[key] = true;
    padHeld_[key] = held;
  }
  // One press that counts for whichever of the two keys is asked first, and then for neither.
  void PressShared(int first, int second) { shared_ = {first, second}; }
  // The keyboard went elsewhere: nothing stays held.
  void ReleaseAll() {
    held_.fill(false);
    padHeld_.fill(false);
  }

  bool IsDown(int key) const { return Valid(key) && (held_[key] || padHeld_[key]); }
  bool TakeHit(int key) {
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

 private:
  static bool Valid(int key) { return key > 0 && key < Count; }

  std::array<bool, Count> held_{};
  std::array<bool, Count> padHeld_{};
  std::array<bool, Count> hits_{};
  std::array<int, 2> shared_{0, 0};
};
