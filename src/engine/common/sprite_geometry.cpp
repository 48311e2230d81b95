#include "engine/common/sprite_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

bool DrawnSize(float x, float y, float width, float height, float& drawnWidth, float& drawnHeight) {
  if (!(width > 0) || !(height > 0)) return false;
  if (drawnWidth == 0) drawnWidth = width;
  if (drawnHeight == 0) drawnHeight = height;
  return drawnWidth > 0 && drawnHeight > 0 && std::isfinite(x) && std::isfinite(y) &&
         std::isfinite(drawnWidth) && std::isfinite(drawnHeight);
}

bool SourceRegion(float width, float height, int pictureWidth, int pictureHeight, int& sourceWidth,
                  int& sourceHeight) {
  sourceWidth = static_cast<int>(std::min<double>(std::ceil(width), pictureWidth));
  sourceHeight = static_cast<int>(std::min<double>(std::ceil(height), pictureHeight));
  return sourceWidth > 0 && sourceHeight > 0;
}

Turn::Turn(double degrees) {
  const double radians = degrees * std::numbers::pi / 180.0;
  cosine = std::cos(radians);
  sine = std::sin(radians);
}

void Turn::Apply(double x, double y, double centreX, double centreY, double& turnedX,
                 double& turnedY) const {
  const double dx = x - centreX, dy = y - centreY;
  turnedX = centreX + dx * cosine - dy * sine;
  turnedY = centreY + dx * sine + dy * cosine;
}

std::array<uint8_t, 3> TintOf(int red, int green, int blue) {
  return {static_cast<uint8_t>(std::clamp(red, 0, 255)),
          static_cast<uint8_t>(std::clamp(green, 0, 255)),
          static_cast<uint8_t>(std::clamp(blue, 0, 255))};
}

uint8_t TintChannel(float value) {
  if (!(value > 0)) return 0;
  return static_cast<uint8_t>(std::lround(std::min(value, 255.0f)));
}

uint8_t OpacityAlpha(int opacityPercent) {
  return static_cast<uint8_t>((std::clamp(opacityPercent, 0, 100) * 255 + 50) / 100);
}
