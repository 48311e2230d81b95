// The player's ship, seen from above, nose up, in a 32 x 32 box with transparent corners.
#include <cmath>

#include "assets.h"
#include "random.h"
#include "shading.h"

namespace {

const Color kHull{0.86f, 0.89f, 0.95f};
const Color kWing{0.52f, 0.60f, 0.78f};
const Color kTrim{0.25f, 0.90f, 1.00f};
const Color kGlass{0.15f, 0.75f, 1.00f};
const Color kScorch{0.10f, 0.07f, 0.05f};
const Color kSpark{1.00f, 0.80f, 0.35f};

Sdf Fuselage() {
  return Polygon({{16, 1.5f},
                  {18.6f, 7},
                  {19.6f, 14},
                  {19.6f, 24},
                  {18.2f, 28.5f},
                  {13.8f, 28.5f},
                  {12.4f, 24},
                  {12.4f, 14},
                  {13.4f, 7}});
}

Sdf Wings() {
  const Sdf half = Polygon({{16, 12}, {16, 25.5f}, {3, 27}, {2.5f, 23.5f}});
  const Sdf gun = [](float x, float y) { return SdBox(x, y, 3.4f, 20.5f, 1.3f, 6.0f, 1.0f); };
  return Mirrored(Union(half, gun), 16);
}

// Bright sparks with a little halo.
void Sparks(Image& img, Random& rnd, int count, float x0, float y0, float x1, float y1) {
  for (int i = 0; i < count; ++i) {
    const float x = rnd.Range(x0, x1), y = rnd.Range(y0, y1);
    PaintSdf(img, Circle(x, y, 1.6f), Color{1.0f, 0.55f, 0.15f, 0.55f});
    PaintSdf(img, Circle(x, y, 0.7f), kSpark);
  }
}

// A burn mark with a ragged edge.
void Scorch(Image& img, float x, float y, float r, float amount) {
  const auto seed = uint32_t(x * 131 + y * 17);
  const Sdf ragged = [=](float px, float py) {
    return SdCircle(px, py, x, y, r) + (ValueNoise(px * 0.9f, py * 0.9f, seed) - 0.5f) * r;
  };
  Darken(img, ragged, amount, r * 0.8f);
  PaintOnto(img, Circle(x, y, r * 0.4f), Color{kScorch.r, kScorch.g, kScorch.b, amount * 0.6f});
}

void Crack(Image& img, std::vector<Vec2> pts, Color c) {
  for (size_t i = 0; i + 1 < pts.size(); ++i)
    PaintOnto(img, Capsule(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, 0.35f), c);
}

}  // namespace

