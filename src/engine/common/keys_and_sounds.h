// The Engine's keys and sound effects, answered alike by every backend that has a window: from
// its key state (IsDown and TakeHit by the game's scan codes) and its sound effects, whose files
// are found among the game's data.
#pragma once

#include <cstdint>
#include <string>

#include "engine/common/sound_effects.h"
#include "engine/engine.h"
#include "io/paths.h"

template <class Keys>
class KeysAndSoundsEngine : public Engine {
 public:
  bool IsKeyDown(int16_t scanCode) override { return keys_.IsDown(scanCode); }
  bool IsKeyHit(int16_t scanCode) override { return keys_.TakeHit(scanCode); }
  void LoadSound(const std::string& name, const std::string& file) override {
    sounds_.LoadSound(name, paths_.ResolveData(file));
  }
  void PlaySound(const std::string& name, int16_t, int16_t volume, int16_t, int16_t) override {
    sounds_.PlaySound(name, volume);
  }

 protected:
  KeysAndSoundsEngine(Keys& keys, SoundEffects& sounds, const Paths& paths)
      : keys_(keys), sounds_(sounds), paths_(paths) {}

 private:
  Keys& keys_;
  SoundEffects& sounds_;
  const Paths& paths_;
};
