// Where a sprite or a bitmap-font glyph lands on the frame, the same on every backend that draws:
// its size, the part of the picture it shows, its turn, its tint and opacity.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/common/bitmap_font.h"

// A sprite's drawn size: the size asked for, or its region's size when none is asked (0). False
// when nothing can be drawn: an empty or impossible size or place.
bool DrawnSize(float x, float y, float width, float height, float& drawnWidth, float& drawnHeight);

// The region at the top-left corner of a picture, as much of a width x height region as the
// picture has. False when nothing of it is left.
bool SourceRegion(float width, float height, int pictureWidth, int pictureHeight, int& sourceWidth,
                  int& sourceHeight);

// A turn by some degrees, clockwise on the screen (y grows downwards).
struct Turn {
  explicit Turn(double degrees);
  // The point (x, y) turned about (centreX, centreY).
  void Apply(double x, double y, double centreX, double centreY, double& turnedX,
             double& turnedY) const;

  double cosine;
  double sine;
};

// The colour SetColor names (any numbers, kept to 0..255) as the tint of the sprites after it.
std::array<uint8_t, 3> TintOf(int red, int green, int blue);
// A tint component (0..255, any float the game passes) as a colour modulation.
uint8_t TintChannel(float value);
// An opacity in percent as an alpha modulation.
uint8_t OpacityAlpha(int opacityPercent);

// Where a sprite lands: its drawn size and the region of its picture shown.
struct SpritePlacement {
  float drawnWidth = 0, drawnHeight = 0;
  int sourceWidth = 0, sourceHeight = 0;
};

// The picture of a sprite that shows anything, and where: `find` gives the backend's picture (a
// pointer with its width and height, or null when it cannot be drawn), asked for only once the
// sprite's opacity, place and size let it show. Null when nothing shows.
template <class FindPicture>
auto PlaceSprite(float x, float y, float width, float height, int opacity, float drawnWidth,
                 float drawnHeight, FindPicture find, SpritePlacement& placement)
    -> decltype(find()) {
  placement.drawnWidth = drawnWidth;
  placement.drawnHeight = drawnHeight;
  if (opacity <= 0 ||
      !DrawnSize(x, y, width, height, placement.drawnWidth, placement.drawnHeight)) {
    return nullptr;
  }
  const auto picture = find();
  if (picture == nullptr || !SourceRegion(width, height, picture->width, picture->height,
                                          placement.sourceWidth, placement.sourceHeight)) {
    return nullptr;
  }
  return picture;
}

// Where a string of the bitmap font lands: its glyphs, turned as one piece about its centre.
struct TextPlacement {
  TextLayout layout;
  double degrees = 0;
  Turn turn{0};
  double centreX = 0, centreY = 0;

  // Where a glyph's centre goes as the string turns (the glyph itself turns by `degrees`).
  void GlyphCentre(const PlacedGlyph& glyph, double& x, double& y) const {
    turn.Apply(glyph.x + glyph.width / 2.0, glyph.y + glyph.height / 2.0, centreX, centreY, x, y);
  }
};

// The font atlas of a string that shows anything, and where its glyphs go: `find` gives the
// backend's atlas (a pointer with its bitmap font, or null when it cannot be drawn), asked for
// only once the string's opacity, place and scale let it show. Null when nothing shows.
template <class FindAtlas>
auto PlaceText(const std::string& text, float x, float y, float scale, float angle, int opacity,
               FindAtlas find, TextPlacement& placement) -> decltype(find()) {
  if (opacity <= 0 || !(scale > 0) || !std::isfinite(scale) || !std::isfinite(x) ||
      !std::isfinite(y)) {
    return nullptr;
  }
  const auto atlas = find();
  if (atlas == nullptr) return nullptr;
  placement.layout = LayoutBitmapText(atlas->font, text, x, y, scale);
  if (placement.layout.glyphs.empty()) return nullptr;
  placement.degrees = std::isfinite(angle) ? angle : 0.0;
  placement.turn = Turn(placement.degrees);
  placement.centreX = x + placement.layout.width / 2.0;
  placement.centreY = y + placement.layout.height / 2.0;
  return atlas;
}
