// Shading helpers shared by the sprites: bevelled edges lit from the top left.
#pragma once

#include <algorithm>
#include <cmath>

#include "image.h"

inline float Smoothstep(float e0, float e1, float x) {
  const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// Brightness factor of a bevelled shape at (x, y): edges facing the light are brighter, the
// others darker, over `width` pixels inside the outline.
inline float BevelLight(const Sdf& sdf, float x, float y, float d, float width, float strength) {
  const float e = 0.35f;
  float gx = sdf(x + e, y) - sdf(x - e, y);
  float gy = sdf(x, y + e) - sdf(x, y - e);
  const float len = std::hypot(gx, gy);
  if (len < 1e-6f) return 1;
  gx /= len, gy /= len;
  const float toLight = -0.6f * gx - 0.8f * gy;  // light from the top left
  const float edge = Smoothstep(-width, 0.0f, d);
  return 1 + strength * edge * toLight;
}

// A shader for a bevelled body of one colour.
inline Shader Bevelled(Sdf sdf, Color base, float width = 2.0f, float strength = 0.35f) {
  return [sdf, base, width, strength](float x, float y, float d) {
    const float k = BevelLight(sdf, x, y, d, width, strength);
    return Color{std::min(1.0f, base.r * k), std::min(1.0f, base.g * k), std::min(1.0f, base.b * k),
                 base.a};
  };
}

inline void PaintBevelled(Image& img, const Sdf& sdf, Color base, float width = 2.0f,
                          float strength = 0.35f) {
  PaintSdf(img, sdf, Bevelled(sdf, base, width, strength), 0, 0, img.Width() - 1, img.Height() - 1);
}

inline Sdf Union(Sdf a, Sdf b) {
  return [a, b](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
inline Sdf Subtract(Sdf a, Sdf b) {
  return [a, b](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
inline Sdf Capsule(float ax, float ay, float bx, float by, float r) {
  return [=](float x, float y) { return SdSegment(x, y, ax, ay, bx, by) - r; };
}
inline Sdf Circle(float cx, float cy, float r) {
  return [=](float x, float y) { return SdCircle(x, y, cx, cy, r); };
}
inline Sdf Polygon(std::vector<Vec2> pts) {
  return [pts = std::move(pts)](float x, float y) { return SdPolygon(x, y, pts); };
}
inline Sdf Mirrored(Sdf s, float axis) {
  return [s, axis](float x, float y) { return std::min(s(x, y), s(2 * axis - x, y)); };
}
