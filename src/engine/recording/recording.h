// The headless backend: every Engine, Utility and MusicPlayer call is recorded in a trace, keys
// come from a script or from the test, and time runs on a virtual clock. The options file, the
// score file and files/ are real files in the application folder; pictures are not decoded, but a
// missing file is a failure, as in the real game.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/common/close_request.h"
#include "engine/common/key_presses.h"
#include "engine/engine.h"
#include "engine/engine_overrides.h"
#include "engine/recording/input_script.h"
#include "engine/recording/trace.h"
#include "io/ini_utility.h"
#include "io/paths.h"

// The virtual clock: the time of day starts at a given second after midnight, the tick counter at
// 0; both advance by 1000/60 ms at every EndFrame, by 1 ms at every other processing of window
// messages, and by the asked time at every Sleep.
class VirtualClock {
 public:
  explicit VirtualClock(double startTimeOfDay) : start_(startTimeOfDay) {}
  void Advance(double milliseconds) { elapsed_ += milliseconds; }
  double Elapsed() const { return elapsed_; }
  uint32_t Ticks() const;
  double TimeOfDay() const;

 private:
  double start_;
  double elapsed_ = 0;
};

class RecordingBackend;

class RecordingEngine : public Engine {
 public:
  explicit RecordingEngine(RecordingBackend& backend) : b_(backend) {}
  bool IsKeyDown(int16_t scanCode) override;
  bool IsKeyHit(int16_t scanCode) override;
  void LoadSound(const std::string& name, const std::string& file) override;
  void PlaySound(const std::string& name, int16_t a, int16_t volume, int16_t c, int16_t d) override;
  ENGINE_WINDOW_AND_DRAWING_OVERRIDES;

 private:
  RecordingBackend& b_;
};

class RecordingUtility : public Utility {
 public:
  explicit RecordingUtility(RecordingBackend& backend);
  UTILITY_OVERRIDES;

 private:
  friend class RecordingBackend;
  RecordingBackend& b_;
  IniUtility files_;
};

class RecordingMusicPlayer : public MusicPlayer {
 public:
  explicit RecordingMusicPlayer(RecordingBackend& backend) : b_(backend) {}
  MUSIC_PLAYER_OVERRIDES;

 private:
  int32_t Position() const;

  RecordingBackend& b_;
  bool loaded_ = false;
  bool playing_ = false;
  int32_t length_ = 0;
  double startedAt_ = 0;
};

class RecordingPlatform : public Platform {
 public:
  explicit RecordingPlatform(RecordingBackend& backend) : b_(backend) {}
  WindowHandle MainWindow() override { return this; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  void SetCloseHandler(std::function<void(int16_t& cancel)> handler) override;
  void UnloadWindow() override;
  bool WindowUnloaded() override { return close_.Closed(); }
  uint32_t GetTickCount() override;
  double TimeOfDay() override;
  void DoEvents() override;
  void Beep() override { ++beeps_; }
  void Sleep(uint32_t milliseconds) override;
  void ReportFatal(const std::string& message) override;
  // Kept for tests; says nothing more (the caller has said it on stderr) and never waits.
  void ShowWarning(const std::string& title, const std::string& text) override {
    warnings_.push_back(title + "\n" + text);
  }
  void BeginPass() override;
  bool LostFocus() override;
  std::string AppFolder() override;
  std::string ExeName() override { return "swayfire"; }
  int VersionMajor() override { return 1; }
  int VersionMinor() override { return 0; }

  const std::string& Caption() const { return caption_; }
  int Beeps() const { return beeps_; }
  const std::string& FatalMessage() const { return fatal_; }
  // Every ShowWarning, title and text on two lines.
  const std::vector<std::string>& Warnings() const { return warnings_; }
  // Delivers a close request to the close handler now.
  void RequestClose();

 private:
  friend class RecordingBackend;
  RecordingBackend& b_;
  CloseRequest close_;
  std::string caption_;
  std::string fatal_;
  std::vector<std::string> warnings_;
  int beeps_ = 0;
};

class RecordingBackend {
 public:
  struct Options {
    std::string appFolder = ".";
    double startTimeOfDay = 43200;  // noon
    bool keepTrace = true;          // keep the calls in memory (tests)
  };

  explicit RecordingBackend(Options options);
  explicit RecordingBackend(const std::string& appFolder)
      : RecordingBackend(Options{appFolder, 43200, true}) {}
  RecordingBackend(const RecordingBackend&) = delete;
  RecordingBackend& operator=(const RecordingBackend&) = delete;

  Engine& engine() { return engine_; }
  Utility& utility() { return utility_; }
  MusicPlayer& musicPlayer() { return music_; }
  RecordingPlatform& platform() { return platform_; }

  Trace& trace() { return trace_; }
  // The calls kept so far, as records and as the lines of the trace.
  const std::vector<Call>& Calls() const { return trace_.Calls(); }
  std::vector<std::string> TraceLines() const { return trace_.Lines(); }
  void ClearTrace() { trace_.Clear(); }

  // Scripted input: events are applied at the start of their pass (BeginPass); a close request
  // after `passes` passes is added when passes > 0.
  void SetScript(std::vector<ScriptEvent> events, int64_t passes);
  int64_t Pass() const { return pass_; }

  // Direct key control for tests: a press is held and readable once by IsKeyHit until the next
  // pass begins.
  void PressKey(int16_t scanCode);
  void ReleaseKey(int16_t scanCode);
  // Pressed for the current pass only: released when the next pass begins.
  void TapKey(int16_t scanCode);
  void ReleaseAllKeys();
  // The window loses the focus: every held key is let go, and LostFocus() is true once during
  // the current pass.
  void LoseFocus();

  // Pictures, sounds and music are read from this folder instead of the application folder, as
  // in an installed game.
  void SetDataFolder(std::string folder) { paths_.SetDataFolder(std::move(folder)); }

  VirtualClock& clock() { return clock_; }
  const Paths& paths() const { return paths_; }
  int Screenshots() const { return screenshots_; }
  bool SoundLoaded(const std::string& name) const;

 private:
  friend class RecordingEngine;
  friend class RecordingUtility;
  friend class RecordingMusicPlayer;
  friend class RecordingPlatform;

  // Keeps or writes the record `make()` builds, and builds none when there is no trace.
  template <typename Make>
  void Record(Make make) {
    if (trace_.Enabled()) trace_.Add(make());
  }
  void StartPass();
  void ApplyEvent(const ScriptEvent& event);
  // Message processing: a pending close request reaches the close handler.
  void ProcessMessages();
  // Fails like the real engine when a file the game asks for is not there.
  std::string RequireFile(const std::string& what, const std::string& file) const;

  Paths paths_;
  Trace trace_;
  VirtualClock clock_;
  RecordingEngine engine_;
  RecordingUtility utility_;
  RecordingMusicPlayer music_;
  RecordingPlatform platform_;

  KeyPresses<256> keys_;         // by the game's scan code
  std::vector<uint8_t> tapped_;  // keys tapped in this pass: let go when it ends
  std::vector<ScriptEvent> script_;
  size_t nextEvent_ = 0;
  int64_t pass_ = 0;
  bool closePending_ = false;
  bool focusLost_ = false;
  std::vector<std::string> sounds_;
  int screenshots_ = 0;
};
