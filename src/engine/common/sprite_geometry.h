// Where a sprite or a bitmap-font glyph lands on the frame, the same on every backend that draws:
// its size, the part of the picture it shows, its turn, its tint and opacity.
#pragma once

#include <cstdint>

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

// A tint component (0..255, any float the game passes) as a colour modulation.
uint8_t TintChannel(float value);
// An opacity in percent as an alpha modulation.
uint8_t OpacityAlpha(int opacityPercent);
