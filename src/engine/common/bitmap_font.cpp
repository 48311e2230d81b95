#include "engine/common/bitmap_font.h"

#include <algorithm>

const Glyph& BitmapFont::For(unsigned char c) const {
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  if (c < kFirstGlyph || c > kLastGlyph) c = ' ';
  return glyphs[c - kFirstGlyph];
}

BitmapFont MeasureBitmapFont(const uint8_t* rgba, int width, int height, int pitch) {
  BitmapFont font;
  for (int code = kFirstGlyph; code <= kLastGlyph; ++code) {
    Glyph& glyph = font.glyphs[code - kFirstGlyph];
    const int cell = code - kFirstGlyph;
    const int cellX = (cell % kGlyphColumns) * kGlyphCell;
    const int cellY = (cell / kGlyphColumns) * kGlyphCell;
    const int right = std::min(cellX + kGlyphCell, width);
    const int bottom = std::min(cellY + kGlyphCell, height);
    int inkLeft = -1, inkRight = -1;
    if (rgba != nullptr) {
      for (int x = cellX; x < right; ++x) {
        for (int y = cellY; y < bottom; ++y) {
          if (rgba[static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * 4 + 3] != 0) {
            if (inkLeft < 0) inkLeft = x;
            inkRight = x;
            break;
          }
        }
      }
    }
    if (inkLeft < 0) continue;  // empty cell: nothing to draw, the space's advance
    glyph.x = inkLeft;
    glyph.y = cellY;
    glyph.width = inkRight - inkLeft + 1;
    glyph.height = bottom - cellY;
    glyph.advance = glyph.width + kGlyphGap;
  }
  return font;
}

TextLayout LayoutBitmapText(const BitmapFont& font, std::string_view text, float x, float y,
                            float scale) {
  TextLayout layout;
  layout.height = kGlyphCell * scale;
  float pen = x;
  for (char c : text) {
    const Glyph& glyph = font.For(static_cast<unsigned char>(c));
    if (glyph.width > 0) {
      layout.glyphs.push_back({glyph.x, glyph.y, glyph.width, glyph.height, pen, y,
                               glyph.width * scale, glyph.height * scale});
    }
    pen += glyph.advance * scale;
  }
  layout.width = pen - x;
  return layout;
}
