// The game's one window, frmMain: opened by Engine::Initialize, named by the caption, closed
// through the close handler. It pumps the window's events for both the engine (keys, frames) and
// the platform (DoEvents).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>

#include "engine/common/close_request.h"
#include "engine/common/full_screen_switch.h"
#include "engine/sdl/sdl_gamepad.h"
#include "engine/sdl/sdl_keys.h"

// Told about what happens to the window: the engine repaints on exposure, lets go of its
// renderer before the window goes away, and restarts its pacing after a message box held the game.
class WindowListener {
 public:
  virtual ~WindowListener() = default;
  virtual void WindowExposed() = 0;
  virtual void WindowClosing() = 0;
  virtual void WindowHeld() = 0;
};

class SdlWindow {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  SdlWindow() = default;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;
  ~SdlWindow();

  // Shows the window: twice the game's size when the desktop has room, or full screen.
  void Open(bool fullScreen);
  SDL_Window* Get() const { return window_; }
  void SetListener(WindowListener* listener) { listener_ = listener; }

  void SetCaption(const std::string& caption);
  void SetCloseHandler(std::function<void(int16_t&)> handler) {
    close_.SetHandler(std::move(handler));
  }
  // A close request: the handler may cancel it; otherwise the window goes away.
  void RequestClose();
  bool Closed() const { return close_.Closed(); }

  // Processes the pending events: keys, gamepads, close requests, focus, F11 and Alt+Enter,
  // repaints. Makes at most one switch between window and full screen (FullScreenSwitch).
  void Pump();
  KeyState& Keys() { return keys_; }
  const Gamepads& Pads() const { return pads_; }
  // True once when the window lost the focus in the latest pump.
  bool TakeFocusLoss();
  // A message box over the window has just been closed: it held the game, had the keyboard (so
  // no key stays held), and took the focus only for itself, so the next pump does not count that
  // as the player leaving the game.
  void MessageBoxClosed();

  bool FullScreen() const;

 private:
  // Switches between window and full screen when the player's presses ask for it and the last
  // switch has settled.
  void SwitchFullScreenWhenDue();
  // The window goes away, its renderer first.
  void Close();
  // Nothing stays held: keyboard and pads let go.
  void ReleaseAllKeys();

  SDL_Window* window_ = nullptr;
  WindowListener* listener_ = nullptr;
  CloseRequest close_;
  FullScreenSwitch fullScreen_;
  std::string caption_;
  KeyState keys_;
  Gamepads pads_{keys_};
  bool focusLost_ = false;
  bool boxClosed_ = false;
};

// The window icon: the game's icon (engine/common/icon.h) at 64 x 64. Caller frees it.
SDL_Surface* CreateWindowIcon();
