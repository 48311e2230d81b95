// Key caps for the menu's key help: the fire keys W over A S D, and the four arrow keys.
#include <cmath>

#include "assets.h"
#include "neon.h"
#include "shading.h"

namespace {

constexpr float kCapW = 30, kCapH = 27;

// A cap with its top-left corner at (x, y): dark glassy face, cyan neon rim.
void Cap(Image& img, float x, float y) {
  const float cx = x + kCapW / 2, cy = y + kCapH / 2;
  const Sdf face = [=](float px, float py) {
    return SdBox(px, py, cx, cy, kCapW / 2, kCapH / 2, 5);
  };
  PaintSdf(
      img, face,
      [=](float, float py, float) {
        const float t = std::clamp((py - y) / kCapH, 0.0f, 1.0f);
        return Mix(Color{0.16f, 0.18f, 0.32f, 0.9f}, Color{0.04f, 0.04f, 0.1f, 0.9f}, t);
      },
      0, 0, img.Width() - 1, img.Height() - 1);
  const Sdf rim = [=](float px, float py) { return std::fabs(face(px, py) + 1.2f) - 0.8f; };
  PaintSdf(img, rim, Color{0.3f, 0.9f, 1.0f, 1});
}

void Letter(Image& img, char c, float x, float y) {
  const float scale = 0.55f;
  const float w = (GlyphWidth(c) + 2 * kStrokeRadius) * scale;
  NeonStyle style;
  style.radius = kStrokeRadius * scale;
  style.glow = 3;
  style.glowStrength = 0.3f;
  style.color = [](float, float) { return Color{0.85f, 0.95f, 1.0f}; };
  const float left = x + (kCapW - w) / 2;
  const float top = y + (kCapH - kCapHeight * scale) / 2;
  DrawNeon(img, GlyphSegments(c, left + kStrokeRadius * scale, top, scale), style);
}

// A filled arrow head pointing by (dx, dy) in the middle of a cap.
void ArrowOn(Image& img, float x, float y, float dx, float dy) {
  const float cx = x + kCapW / 2, cy = y + kCapH / 2;
  const float px = -dy, py = dx;  // perpendicular
  const std::vector<Vec2> tri = {{cx + dx * 7, cy + dy * 7},
                                 {cx - dx * 5 + px * 7, cy - dy * 5 + py * 7},
                                 {cx - dx * 5 - px * 7, cy - dy * 5 - py * 7}};
  const Sdf shape = [tri](float qx, float qy) { return SdPolygon(qx, qy, tri) - 0.8f; };
  PaintSdf(img, shape, Color{0.85f, 0.95f, 1.0f, 1});
}

}  // namespace

Image MakeKeysFire() {
  Image img(128, 64);
  const float left = 14, top = 3, step = kCapW + 4;
  Cap(img, left + step, top);
  Letter(img, 'W', left + step, top);
  const char bottom[] = {'A', 'S', 'D'};
  for (int i = 0; i < 3; ++i) {
    Cap(img, left + step * float(i), top + kCapH + 4);
    Letter(img, bottom[i], left + step * float(i), top + kCapH + 4);
  }
  return img;
}

Image MakeKeysMove() {
  Image img(128, 64);
  const float left = 14, top = 3, step = kCapW + 4;
  Cap(img, left + step, top);
  ArrowOn(img, left + step, top, 0, -1);
  const float dirs[3][2] = {{-1, 0}, {0, 1}, {1, 0}};
  for (int i = 0; i < 3; ++i) {
    Cap(img, left + step * float(i), top + kCapH + 4);
    ArrowOn(img, left + step * float(i), top + kCapH + 4, dirs[i][0], dirs[i][1]);
  }
  return img;
}