Image MakeShip(int image) {
  Image img(32, 32);
  const bool wreck = image == 0;
  const float bleach = wreck ? 0.55f : 0.0f;  // the shell is burnt pale
  auto pale = [&](Color c) { return Mix(c, Color{0.85f, 0.85f, 0.85f}, bleach); };

  // Engine flames first, under the hull.
  if (!wreck) {
    const float flame = image == 10 ? 1.0f : image == 9 ? 0.9f : image == 8 ? 0.7f : 0.45f;
    for (float ex : {14.6f, 17.4f}) {
      const Sdf plume = Capsule(ex, 27.5f, ex, 30.2f, 1.5f);
      PaintSdf(
          img, plume,
          [&](float, float y, float) {
            const float t = std::clamp((y - 27.5f) / 3.5f, 0.0f, 1.0f);
            return Color{1.0f, 0.95f - 0.45f * t, 0.55f - 0.45f * t, flame * (1 - 0.4f * t)};
          },
          0, 0, 31, 31);
    }
  }

  const Sdf wings = Wings();
  PaintBevelled(img, wings, pale(kWing), 1.6f, 0.45f);
  // Neon trim along the leading edges of the wings.
  const Color trim = wreck ? Color{0.75f, 0.78f, 0.8f} : kTrim;
  PaintOnto(img, Capsule(15, 13.5f, 4.5f, 23.8f, 0.6f), trim);
  PaintOnto(img, Capsule(17, 13.5f, 27.5f, 23.8f, 0.6f), trim);
  const Sdf hull = Fuselage();
  PaintBevelled(img, hull, pale(kHull), 2.0f, 0.35f);
  // Spine stripe and engine housings.
  PaintOnto(img, Capsule(16, 17.5f, 16, 23.5f, 0.45f),
            wreck ? Color{0.6f, 0.6f, 0.62f} : Color{kTrim.r, kTrim.g, kTrim.b, 0.8f});
  for (float ex : {14.6f, 17.4f})
    PaintSdf(
        img, [ex](float x, float y) { return SdBox(x, y, ex, 27.4f, 1.1f, 1.3f, 0.5f); },
        pale(Color{0.35f, 0.38f, 0.45f}));
  // Cockpit glass with a highlight.
  const Sdf glass = [](float x, float y) {
    const float dx = (x - 16) / 1.8f, dy = (y - 10.5f) / 3.1f;
    return (std::sqrt(dx * dx + dy * dy) - 1) * 1.8f;
  };
  PaintSdf(
      img, glass,
      [&](float, float y, float) {
        const float t = std::clamp((y - 7) / 7, 0.0f, 1.0f);
        const Color c = Mix(Color{0.75f, 0.97f, 1.0f}, kGlass, t);
        return wreck ? Color{0.45f, 0.47f, 0.5f} : c;
      },
      0, 0, 31, 31);
  if (!wreck) PaintSdf(img, Circle(15.2f, 9.0f, 0.7f), Color{1, 1, 1, 0.9f});

  Random rnd(uint64_t(1000 + image));
  if (image <= 9 && !wreck) {
    Scorch(img, 8.5f, 22.5f, 2.6f, 0.55f);
    Scorch(img, 18.8f, 19.5f, 1.8f, 0.45f);
    Crack(img, {{22, 22}, {23.5f, 23.2f}, {24.5f, 23}}, Color{0.2f, 0.2f, 0.25f, 0.8f});
  }
  if (image <= 8 && !wreck) {
    // The right wing tip is shot away.
    Erase(img,
          Polygon({{25, 16}, {26, 10}, {32, 10}, {32, 32}, {27.5f, 28}, {26, 24.5f}, {27.3f, 22}}));
    Scorch(img, 24.8f, 23.0f, 2.4f, 0.75f);
    Scorch(img, 14.2f, 17.5f, 2.0f, 0.5f);
    Scorch(img, 6.0f, 24.5f, 1.8f, 0.6f);
    Crack(img, {{17, 4.5f}, {15.6f, 6.5f}, {16.5f, 8}}, Color{0.15f, 0.15f, 0.2f, 0.9f});
    Sparks(img, rnd, 2, 24, 21, 27, 25);
  }
  if (image == 7) {
    // The left wing loses its gun and trailing edge; the hull is cracked through.
    Erase(img, Polygon({{0, 10},
                        {6, 10},
                        {6, 17.5f},
                        {5.2f, 21},
                        {8, 23.2f},
                        {6.8f, 26},
                        {9.5f, 28},
                        {0, 32}}));
    Scorch(img, 16.0f, 21.0f, 3.0f, 0.7f);
    Scorch(img, 10.0f, 24.0f, 2.0f, 0.8f);
    Scorch(img, 17.5f, 12.5f, 1.6f, 0.6f);
    Crack(img, {{13, 15}, {15.2f, 17}, {14.5f, 19.5f}, {17, 22}, {18.5f, 26}},
          Color{0.1f, 0.08f, 0.08f, 0.95f});
    Crack(img, {{16, 8.5f}, {17.2f, 10.5f}, {16.2f, 12.5f}}, Color{0.05f, 0.2f, 0.3f, 0.9f});
    Sparks(img, rnd, 3, 8, 18, 26, 27);
    Sparks(img, rnd, 1, 14, 4, 18, 8);
  }
  if (wreck) {
    // A bleached shell split along fracture lines, its parts drifting apart a little.
    Crack(img, {{12, 13}, {14.5f, 16}, {13.5f, 19}, {16, 21.5f}, {15.5f, 25}, {17.5f, 28.5f}},
          Color{0.35f, 0.35f, 0.38f, 1});
    Crack(img, {{19.5f, 15}, {22, 18.5f}, {21, 21}, {24.5f, 24}}, Color{0.4f, 0.4f, 0.42f, 1});
    Crack(img, {{3, 22}, {6, 23.5f}, {8, 22.2f}}, Color{0.4f, 0.4f, 0.42f, 1});
    Crack(img, {{16.5f, 3}, {15.2f, 6}, {16.8f, 8}}, Color{0.4f, 0.4f, 0.42f, 1});
    Erase(img, Polygon({{25.5f, 24}, {32, 22}, {32, 32}, {27, 28}}));
    Erase(img, Polygon({{0, 16}, {3.5f, 14}, {5, 15.5f}, {0, 19}}));
    Erase(img, Polygon({{14.5f, 28.7f}, {17.5f, 28.7f}, {17, 32}, {15, 32}}), 0.6f);
  }
  return img;
}
