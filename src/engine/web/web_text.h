// TrueType text in the browser: one font file packed with the game (DejaVu Sans, the face the
// desktop falls back on when the game's Verdana and Tahoma are missing), sized as on a 96-dpi
// screen and laid out like the desktop's SDL2_ttf (a line as high as the font's ascent plus
// descent, the baseline at the ascent), rasterised with stb_truetype. Rendered strings are kept in
// a small least-recently-used cache of white textures, as on the desktop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/common/string_textures.h"
#include "engine/web/web_gl.h"

struct stbtt_fontinfo;

// A string drawn in white: its coverage as alpha.
struct TextBitmap {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

class WebText {
 public:
  static constexpr size_t kCacheSize = StringTextures<unsigned>::kCapacity;

  explicit WebText(std::string fontFile);
  WebText(const WebText&) = delete;
  WebText& operator=(const WebText&) = delete;
  ~WebText();

  // Throws EngineError when the font file cannot be read.
  void CreateFont(const std::string& name, int16_t size);
  void Draw(GlFrame& frame, const std::string& font, float x, float y, float width,
            const std::string& text, int32_t color, int16_t alignment);
  // Renders the string as the cache would; an unknown font gives an empty bitmap.
  TextBitmap Render(const std::string& font, const std::string& text);
  void ReleaseTextures();

 private:
  struct Size {
    float scale;  // font units to pixels
    int ascent;
    int height;
  };
  using Entry = StringTextures<unsigned>::Entry;
  void LoadFontFile();
  const Entry* Lookup(GlFrame& frame, const std::string& font, const std::string& text);

  std::string fontFile_;
  std::vector<uint8_t> fontData_;
  std::unique_ptr<stbtt_fontinfo> info_;
  std::unordered_map<std::string, Size> fonts_;
  StringTextures<unsigned> cache_;
};
