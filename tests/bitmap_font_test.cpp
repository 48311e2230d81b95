#include "engine/common/bitmap_font.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A blank 512 x 256 atlas to paint glyphs into.
struct Atlas {
  int width = 512;
  int height = 256;
  std::vector<uint8_t> rgba = std::vector<uint8_t>(512 * 256 * 4, 0);

  // Gives the cell of `code` ink (any alpha) in columns left..right of the cell, on one row.
  void Ink(int code, int left, int right, int row = 16, uint8_t alpha = 255) {
    int cell = code - 32;
    int x0 = (cell % 16) * 32;
    int y0 = (cell / 16) * 32;
    for (int x = left; x <= right; ++x) {
      uint8_t* p = rgba.data() + ((y0 + row) * width + x0 + x) * 4;
      p[0] = p[1] = p[2] = 255;
      p[3] = alpha;
    }
  }
  BitmapFont Measure() const { return MeasureBitmapFont(rgba.data(), width, height, width * 4); }
};

}  // namespace

TEST(BitmapFont, GlyphsAreTheirInkSpanPlusAGap) {
  Atlas atlas;
  atlas.Ink('A', 5, 24);         // cell 33: column 1, row 2
  atlas.Ink('1', 10, 10, 0);     // one column of ink at the top edge of the cell
  atlas.Ink('~', 0, 31, 31, 1);  // the faintest ink over the whole width, bottom row
  BitmapFont font = atlas.Measure();

  const Glyph& a = font.For('A');
  EXPECT_EQ(a.x, 1 * 32 + 5);
  EXPECT_EQ(a.y, 2 * 32);
  EXPECT_EQ(a.width, 20);
  EXPECT_EQ(a.height, 32);
  EXPECT_EQ(a.advance, 22);

  EXPECT_EQ(font.For('1').width, 1);
  EXPECT_EQ(font.For('1').advance, 3);
  EXPECT_EQ(font.For('~').width, 32);
  EXPECT_EQ(font.For('~').advance, 34);

  // The space and any other empty cell: nothing drawn, 18 pixels of advance.
  EXPECT_EQ(font.For(' ').width, 0);
  EXPECT_EQ(font.For(' ').advance, 18);
  EXPECT_EQ(font.For('B').width, 0);
  EXPECT_EQ(font.For('B').advance, 18);
}

TEST(BitmapFont, LowerCaseUsesUpperCaseAndUnknownCharactersAreSpaces) {
  Atlas atlas;
  atlas.Ink('Q', 2, 9);
  atlas.Ink(' ', 0, 3);  // even an inked space cell is what unknown characters borrow
  BitmapFont font = atlas.Measure();
  EXPECT_EQ(&font.For('q'), &font.For('Q'));
  EXPECT_EQ(font.For('q').width, 8);
  for (unsigned char c : {0, 10, 31, 128, 200, 255}) {
    EXPECT_EQ(&font.For(c), &font.For(' ')) << int(c);
  }
  EXPECT_EQ(font.For(127).advance, 18);  // DEL has a cell of its own, empty here
}

TEST(BitmapFont, LayoutPlacesGlyphsAtScale) {
  Atlas atlas;
  atlas.Ink('H', 4, 13);  // 10 wide
  atlas.Ink('I', 0, 3);   // 4 wide
  BitmapFont font = atlas.Measure();

  TextLayout layout = LayoutBitmapText(font, "Hi \x01I", 100.0f, 50.0f, 1.5f);
  ASSERT_EQ(layout.glyphs.size(), 3u);
  const PlacedGlyph& h = layout.glyphs[0];
  EXPECT_EQ(h.srcX, (('H' - 32) % 16) * 32 + 4);
  EXPECT_EQ(h.srcY, (('H' - 32) / 16) * 32);
  EXPECT_EQ(h.srcWidth, 10);
  EXPECT_EQ(h.srcHeight, 32);
  EXPECT_FLOAT_EQ(h.x, 100.0f);
  EXPECT_FLOAT_EQ(h.y, 50.0f);
  EXPECT_FLOAT_EQ(h.width, 15.0f);
  EXPECT_FLOAT_EQ(h.height, 48.0f);
  // H advances 12, i (as I) 6, the space and the control character 18 each.
  EXPECT_FLOAT_EQ(layout.glyphs[1].x, 100.0f + 12 * 1.5f);
  EXPECT_FLOAT_EQ(layout.glyphs[2].x, 100.0f + (12 + 6 + 18 + 18) * 1.5f);
  EXPECT_FLOAT_EQ(layout.width, (12 + 6 + 18 + 18 + 6) * 1.5f);
  EXPECT_FLOAT_EQ(layout.height, 48.0f);

  EXPECT_TRUE(LayoutBitmapText(font, "", 0, 0, 1).glyphs.empty());
  EXPECT_FLOAT_EQ(LayoutBitmapText(font, "", 0, 0, 1).width, 0.0f);
}

TEST(BitmapFont, SmallAtlasSeesOnlyThePixelsThatExist) {
  // A 40 x 40 picture: only the cells of the first row's first two columns exist, the second
  // one partly.
  std::vector<uint8_t> rgba(40 * 40 * 4, 0);
  auto ink = [&](int x, int y) { rgba[(y * 40 + x) * 4 + 3] = 200; };
  ink(35, 5);   // cell 1 ('!'), column 3 of the cell
  ink(39, 39);  // cell 17 ('1'), of which only 8 x 8 pixels exist
  BitmapFont font = MeasureBitmapFont(rgba.data(), 40, 40, 40 * 4);
  EXPECT_EQ(font.For('!').x, 35);
  EXPECT_EQ(font.For('!').width, 1);
  EXPECT_EQ(font.For('!').height, 32);
  EXPECT_EQ(font.For('1').x, 39);
  EXPECT_EQ(font.For('1').y, 32);
  EXPECT_EQ(font.For('1').height, 8);  // the source never reaches past the picture
  EXPECT_EQ(font.For('0').width, 0);
  EXPECT_EQ(font.For('~').width, 0);  // a cell wholly outside

  BitmapFont none = MeasureBitmapFont(nullptr, 0, 0, 0);
  EXPECT_EQ(none.For('A').advance, 18);
}
