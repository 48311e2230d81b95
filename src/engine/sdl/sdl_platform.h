// The services of the operating system around the SDL engine: SDL itself, the window frmMain,
// clocks, the beep, folders, and the fatal message.
#pragma once

#include <string>

#include "engine/engine.h"
#include "engine/sdl/sdl_audio.h"
#include "engine/sdl/sdl_window.h"
#include "io/paths.h"

// SDL, SDL2_image and SDL2_ttf for the life of the program. SIGINT and SIGTERM become quit
// events, that is close requests of the window, and end the program a second later if it is still
// there (EndPromptlyOnQuitSignals).
class SdlSystem {
 public:
  SdlSystem();
  SdlSystem(const SdlSystem&) = delete;
  SdlSystem& operator=(const SdlSystem&) = delete;
  ~SdlSystem();

  // False when there is no display to open a window on; Error() then says why.
  bool Ok() const { return ok_; }
  const std::string& Error() const { return error_; }

 private:
  bool ok_ = false;
  bool ttf_ = false;
  std::string error_;
};

// Once SDL has put its handlers on SIGINT and SIGTERM: a program still running a second after the
// first of them, or getting a second one, ends itself as the signal would have ended it, even when
// its main loop is stuck in a call that does not return. Does nothing where there are no such
// signals to watch (sdl_quit_signals_posix.cpp, sdl_quit_signals_windows.cpp).
void EndPromptlyOnQuitSignals();

class SdlPlatform : public Platform {
 public:
  // appFolder: the folder of the player's files (the executable's folder when the game is
  // portable, the player's own folder when it is installed; see folders.h).
  SdlPlatform(SdlWindow& window, SdlAudio& audio, std::string appFolder = ExecutableFolder())
      : window_(window), audio_(audio), appFolder_(std::move(appFolder)) {}

  WindowHandle MainWindow() override { return &window_; }
  void SetCaption(const std::string& caption) override { window_.SetCaption(caption); }
  void SetCloseHandler(std::function<void(int16_t& cancel)> handler) override;
  void UnloadWindow() override { window_.RequestClose(); }
  bool WindowUnloaded() override { return window_.Closed(); }

  uint32_t GetTickCount() override;
  double TimeOfDay() override;
  void DoEvents() override { window_.Pump(); }
  void Beep() override { audio_.Beep(); }
  void Sleep(uint32_t milliseconds) override;
  void ReportFatal(const std::string& message) override;
  void ShowWarning(const std::string& title, const std::string& text) override;
  void BeginPass() override {}
  bool LostFocus() override { return window_.TakeFocusLoss(); }

  std::string AppFolder() override { return appFolder_; }
  std::string ExeName() override;
  int VersionMajor() override;
  int VersionMinor() override;

 private:
  SdlWindow& window_;
  SdlAudio& audio_;
  std::string appFolder_;
};
