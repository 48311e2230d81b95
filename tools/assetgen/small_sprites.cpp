// The bonus gem, the menu arrow and the health bar.
#include <cmath>
#include <numbers>

#include "assets.h"
#include "shading.h"

Image MakeGem() {
  // An octagonal cut gem, 16 x 16: bright facets around a darker table that carries the letter.
  Image img(16, 16);
  const float cx = 8, cy = 8, outer = 7.6f, table = 4.3f;
  const float pi = std::numbers::pi_v<float>;
  auto octagon = [&](float x, float y) {
    float r = 0;
    for (int k = 0; k < 8; ++k) {
      const float a = float(k) * pi / 4;
      r = std::max(r, (x - cx) * std::cos(a) + (y - cy) * std::sin(a));
    }
    return r;
  };
  const Sdf body = [&](float x, float y) { return octagon(x, y) - outer; };
  const Color violet{0.78f, 0.30f, 1.0f};
  PaintSdf(
      img, body,
      [&](float x, float y, float) {
        const float r = octagon(x, y);
        if (r < table) {
          // The table: deep violet, a little lighter towards the top left.
          const float t = std::clamp(((x - cx) + (y - cy)) / (2 * table), -1.0f, 1.0f);
          return Color{0.34f - 0.06f * t, 0.10f - 0.03f * t, 0.52f - 0.08f * t};
        }
        // Crown facets: each facet is lit by how much it faces the top-left light.
        const float angle = std::atan2(y - cy, x - cx);
        const int facet = int(std::floor((angle + pi / 8) / (pi / 4)));
        const float fa = float(facet) * pi / 4;
        const float facing = -(std::cos(fa) * 0.6f + std::sin(fa) * 0.8f);
        const float k = 0.75f + 0.45f * facing;
        Color c = Scale(violet, k);
        c = Mix(c, Color{0.55f, 0.95f, 1.0f}, std::max(0.0f, facing) * 0.45f);
        return Color{std::min(c.r, 1.0f), std::min(c.g, 1.0f), std::min(c.b, 1.0f)};
      },
      0, 0, 15, 15);
  // Girdle line between crown and table, and a glint.
  PaintOnto(
      img, [&](float x, float y) { return std::fabs(octagon(x, y) - table) - 0.35f; },
      Color{0.95f, 0.7f, 1.0f, 0.7f});
  PaintSdf(img, Circle(4.6f, 4.6f, 0.9f), Color{1, 1, 1, 0.95f});
  return img;
}

Image MakeArrow() {
  // Points right; the ink spans x 8..24 so that, drawn at 24 x 24, it stays clear of the digits
  // between the two chooser arrows.
  Image img(32, 32);
  const Sdf shape = [](float x, float y) {
    static const std::vector<Vec2> pts = {{9, 14.3f},     {15.5f, 14.3f}, {15.5f, 9.2f}, {23, 16},
                                          {15.5f, 22.8f}, {15.5f, 17.7f}, {9, 17.7f}};
    return SdPolygon(x, y, pts) - 1.0f;
  };
  PaintSdf(img, shape, Bevelled(shape, Color{0.95f, 0.97f, 1.0f}, 1.5f, 0.25f), 0, 0, 31, 31);
  return img;
}

Image MakeHealthBar() {
  // Rows from the top: a highlight, then ever deeper greens. Enemy bars use the top two rows.
  Image img(32, 4);
  const Color rows[4] = {
      {0.72f, 1.0f, 0.55f}, {0.28f, 0.95f, 0.30f}, {0.10f, 0.76f, 0.20f}, {0.04f, 0.52f, 0.12f}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 32; ++x) img.Blend(x, y, rows[y], 1);
  return img;
}
