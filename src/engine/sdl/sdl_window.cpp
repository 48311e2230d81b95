#include "engine/sdl/sdl_window.h"

#include <cmath>

#include "engine/engine.h"

namespace {

// Room for the title bar and borders when deciding whether the doubled window fits.
constexpr int kDecorationAllowance = 40;

bool IsEnter(SDL_Scancode key) {
  return key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_KP_ENTER;
}

}  // namespace

SdlWindow::~SdlWindow() {
  if (window_ != nullptr) Destroy();
}

void SdlWindow::Open(bool fullScreen) {
  if (window_ != nullptr || unloaded_) return;
  int width = kWidth;
  int height = kHeight;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w >= 2 * kWidth &&
      usable.h >= 2 * kHeight + kDecorationAllowance) {
    width = 2 * kWidth;
    height = 2 * kHeight;
  }
  Uint32 flags = SDL_WINDOW_RESIZABLE | (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
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
  if (unloaded_) return;
  int16_t cancel = 0;
  if (closeHandler_) closeHandler_(cancel);
  if (cancel == 0) Destroy();
}

void SdlWindow::Destroy() {
  if (listener_ != nullptr) listener_->WindowClosing();
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = nullptr;
  unloaded_ = true;
  keys_.ReleaseAll();
}

void SdlWindow::ToggleFullScreen() {
  if (window_ == nullptr) return;
  const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void SdlWindow::Pump() {
  keys_.BeginPump();
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
            keys_.ReleaseAll();
            break;
          default:
            break;
        }
        break;
      case SDL_KEYDOWN: {
        const SDL_Keysym& key = event.key.keysym;
        // Alt+Enter switches between window and full screen; the game does not see that Enter.
        if (IsEnter(key.scancode) && (key.mod & KMOD_ALT) != 0) {
          if (event.key.repeat == 0) ToggleFullScreen();
          break;
        }
        keys_.Press(key.scancode, event.key.repeat != 0);
        break;
      }
      case SDL_KEYUP:
        keys_.Release(event.key.keysym.scancode);
        break;
      default:
        break;
    }
  }
  if (exposed && listener_ != nullptr && window_ != nullptr) listener_->WindowExposed();
  // The window closes at most once a pump, however many ways the request came (the close button
  // sends both a window close and a quit).
  if (closeRequested) RequestClose();
}

SDL_Surface* CreateWindowIcon() {
  constexpr int kSize = 32;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_RGBA32);
  if (icon == nullptr) return nullptr;
  auto* pixels = static_cast<Uint8*>(icon->pixels);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      Uint8* p = pixels + y * icon->pitch + x * 4;
      // An arrow-head ship pointing up: inside when within the widening body and above the notch.
      const float cx = std::fabs(x + 0.5f - kSize / 2.0f);
      const float half = (y + 1) * 0.45f;
      const bool body = y >= 2 && y <= 29 && cx <= half;
      const bool notch = y > 20 && cx < (y - 20) * 0.9f;
      if (!body || notch) {
        p[0] = p[1] = p[2] = p[3] = 0;
        continue;
      }
      const bool edge = cx > half - 1.5f || y <= 3;
      const float heat = static_cast<float>(y) / kSize;  // yellow nose, red tail
      p[0] = edge ? 90 : 255;
      p[1] = edge ? 20 : static_cast<Uint8>(230 - 170 * heat);
      p[2] = edge ? 10 : static_cast<Uint8>(60 - 50 * heat);
      p[3] = 255;
    }
  }
  return icon;
}
