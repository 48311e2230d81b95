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

  void Initialize(WindowHandle window, const std::string& appFolder, float width, float height,
                  bool fullScreen, int16_t a, int16_t b, int16_t c) override;
  void LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) override;
  void DrawSprite(const Texture& texture, float x, float y, float width, float height, float angle,
                  int16_t opacity, float a, float b, float drawnWidth, float drawnHeight, float c,
                  float d) override;
  void DrawBitmapText(const Texture& fontTexture, const std::string& text, float x, float y,
                      float scale, float angle, int16_t opacity, float red, float green,
                      float blue) override;
  void BeginFrame(int16_t a, int16_t b, int16_t c) override;
  void SetColor(int16_t red, int16_t green, int16_t blue) override;
  void TakeScreenshot() override;
  void EndFrame() override;
  void CreateFont(const std::string& name, const std::string& face, int16_t size, int16_t a,
                  int16_t b) override;
  void DrawText(const std::string& font, float x, float y, float width, float height,
                const std::string& text, int32_t color, int16_t alignment) override;
  void Shutdown() override;

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
