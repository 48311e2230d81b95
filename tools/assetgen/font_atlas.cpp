// The menu's bitmap font: 16 x 8 cells of 32 x 32 for the codes 32..127, white glyphs whose alpha
// is their coverage. The engine measures each glyph's ink and advances by its width + 2.
#include <algorithm>
#include <cmath>

#include "assets.h"
#include "stroke_font.h"

namespace {

constexpr int kCell = 32;
constexpr float kTop = 4.5f;  // centre line of the cap tops: ink from y 2 to 29

// Coverage of one glyph in its cell; the ink is centred, its edges on whole pixels.
std::vector<float> GlyphCoverage(char c) {
  const float inkWidth = GlyphWidth(c) + 2 * kStrokeRadius;
  const float left = std::floor((kCell - inkWidth) / 2);
  const auto segments = GlyphSegments(c, left + kStrokeRadius, kTop, 1.0f);
  auto field = DistanceField(kCell, kCell, segments, kStrokeRadius + 2);
  for (float& d : field) d = std::clamp(kStrokeRadius + 0.5f - d, 0.0f, 1.0f);
  return field;
}

}  // namespace

Image MakeFontAtlas() {
  Image img(16 * kCell, 8 * kCell);
  for (int code = 32; code < 128; ++code) {
    const int index = code - 32;
    const int ox = (index % 16) * kCell, oy = (index / 16) * kCell;
    const auto coverage = GlyphCoverage(char(code));
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x)
        img.Blend(ox + x, oy + y, {1, 1, 1, 1}, coverage[y * kCell + x]);
  }
  return img;
}

Image MakeBlueFont() {
  // The same letters in solid blue on the magenta colour key, hard-edged so that no pixel
  // blends towards the key colour.
  Image img(16 * kCell, 8 * kCell);
  img.Fill({1, 0, 1, 1});
  for (int code = 32; code < 128; ++code) {
    const int index = code - 32;
    const int ox = (index % 16) * kCell, oy = (index / 16) * kCell;
    const auto coverage = GlyphCoverage(char(code));
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        const float c = coverage[y * kCell + x];
        if (c < 0.5f) continue;
        const float shade = 0.55f + 0.45f * (1 - float(y) / kCell);
        img.At(ox + x, oy + y) = {0.15f * shade, 0.45f * shade, 1.0f * shade, 1};
      }
    }
  }
  return img;
}

int AtlasAdvance(const Image& atlas, const char* text) {
  const auto rgba = atlas.ToRgba8();
  int total = 0;
  for (const char* p = text; *p; ++p) {
    const int index = static_cast<unsigned char>(*p) - 32;
    const int ox = (index % 16) * kCell, oy = (index / 16) * kCell;
    int lo = kCell, hi = -1;
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        if (rgba[((size_t(oy + y) * atlas.Width()) + ox + x) * 4 + 3] > 0) {
          lo = std::min(lo, x), hi = std::max(hi, x);
        }
      }
    }
    total += hi < 0 ? 18 : hi - lo + 1 + 2;
  }
  return total;
}
