// The recording layer: an Engine, a Utility and a Platform between the game and its backend that
// record every game played through them, from its first pass to its end (game over, a cleared
// level, Escape, or the window closed), without the game's code knowing. Outside a game every
// call passes straight through.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/game.h"
#include "replay/forwarding.h"
#include "replay/pass_clock.h"
#include "replay/replay_file.h"

class GameRecorder {
 public:
  // Receives each finished game, and the score-file key of the record it saved ("M1", "M2-7"),
  // or "" when it saved none.
  using Finished = std::function<void(const Replay& replay, const std::string& recordKey)>;

  GameRecorder(Engine& engine, Utility& utility, Platform& platform, Finished finished);
  GameRecorder(const GameRecorder&) = delete;
  GameRecorder& operator=(const GameRecorder&) = delete;

  // The game built on engine(), utility() and platform(); it is watched from now on.
  void Attach(const Game& game) { game_ = &game; }

  Engine& engine() { return engine_; }
  Utility& utility() { return utility_; }
  Platform& platform() { return platform_; }
  bool Recording() const { return recording_; }

 private:
  class LayerEngine : public ForwardingEngine {
   public:
    LayerEngine(Engine& inner, GameRecorder& r) : ForwardingEngine(inner), r_(r) {}
    bool IsKeyDown(int16_t scanCode) override;
    bool IsKeyHit(int16_t scanCode) override;
    void Shutdown() override;

   private:
    GameRecorder& r_;
  };
  class LayerUtility : public ForwardingUtility {
   public:
    LayerUtility(Utility& inner, GameRecorder& r) : ForwardingUtility(inner), r_(r) {}
    void WriteIniUnless(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file,
                        const std::function<bool(const std::string& stored)>& keep) override;

   private:
    GameRecorder& r_;
  };
  class LayerPlatform : public ForwardingPlatform {
   public:
    LayerPlatform(Platform& inner, GameRecorder& r) : ForwardingPlatform(inner), r_(r) {}
    void BeginPass() override;
    double TimeOfDay() override;
    bool LostFocus() override;

   private:
    GameRecorder& r_;
  };

  void Add(ReplayEvent::Kind kind, int16_t key = 0, double clock = 0);
  void Start();
  void EndOfPass();
  void Finish();

  Finished finished_;
  LayerEngine engine_;
  LayerUtility utility_;
  LayerPlatform platform_;
  const Game* game_ = nullptr;

  bool recording_ = false;
  int64_t pass_ = 0;
  Replay replay_;
  std::array<bool, 256> held_{};  // IsKeyDown as the game last saw it
  PassClock clock_;
  double now_ = 0;  // the clock of this pass
  std::string recordKey_;
};
