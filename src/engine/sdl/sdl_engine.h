// The Engine on SDL2: draws into a 640 x 480 frame that is shown letterboxed and scaled in the
// window, paces the passes at 60 a second, reads the keys through the window, plays sounds.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/common/keys_and_sounds.h"
#include "engine/common/pass_schedule.h"
#include "engine/engine.h"
#include "engine/engine_overrides.h"
#include "engine/sdl/sdl_audio.h"
#include "engine/sdl/sdl_text.h"
#include "engine/sdl/sdl_window.h"
#include "io/paths.h"

struct SdlTexture;

class SdlEngine : public KeysAndSoundsEngine<KeyState>, private WindowListener {
 public:
  SdlEngine(SdlWindow& window, SdlAudio& audio, Paths& paths);
  SdlEngine(const SdlEngine&) = delete;
  SdlEngine& operator=(const SdlEngine&) = delete;
  ~SdlEngine() override;

  ENGINE_WINDOW_AND_DRAWING_OVERRIDES;

  // Where the last screenshot went ("" before the first, or when it failed).
  const std::string& LastScreenshot() const { return lastScreenshot_; }
  // The renderer's name ("opengl", "software" ...), "" before Initialize.
  std::string RendererName() const;
  bool VSync() const { return vsync_; }
  const SdlText& Text() const { return text_; }

 private:
  void WindowExposed() override;
  void WindowClosing() override;
  void WindowHeld() override { schedule_.Restart(); }

  void CreateRenderer();
  void DestroyRenderer();
  // Makes the 640 x 480 frame the drawing target; false when there is nothing to draw on.
  bool BindFrame();
  // Shows the frame in the window, letterboxed and scaled.
  void Present();
  void Pace();
  const SdlTexture* Drawable(const Texture& texture);

  SdlWindow& window_;
  SdlAudio& audio_;
  Paths& paths_;
  SdlText text_;
  PassSchedule schedule_;

  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* frame_ = nullptr;  // nullptr: no render targets, drawing goes straight to the window
  bool frameBound_ = false;
  std::shared_ptr<int> rendererLife_;  // textures hold it weakly
  bool vsync_ = false;
  std::array<uint8_t, 3> tint_ = {255, 255, 255};
  std::string lastScreenshot_;
};
