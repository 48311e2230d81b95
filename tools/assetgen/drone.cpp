// The enemy: a quad drone in light greys (the game tints it), with a glowing power cell at each
// corner. The top-left cell doubles as every shot's spark and the pause overlay's colour, so
// it is a fully opaque bright square in the healthy image.
#include <cmath>

#include "assets.h"
#include "random.h"
#include "shading.h"

namespace {

struct Corner {
  float x, y;  // top-left of the 8 x 8 cell
};
constexpr Corner kCells[4] = {{0, 0}, {24, 0}, {0, 24}, {24, 24}};
enum { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

// A soft glowing square: white in the middle, light grey at the rim, opaque throughout.
void PowerCell(Image& img, Corner c, float power, bool cracked) {
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const float dx = std::fabs(float(x) + 0.5f - 4), dy = std::fabs(float(y) + 0.5f - 4);
      const float r = std::pow(std::pow(dx, 3.0f) + std::pow(dy, 3.0f), 1 / 3.0f) / 4.2f;
      const float v = (1 - 0.2f * Smoothstep(0.15f, 1.0f, r)) * power;
      Pixel& p = img.At(int(c.x) + x, int(c.y) + y);
      p = {v, v, v, 1};
    }
  }
  if (cracked) {
    PaintOnto(img, Capsule(c.x + 1.5f, c.y + 2, c.x + 4.5f, c.y + 5, 0.4f),
              Color{0.2f, 0.2f, 0.2f, 0.9f});
    PaintOnto(img, Capsule(c.x + 4.5f, c.y + 5, c.x + 6.5f, c.y + 4.5f, 0.4f),
              Color{0.2f, 0.2f, 0.2f, 0.9f});
  }
}

void Scorch(Image& img, float x, float y, float r, float amount) {
  Darken(img, Circle(x, y, r), amount, r);
}

void Crack(Image& img, std::vector<Vec2> pts) {
  for (size_t i = 0; i + 1 < pts.size(); ++i)
    PaintOnto(img, Capsule(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, 0.4f),
              Color{0.12f, 0.12f, 0.12f, 0.9f});
}

void Spark(Image& img, float x, float y) {
  PaintSdf(img, Circle(x, y, 1.5f), Color{1, 1, 1, 0.45f});
  PaintSdf(img, Circle(x, y, 0.65f), Color{1, 1, 1, 1});
}

}  // namespace

Image MakeDrone(int image) {
  Image img(32, 32);
  const bool dead = image == 1;
  const float dim = dead ? 0.5f : 1.0f;
  auto grey = [&](float v) { return Color{v * dim, v * dim, v * dim, 1}; };

  // Frame: four struts from the hub to the cells, and a ring joining the cells.
  const Sdf struts = Union(Capsule(6, 6, 26, 26, 1.9f), Capsule(26, 6, 6, 26, 1.9f));
  Sdf frame = [](float x, float y) {
    return std::fabs(SdBox(x, y, 16, 16, 11.0f, 11.0f, 5.0f)) - 0.9f;
  };
  if (image <= 5) {
    // The lower right strut is shot through.
    frame = Subtract(frame, Circle(24.5f, 28, 3.0f));
  }
  PaintBevelled(img, frame, grey(0.55f), 1.0f, 0.4f);
  Sdf strutShape = struts;
  if (image <= 5) strutShape = Subtract(struts, Circle(21.5f, 21.5f, 2.2f));
  PaintBevelled(img, strutShape, grey(0.68f), 1.5f, 0.45f);

  // Hub: a bevelled ring around a dark lens with a bright eye.
  Sdf hub = Circle(16, 16, 7.6f);
  if (image <= 3) hub = Subtract(hub, Circle(22.5f, 9.5f, 3.2f));  // a chunk blown off
  PaintBevelled(img, hub, grey(0.88f), 2.4f, 0.4f);
  PaintSdf(
      img, Circle(16, 16, 4.6f),
      [&](float x, float y, float) {
        const float t = std::clamp(std::hypot(x - 16, y - 16) / 4.6f, 0.0f, 1.0f);
        return grey(0.22f + 0.15f * t);
      },
      0, 0, 31, 31);
  const float eye = image >= 7 ? 1.0f : image >= 4 ? 0.75f : image >= 2 ? 0.5f : 0.15f;
  PaintSdf(img, Circle(16, 16, 2.3f), grey(eye));
  if (image >= 4) PaintSdf(img, Circle(15.2f, 15.2f, 0.8f), Color{1, 1, 1, 1});

  // Power cells: the healthy ones glow full; damage dims and cracks them one by one.
  float power[4] = {1, 1, 1, 1};
  bool cracked[4] = {};
  bool present[4] = {true, true, true, true};
  if (image <= 7) power[kBottomRight] = 0.62f, cracked[kBottomRight] = true;
  if (image <= 4) present[kBottomRight] = false;
  if (image <= 3) power[kTopRight] = 0.7f, cracked[kTopRight] = true;
  if (image <= 2) power[kBottomLeft] = 0.6f, cracked[kBottomLeft] = true;
  if (image <= 2) power[kTopLeft] = 0.85f;
  if (dead) {
    for (float& p : power) p = 0.42f;
    cracked[kTopLeft] = true;
  }
  for (int i = 0; i < 4; ++i)
    if (present[i]) PowerCell(img, kCells[i], power[i], cracked[i]);
  if (!present[kBottomRight]) {
    // Only a jagged stub of the cell is left.
    PaintBevelled(img, Polygon({{24, 24}, {28.5f, 24}, {26.5f, 26.5f}, {27.5f, 29}, {24, 28}}),
                  grey(0.4f), 1, 0.3f);
  }

  // Scars, in the order the drone takes them.
  if (image <= 9) Scorch(img, 12.0f, 19.5f, 2.6f, 0.45f);
  if (image <= 8) Crack(img, {{18.5f, 9.2f}, {19.2f, 11.5f}, {18.2f, 13}});
  if (image <= 6) {
    Scorch(img, 22.0f, 11.0f, 2.4f, 0.55f);
    Crack(img, {{9, 17}, {11, 18.5f}, {10.5f, 21}});
  }
  if (image <= 5) Spark(img, 21.5f, 22);
  if (image <= 4) {
    Scorch(img, 19.5f, 21.0f, 3.0f, 0.6f);
    Crack(img, {{13.5f, 21}, {15, 22.5f}, {14.2f, 24}});
  }
  if (image <= 3) {
    Scorch(img, 7.5f, 11.0f, 2.2f, 0.5f);
    Spark(img, 22, 10);
  }
  if (image <= 2) {
    Scorch(img, 16.0f, 16.0f, 5.0f, 0.4f);
    Crack(img, {{3.5f, 26}, {6, 28}});
    Crack(img, {{11, 11}, {13.5f, 12.5f}});
    Spark(img, 9, 24);
    Spark(img, 26.5f, 14);
  }
  if (dead) {
    Erase(img, Polygon({{27, 3}, {32, 0}, {32, 9}, {29, 8.5f}}));
    Erase(img, Circle(5, 29.5f, 2.6f));
  }
  return img;
}
