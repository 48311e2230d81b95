// Playing a replay back: an Engine, a Utility and a Platform between the game and its backend
// that answer what the game reads from the replay (keys, focus, clock) and let nothing the game
// writes reach a file (scores, options, screenshots). Drawing and sounds go to the backend.
//
// The game is started as usual through these (StartUp: pictures, fonts, sounds), then Begin puts
// the recorded state in place and Step plays one pass at a time, comparing the state's digest
// with the replay's every 60 passes and at the end.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

#include "core/game.h"
#include "replay/forwarding.h"
#include "replay/pass_clock.h"
#include "replay/replay_file.h"

class ReplayPlayback {
 public:
  // With startUpReads the start-up reads the options and score files (full screen, sound) as the
  // game does; without, it reads nothing and the replay plays the same whatever files are there.
  ReplayPlayback(Engine& engine, Utility& utility, Platform& platform, Replay replay,
                 bool startUpReads);
  ReplayPlayback(const ReplayPlayback&) = delete;
  ReplayPlayback& operator=(const ReplayPlayback&) = delete;

  Engine& engine() { return engine_; }
  Utility& utility() { return utility_; }
  Platform& platform() { return platform_; }
  const Replay& replay() const { return replay_; }

  // Puts the recorded start in place. False when its digest is not the replay's (pass 0 differs).
  bool Begin(Game& game);
  // One pass of the game. False when there is none left to play, or the state is no longer the
  // recorded one (then FirstDifference() says from which pass).
  bool Step(Game& game);
  int64_t Pass() const { return pass_; }
  bool Finished() const { return pass_ >= replay_.passes; }
  // The first pass after which the state was not the recorded one; -1 while it was.
  int64_t FirstDifference() const { return firstDifference_; }
  // When false, the frames the game draws are not shown (fast forward): the next shown frame
  // covers them.
  void ShowFrames(bool show) { showFrames_ = show; }

 private:
  class LayerEngine : public ForwardingEngine {
   public:
    LayerEngine(Engine& inner, ReplayPlayback& p) : ForwardingEngine(inner), p_(p) {}
    bool IsKeyDown(int16_t scanCode) override;
    bool IsKeyHit(int16_t scanCode) override;
    void TakeScreenshot() override {}
    void EndFrame() override;

   private:
    ReplayPlayback& p_;
  };
  class LayerUtility : public ForwardingUtility {
   public:
    LayerUtility(Utility& inner, ReplayPlayback& p) : ForwardingUtility(inner), p_(p) {}
    std::string ReadIni(const std::string& section, const std::string& key, const std::string& file,
                        int16_t a) override;
    void WriteIni(const std::string&, const std::string&, const std::string&, const std::string&,
                  int16_t) override {}
    void WriteIniUnless(const std::string&, const std::string&, const std::string&,
                        const std::string&,
                        const std::function<bool(const std::string&)>&) override {}

   private:
    ReplayPlayback& p_;
  };
  class LayerPlatform : public ForwardingPlatform {
   public:
    LayerPlatform(Platform& inner, ReplayPlayback& p) : ForwardingPlatform(inner), p_(p) {}
    void BeginPass() override;
    double TimeOfDay() override;
    bool LostFocus() override;

   private:
    ReplayPlayback& p_;
  };

  void Differs(int64_t pass);

  Replay replay_;
  bool startUpReads_;
  LayerEngine engine_;
  LayerUtility utility_;
  LayerPlatform platform_;

  bool playing_ = false;
  bool showFrames_ = true;
  int64_t pass_ = 0;
  size_t nextEvent_ = 0;
  std::array<bool, 256> held_{};
  std::bitset<256> hits_;
  bool focusLost_ = false;
  PassClock clock_;
  int64_t firstDifference_ = -1;
};
