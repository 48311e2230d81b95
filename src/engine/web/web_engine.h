// The Engine in the browser: draws with WebGL2 into a 640 x 480 frame shown on the page's canvas,
// keeps 60 passes a second while giving the browser its turn, reads the keys through the page,
// plays sounds through OpenAL.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/common/bitmap_font.h"
#include "engine/common/keys_and_sounds.h"
#include "engine/common/pass_schedule.h"
#include "engine/engine.h"
#include "engine/engine_overrides.h"
#include "engine/web/web_audio.h"
#include "engine/web/web_gl.h"
#include "engine/web/web_input.h"
#include "engine/web/web_page.h"
#include "engine/web/web_text.h"
#include "io/paths.h"

// A picture as a WebGL texture. `life` expires with the WebGL context, which has then freed it.
struct WebTexture : TextureData {
  using TextureData::TextureData;
  ~WebTexture() override;

  unsigned texture = 0;
  int width = 0;
  int height = 0;
  std::weak_ptr<void> life;
  BitmapFont font;  // the glyph layout, should the picture serve as a bitmap-font atlas
};

class WebEngine : public KeysAndSoundsEngine<WebKeyState> {
 public:
  // The canvas is found by its CSS selector; the TrueType font is a file in the packed data.
  WebEngine(WebPage& page, WebInput& input, WebAudio& audio, Paths& paths, std::string canvas,
            std::string fontFile);
  WebEngine(const WebEngine&) = delete;
  WebEngine& operator=(const WebEngine&) = delete;
  ~WebEngine() override;

  ENGINE_WINDOW_AND_DRAWING_OVERRIDES;

 private:
  const WebTexture* Drawable(const Texture& texture) const;
  // Gives the browser its turn until the next pass is due (see engine/common/pass_schedule.h).
  void Pace();
  // Whether the next frame is drawn at all (see GlFrame::SetDrawing).
  void ChooseDrawing();

  WebPage& page_;
  WebInput& input_;
  WebAudio& audio_;
  Paths& paths_;
  std::string canvas_;
  GlFrame frame_;            // before the text, whose textures go first
  int drawnAtRefresh_ = -1;  // the display refresh after which the last frame was drawn
  WebText text_;
  PassSchedule schedule_;
  std::array<uint8_t, 3> tint_ = {255, 255, 255};
};
