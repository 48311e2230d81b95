#include "engine/sdl/sdl_engine.h"

#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/common/local_time.h"

namespace {

constexpr int kFrameWidth = SdlWindow::kWidth;
constexpr int kFrameHeight = SdlWindow::kHeight;

// Vsync paces the passes only on a display that refreshes 60 times a second (59.94 Hz displays
// report 59 or 60); anywhere else the pacer's sleep does it.
bool DisplayIsSixtyHertz(SDL_Window* window) {
  SDL_DisplayMode mode;
  int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return false;
  return mode.refresh_rate == 59 || mode.refresh_rate == 60;
}

// The largest 4:3 rectangle centred in the output: the frame, letterboxed.
SDL_Rect Letterbox(int outputWidth, int outputHeight) {
  SDL_Rect rect = {0, 0, outputWidth, outputHeight};
  if (static_cast<int64_t>(outputWidth) * kFrameHeight >
      static_cast<int64_t>(outputHeight) * kFrameWidth) {
    rect.w = outputHeight * kFrameWidth / kFrameHeight;
    rect.x = (outputWidth - rect.w) / 2;
  } else {
    rect.h = outputWidth * kFrameHeight / kFrameWidth;
    rect.y = (outputHeight - rect.h) / 2;
  }
  return rect;
}

int64_t SteadyNow() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

SdlEngine::SdlEngine(SdlWindow& window, SdlAudio& audio, Paths& paths)
    : KeysAndSoundsEngine(window.Keys(), audio, paths),
      window_(window),
      audio_(audio),
      paths_(paths) {
  window_.SetListener(this);
}

SdlEngine::~SdlEngine() {
  Shutdown();
  window_.SetListener(nullptr);
}

void SdlEngine::Initialize(WindowHandle window, const std::string& appFolder, float, float,
                           bool fullScreen, int16_t, int16_t, int16_t) {
  if (window != static_cast<WindowHandle>(&window_)) {
    throw EngineError("the engine was given a window that is not the game's");
  }
  paths_.SetAppFolder(appFolder);
  window_.Open(fullScreen);
  CreateRenderer();
}

void SdlEngine::CreateRenderer() {
  if (renderer_ != nullptr || window_.Get() == nullptr) return;
  vsync_ = DisplayIsSixtyHertz(window_.Get());
  const Uint32 accelerated = SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE |
                             (vsync_ ? SDL_RENDERER_PRESENTVSYNC : 0);
  renderer_ = SDL_CreateRenderer(window_.Get(), -1, accelerated);
  if (renderer_ == nullptr)
    renderer_ = SDL_CreateRenderer(window_.Get(), -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    throw EngineError(std::string("cannot draw in the game window: ") + SDL_GetError());
  }
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer_, &info) == 0) {
    vsync_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  }
  rendererLife_ = std::make_shared<int>(0);

  // The frame is scaled up by repeating its pixels, never smoothed, so that it stays sharp at any
  // window size and on HiDPI screens.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                             kFrameWidth, kFrameHeight);
  if (frame_ != nullptr) {
    SDL_SetTextureScaleMode(frame_, SDL_ScaleModeNearest);
    // The frame is opaque: copying it replaces the window's pixels, nothing to blend.
    SDL_SetTextureBlendMode(frame_, SDL_BLENDMODE_NONE);
  }
  if (frame_ == nullptr) {
    // No render targets: draw straight into the window and let SDL letterbox it.
    SDL_RenderSetLogicalSize(renderer_, kFrameWidth, kFrameHeight);
  }
  frameBound_ = false;
  BeginFrame(0, 0, 0);
}

void SdlEngine::DestroyRenderer() {
  text_.ReleaseTextures();
  rendererLife_.reset();  // the textures the game holds must not free themselves now
  if (frame_ != nullptr) SDL_DestroyTexture(frame_);
  frame_ = nullptr;
  frameBound_ = false;
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
}

std::string SdlEngine::RendererName() const {
  SDL_RendererInfo info;
  if (renderer_ == nullptr || SDL_GetRendererInfo(renderer_, &info) != 0) return "";
  return info.name;
}

void SdlEngine::WindowExposed() {
  // The window lost its picture (uncovered, resized): show the last frame again.
  if (renderer_ != nullptr && frame_ != nullptr) Present();
}

void SdlEngine::WindowClosing() {
  DestroyRenderer();
}

bool SdlEngine::BindFrame() {
  if (renderer_ == nullptr) return false;
  if (frame_ != nullptr && !frameBound_) {
    SDL_SetRenderTarget(renderer_, frame_);
    frameBound_ = true;
  }
  return true;
}

void SdlEngine::BeginFrame(int16_t, int16_t, int16_t) {
  if (!BindFrame()) return;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
}

void SdlEngine::Present() {
  if (frame_ != nullptr) {
    SDL_SetRenderTarget(renderer_, nullptr);
    frameBound_ = false;
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0) {
      width = kFrameWidth;
      height = kFrameHeight;
    }
    const SDL_Rect target = Letterbox(width, height);
    // Black bars where the frame does not reach; a frame that fills the window needs none.
    if (target.x != 0 || target.y != 0 || target.w != width || target.h != height) {
      SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
      SDL_RenderClear(renderer_);
    }
    SDL_RenderCopy(renderer_, frame_, nullptr, &target);
  }
  SDL_RenderPresent(renderer_);
}

void SdlEngine::Pace() {
  // Sleeps until the next pass is due; with vsync the wait in Present has usually done it already.
  schedule_.AwaitNextPass(SteadyNow, [](int64_t due) {
    std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::nanoseconds(due))));
  });
}

void SdlEngine::EndFrame() {
  if (renderer_ != nullptr) {
    Present();
    Pace();
  }
  window_.Pump();
}

void SdlEngine::TakeScreenshot() {
  if (!BindFrame()) return;
  const std::string path = paths_.Resolve(ScreenshotName());
  lastScreenshot_.clear();
  SDL_Surface* shot =
      SDL_CreateRGBSurfaceWithFormat(0, kFrameWidth, kFrameHeight, 32, SDL_PIXELFORMAT_RGBA32);
  std::string error;
  if (shot == nullptr) {
    error = SDL_GetError();
  } else if (frame_ == nullptr) {
    error = "the renderer cannot read back its frame";
  } else if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGBA32, shot->pixels,
                                  shot->pitch) != 0 ||
             IMG_SavePNG(shot, path.c_str()) != 0) {
    error = SDL_GetError();
  }
  if (shot != nullptr) SDL_FreeSurface(shot);
  if (!error.empty()) {
    std::fprintf(stderr, "swayfire: warning: cannot save the screenshot %s: %s\n", path.c_str(),
                 error.c_str());
    return;
  }
  lastScreenshot_ = path;
}

void SdlEngine::CreateFont(const std::string& name, const std::string& face, int16_t size, int16_t,
                           int16_t) {
  text_.CreateFont(name, face, size);
}

void SdlEngine::DrawText(const std::string& font, float x, float y, float width, float,
                         const std::string& text, int32_t color, int16_t alignment) {
  if (!BindFrame()) return;
  text_.Draw(renderer_, font, x, y, width, text, color, alignment);
}

void SdlEngine::Shutdown() {
  DestroyRenderer();
  text_.CloseFonts();
  audio_.FreeSounds();
}
