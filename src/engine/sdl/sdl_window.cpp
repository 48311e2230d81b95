#include "engine/sdl/sdl_window.h"

#include <cstring>
#include <optional>
#include <vector>

#include "engine/common/icon.h"
#include "engine/engine.h"

namespace {

// Room for the title bar and borders when deciding whether the doubled window fits.
constexpr int kDecorationAllowance = 40;

bool IsEnter(SDL_Scancode key) {
  return key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER;
}

}  // namespace

SdlWindow::~SdlWindow() {
  if (window_ != nullptr) Close();
}

void SdlWindow::Open(bool fullScreen) {
  if (window_ != nullptr || close_.Closed()) return;
  int width = kWidth;
  int height = kHeight;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w >= 2 * kWidth &&
      usable.h >= 2 * kHeight + kDecorationAllowance) {
    width = 2 * kWidth;
    height = 2 * kHeight;
  }
  // On a HiDPI screen the frame is drawn at the screen's own pixels (and scaled sharply).
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI |
                 (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  window_ = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             width, height, flags);
  if (window_ == nullptr) {
    throw EngineError(std::string("cannot open the game window: ") + SDL_GetError());
  }
  SDL_SetWindowMinimumSize(window_, kWidth / 2, kHeight / 2);
  if (SDL_Surface* icon = CreateWindowIcon()) {
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }
}

void SdlWindow::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (window_ != nullptr) SDL_SetWindowTitle(window_, caption_.c_str());
}

void SdlWindow::RequestClose() {
  if (close_.Request()) Close();
}

void SdlWindow::Close() {
  if (listener_ != nullptr) listener_->WindowClosing();
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = nullptr;
  ReleaseAllKeys();
}

void SdlWindow::ReleaseAllKeys() {
  keys_.ReleaseAll();
  pads_.ReleaseAll();
}

void SdlWindow::MessageBoxClosed() {
  ReleaseAllKeys();
  boxClosed_ = true;
  if (listener_ != nullptr) listener_->WindowHeld();
}

bool SdlWindow::TakeFocusLoss() {
  const bool lost = focusLost_;
  focusLost_ = false;
  return lost;
}

bool SdlWindow::FullScreen() const {
  return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void SdlWindow::SwitchFullScreenWhenDue() {
  if (window_ == nullptr) return;
  const std::optional<bool> full = fullScreen_.Due(FullScreen(), SDL_GetTicks64());
  if (!full) return;
  // The display may take its time: the presses meanwhile wait in the queue for the next pump.
  SDL_SetWindowFullscreen(window_, *full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  fullScreen_.Switched(SDL_GetTicks64());
}

void SdlWindow::Pump() {
  keys_.BeginPump();
  focusLost_ = false;
  bool closeRequested = false;
  bool exposed = false;
  const Uint32 id = window_ != nullptr ? SDL_GetWindowID(window_) : 0;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_QUIT:  // also SIGINT and SIGTERM
        closeRequested = true;
        break;
      case SDL_WINDOWEVENT:
        if (event.window.windowID != id) break;
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            closeRequested = true;
            break;
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            exposed = true;
            break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            // Keys let go while another window has the focus never reach us: let go of all now.
            ReleaseAllKeys();
            focusLost_ = !boxClosed_;
            break;
          default:
            break;
        }
        break;
      case SDL_KEYDOWN: {
        const SDL_Keysym& key = event.key.keysym;
        // Alt+Enter and F11 switch between window and full screen; the game does not see them.
        if ((IsEnter(key.scancode) && (key.mod & KMOD_ALT) != 0) ||
            key.scancode == SDL_SCANCODE_F11) {
          if (event.key.repeat == 0) fullScreen_.Press(FullScreen());
          break;
        }
        keys_.Press(key.scancode, event.key.repeat != 0);
        break;
      }
      case SDL_KEYUP:
        keys_.Release(event.key.keysym.scancode);
        break;
      default:
        pads_.Handle(event);
        break;
    }
  }
  boxClosed_ = false;
  if (exposed && listener_ != nullptr && window_ != nullptr) listener_->WindowExposed();
  // The window closes at most once a pump, however many ways the request came (the close button
  // sends both a window close and a quit). A window about to close switches no more.
  if (closeRequested) {
    RequestClose();
  } else {
    SwitchFullScreenWhenDue();
  }
}

SDL_Surface* CreateWindowIcon() {
  constexpr int kSize = 64;
  const std::vector<uint8_t> pixels = DrawIcon(kSize);
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_RGBA32);
  if (icon == nullptr) return nullptr;
  for (int y = 0; y < kSize; ++y) {
    std::memcpy(static_cast<Uint8*>(icon->pixels) + y * icon->pitch, &pixels[y * kSize * 4],
                kSize * 4);
  }
  return icon;
}
