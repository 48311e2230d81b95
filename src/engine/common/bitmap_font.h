// The bitmap-font atlas "files\font_default.dds": 16 columns by 8 rows of 32 x 32 cells, character
// code c (32..127) in cell c - 32 (column (c - 32) % 16, row (c - 32) / 16), white glyphs whose
// alpha is their coverage. A glyph is drawn from its ink (the columns of its cell with any alpha)
// and moves the pen by its ink width plus 2 pixels; an empty cell, such as the space, moves it 18.
// Lower-case letters use the upper-case glyphs; other characters show nothing and move the pen
// like a space.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

inline constexpr int kGlyphCell = 32;
inline constexpr int kGlyphColumns = 16;
inline constexpr int kGlyphRows = 8;
inline constexpr int kFirstGlyph = 32;
inline constexpr int kLastGlyph = 127;
inline constexpr int kGlyphGap = 2;  // pixels between two glyphs' ink
inline constexpr int kEmptyGlyphAdvance = 18;

struct Glyph {
  int x = 0, y = 0;  // source rectangle of the ink in the atlas
  int width = 0;     // ink width; 0 for an empty cell (nothing drawn)
  int height = 0;
  int advance = kEmptyGlyphAdvance;  // pen movement at scale 1
};

struct BitmapFont {
  std::array<Glyph, kLastGlyph - kFirstGlyph + 1> glyphs{};  // codes 32..127
  // The glyph that draws a character: lower case as upper case, unknown characters as a space.
  const Glyph& For(unsigned char c) const;
};

// Measures every glyph of an atlas of RGBA pixels (4 bytes each, `pitch` bytes a row). Cells that
// lie partly or wholly outside the picture see only the pixels that exist.
BitmapFont MeasureBitmapFont(const uint8_t* rgba, int width, int height, int pitch);

// One glyph of a laid-out string: where it comes from in the atlas and where it goes.
struct PlacedGlyph {
  int srcX, srcY, srcWidth, srcHeight;
  float x, y, width, height;
};

struct TextLayout {
  std::vector<PlacedGlyph> glyphs;  // only glyphs with ink
  float width = 0;                  // sum of the advances
  float height = 0;                 // one cell high
};

// Lays out `text` with its top-left corner at (x, y), every size multiplied by `scale`.
TextLayout LayoutBitmapText(const BitmapFont& font, std::string_view text, float x, float y,
                            float scale);
