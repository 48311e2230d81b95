#include "engine/web/web_text.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/common/data_files.h"
#include "engine/engine.h"

namespace {

constexpr int kScreenDpi = 96;

// The code points of UTF-8 text; a broken sequence reads as U+FFFD.
std::vector<int> CodePoints(const std::string& text) {
  std::vector<int> points;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = lead < 0x80         ? 1
                 : (lead >> 5) == 6  ? 2
                 : (lead >> 4) == 14 ? 3
                 : (lead >> 3) == 30 ? 4
                                     : 0;
    if (length == 0 || i + length > text.size()) {
      points.push_back(0xFFFD);
      ++i;
      continue;
    }
    int point = length == 1 ? lead : lead & (0x7F >> length);
    bool ok = true;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next >> 6) != 2) ok = false;
      point = (point << 6) | (next & 0x3F);
    }
    points.push_back(ok ? point : 0xFFFD);
    i += ok ? length : 1;
  }
  return points;
}

}  // namespace

WebText::WebText(std::string fontFile) : fontFile_(std::move(fontFile)) {}

WebText::~WebText() {
  ReleaseTextures();
}

void WebText::LoadFontFile() {
  if (info_) return;
  std::string error;
  if (!ReadFileBytes(fontFile_, fontData_, error)) {
    throw EngineError("cannot read the font \"" + fontFile_ + "\": " + error);
  }
  auto info = std::make_unique<stbtt_fontinfo>();
  const int offset = stbtt_GetFontOffsetForIndex(fontData_.data(), 0);
  if (offset < 0 || !stbtt_InitFont(info.get(), fontData_.data(), offset)) {
    throw EngineError("cannot read the font \"" + fontFile_ + "\": not a TrueType font");
  }
  info_ = std::move(info);
}

void WebText::CreateFont(const std::string& name, int16_t size) {
  LoadFontFile();
  // Sizes are points on a 96-dpi screen, as the game was made for; the point size is the em.
  const float pixels = static_cast<float>(size > 0 ? size : 1) * kScreenDpi / 72.0f;
  const float scale = stbtt_ScaleForMappingEmToPixels(info_.get(), pixels);
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(info_.get(), &ascent, &descent, &gap);
  Size metrics;
  metrics.scale = scale;
  metrics.ascent = static_cast<int>(std::ceil(ascent * scale));
  metrics.height = static_cast<int>(std::ceil((ascent - descent) * scale));
  fonts_[name] = metrics;
  ReleaseTextures();  // strings of an old font under that name
}

TextBitmap WebText::Render(const std::string& fontName, const std::string& text) {
  TextBitmap bitmap;
  auto font = fonts_.find(fontName);
  if (font == fonts_.end() || !info_) return bitmap;
  const Size& size = font->second;
  const float scale = size.scale;

  // Lines split at line breaks, each as high as the font.
  std::vector<std::vector<int>> lines(1);
  for (int point : CodePoints(text)) {
    if (point == '\n') {
      lines.emplace_back();
    } else if (point != '\r') {
      lines.back().push_back(point);
    }
  }
  std::vector<float> widths;
  float widest = 0;
  for (const auto& line : lines) {
    float pen = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      int advance = 0, bearing = 0;
      stbtt_GetCodepointHMetrics(info_.get(), line[i], &advance, &bearing);
      pen += advance * scale;
      if (i + 1 < line.size())
        pen += stbtt_GetCodepointKernAdvance(info_.get(), line[i], line[i + 1]) * scale;
    }
    widths.push_back(pen);
    widest = std::max(widest, pen);
  }
  bitmap.width = std::max(1, static_cast<int>(std::ceil(widest)));
  bitmap.height = size.height * static_cast<int>(lines.size());
  std::vector<uint8_t> coverage(static_cast<size_t>(bitmap.width) * bitmap.height);

  for (size_t row = 0; row < lines.size(); ++row) {
    const auto& line = lines[row];
    const int baseline = static_cast<int>(row) * size.height + size.ascent;
    float pen = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      const float shift = pen - std::floor(pen);
      int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
      stbtt_GetCodepointBitmapBoxSubpixel(info_.get(), line[i], scale, scale, shift, 0, &x0, &y0,
                                          &x1, &y1);
      const int glyphWidth = x1 - x0, glyphHeight = y1 - y0;
      if (glyphWidth > 0 && glyphHeight > 0) {
        std::vector<uint8_t> glyph(static_cast<size_t>(glyphWidth) * glyphHeight);
        stbtt_MakeCodepointBitmapSubpixel(info_.get(), glyph.data(), glyphWidth, glyphHeight,
                                          glyphWidth, scale, scale, shift, 0, line[i]);
        const int left = static_cast<int>(std::floor(pen)) + x0;
        const int top = baseline + y0;
        for (int gy = 0; gy < glyphHeight; ++gy) {
          const int y = top + gy;
          if (y < 0 || y >= bitmap.height) continue;
          for (int gx = 0; gx < glyphWidth; ++gx) {
            const int x = left + gx;
            if (x < 0 || x >= bitmap.width) continue;
            uint8_t& cell = coverage[static_cast<size_t>(y) * bitmap.width + x];
            cell = std::max(cell, glyph[static_cast<size_t>(gy) * glyphWidth + gx]);
          }
        }
      }
      int advance = 0, bearing = 0;
      stbtt_GetCodepointHMetrics(info_.get(), line[i], &advance, &bearing);
      pen += advance * scale;
      if (i + 1 < line.size())
        pen += stbtt_GetCodepointKernAdvance(info_.get(), line[i], line[i + 1]) * scale;
    }
  }
  bitmap.rgba.resize(coverage.size() * 4);
  for (size_t i = 0; i < coverage.size(); ++i) {
    bitmap.rgba[i * 4] = bitmap.rgba[i * 4 + 1] = bitmap.rgba[i * 4 + 2] = 255;
    bitmap.rgba[i * 4 + 3] = coverage[i];
  }
  return bitmap;
}

const WebText::Entry* WebText::Lookup(GlFrame& frame, const std::string& font,
                                      const std::string& text) {
  auto render = [&](unsigned& texture, int& width, int& height) {
    const TextBitmap bitmap = Render(font, text);
    if (bitmap.rgba.empty()) return false;
    texture = frame.CreateTexture(bitmap.rgba.data(), bitmap.width, bitmap.height);
    width = bitmap.width;
    height = bitmap.height;
    return texture != 0;
  };
  return cache_.Lookup(font, text, render, GlFrame::DeleteTexture);
}

void WebText::Draw(GlFrame& frame, const std::string& font, float x, float y, float width,
                   const std::string& text, int32_t color, int16_t alignment) {
  TextPaint paint;
  if (!frame.IsOpen() || !StartText(text, x, y, width, color, paint)) return;
  const Entry* entry = Lookup(frame, font, text);
  if (entry == nullptr) return;
  const TextPlace place = PlaceText(x, y, width, entry->width, entry->height, alignment);
  const float l = place.left, t = place.top, r = l + place.width, b = t + place.height;
  const GlFrame::Point corners[4] = {{l, t}, {r, t}, {r, b}, {l, b}};
  frame.Quad(entry->texture, corners, 0, 0, 1, 1,
             {paint.red, paint.green, paint.blue, paint.alpha});
}

void WebText::ReleaseTextures() {
  cache_.Clear(GlFrame::DeleteTexture);
}
