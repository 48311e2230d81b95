#include "engine/common/icon.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vec {
  float x, y;
};
Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
Vec operator*(Vec a, float k) {
  return {a.x * k, a.y * k};
}
float Dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y;
}
float Length(Vec a) {
  return std::sqrt(Dot(a, a));
}

struct Colour {
  float r, g, b;
};
Colour operator+(Colour a, Colour b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Colour operator*(Colour a, float k) {
  return {a.r * k, a.g * k, a.b * k};
}
Colour Mix(Colour a, Colour b, float t) {
  return a * (1 - t) + b * t;
}

// Signed distances in icon units (the icon is 1 x 1): negative inside the shape.
float RoundBox(Vec p, Vec centre, Vec half, float radius) {
  const float qx = std::fabs(p.x - centre.x) - (half.x - radius);
  const float qy = std::fabs(p.y - centre.y) - (half.y - radius);
  const float outside = Length({std::max(qx, 0.0f), std::max(qy, 0.0f)});
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float Ellipse(Vec p, Vec centre, Vec radii) {
  const Vec q = {(p.x - centre.x) / radii.x, (p.y - centre.y) / radii.y};
  return (Length(q) - 1) * std::min(radii.x, radii.y);
}

template <size_t N>
float Polygon(Vec p, const Vec (&v)[N]) {
  float nearest = Dot(p - v[0], p - v[0]);
  float sign = 1;
  for (size_t i = 0, j = N - 1; i < N; j = i, ++i) {
    const Vec e = v[j] - v[i];
    const Vec w = p - v[i];
    const Vec b = w - e * std::clamp(Dot(w, e) / Dot(e, e), 0.0f, 1.0f);
    nearest = std::min(nearest, Dot(b, b));
    const bool below = p.y >= v[i].y, above = p.y<v[j].y, left = e.x * w.y> e.y * w.x;
    if ((below && above && left) || (!below && !above && !left)) sign = -sign;
  }
  return sign * std::sqrt(nearest);
}

// The ship, as the game draws it: a pointed hull, swept wings with fins at their tips, a cockpit
// and a flame. The right half; the left one mirrors it.
constexpr Vec kHull[] = {{0.5f, 0.11f},   {0.56f, 0.30f},  {0.578f, 0.50f}, {0.572f, 0.78f},
                         {0.428f, 0.78f}, {0.422f, 0.50f}, {0.44f, 0.30f}};
constexpr Vec kWing[] = {{0.55f, 0.40f}, {0.79f, 0.64f}, {0.79f, 0.72f}, {0.56f, 0.71f}};
constexpr Vec kLeadingEdge[] = {{0.55f, 0.40f}, {0.79f, 0.64f}};

struct Ship {
  float hull, wing, fin, nozzle, cockpit, flame, body;
  float edge;  // distance to the wing's leading edge
};

Ship ShipAt(Vec p) {
  const Vec right = {0.5f + std::fabs(p.x - 0.5f), p.y};
  Ship s{};
  s.hull = Polygon(p, kHull);
  s.wing = Polygon(right, kWing);
  s.fin = RoundBox(right, {0.80f, 0.61f}, {0.026f, 0.135f}, 0.016f);
  s.nozzle = RoundBox(p, {0.5f, 0.80f}, {0.052f, 0.026f}, 0.01f);
  s.cockpit = Ellipse(p, {0.5f, 0.34f}, {0.032f, 0.085f});
  s.flame = Ellipse(p, {0.5f, 0.875f}, {0.042f, 0.085f});
  s.body = std::min({s.hull, s.wing, s.fin, s.nozzle});
  const Vec e = kLeadingEdge[1] - kLeadingEdge[0];
  const Vec w = right - kLeadingEdge[0];
  s.edge = Length(w - e * std::clamp(Dot(w, e) / Dot(e, e), 0.0f, 1.0f));
  return s;
}

constexpr Vec kStars[] = {{0.20f, 0.22f}, {0.78f, 0.18f}, {0.30f, 0.55f}, {0.86f, 0.42f},
                          {0.16f, 0.80f}, {0.70f, 0.86f}, {0.62f, 0.12f}, {0.12f, 0.46f}};

// Colour and coverage (0 outside the icon's square) at one point.
Colour Sample(Vec p, float& alpha) {
  const float square = RoundBox(p, {0.5f, 0.5f}, {0.47f, 0.47f}, 0.2f);
  alpha = square <= 0 ? 1.0f : 0.0f;
  if (alpha == 0) return {0, 0, 0};

  // Night sky with two faint nebulae and a few stars.
  Colour c = Mix({38, 18, 74}, {8, 10, 30}, p.y);
  const auto blob = [&p](Vec at, float spread) {
    const Vec d = p - at;
    return std::exp(-Dot(d, d) / spread);
  };
  c = c + Colour{120, 30, 120} * (0.35f * blob({0.28f, 0.3f}, 0.05f));
  c = c + Colour{20, 60, 140} * (0.3f * blob({0.74f, 0.76f}, 0.06f));
  for (const Vec& star : kStars) {
    if (Length(p - star) < 0.007f) c = Colour{235, 235, 255};
  }

  // The neon edge, magenta at the top left turning cyan at the bottom right, with its glow.
  const float ring = std::fabs(square + 0.035f);
  const Colour neon = Mix({255, 60, 200}, {60, 220, 255}, (p.x + p.y) / 2);
  c = c + neon * (0.55f * std::exp(-ring / 0.02f));
  if (ring < 0.011f) c = neon;

  const Ship s = ShipAt(p);
  c = c + Colour{80, 200, 255} * (0.6f * std::exp(-std::max(s.body, 0.0f) / 0.035f));
  c = c + Colour{255, 140, 40} * (0.8f * std::exp(-std::max(s.flame, 0.0f) / 0.05f));
  if (s.flame < 0)
    c = Mix({255, 240, 170}, {255, 110, 30}, std::clamp((p.y - 0.8f) / 0.16f, 0.f, 1.f));

  if (s.fin < 0) c = {105, 115, 160};
  if (s.wing < 0) c = s.edge < 0.022f ? Colour{90, 210, 255} : Colour{130, 140, 185};
  if (s.nozzle < 0) c = {70, 70, 92};
  if (s.hull < 0) c = Colour{220, 228, 242} * (1 - 1.6f * std::fabs(p.x - 0.5f));
  if (s.cockpit < 0)
    c = Mix({190, 240, 255}, {60, 170, 240}, std::clamp((p.y - 0.26f) / 0.16f, 0.f, 1.f));
  if (s.body < 0 && s.body > -0.009f) c = {25, 25, 50};  // outline
  return c;
}

}  // namespace

std::vector<uint8_t> DrawIcon(int size) {
  std::vector<uint8_t> pixels(static_cast<size_t>(std::max(size, 0)) * std::max(size, 0) * 4);
  // Several samples a pixel, so that small icons stay smooth.
  const int grid = size <= 64 ? 8 : 4;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Colour sum{0, 0, 0};
      float cover = 0;
      for (int j = 0; j < grid; ++j) {
        for (int i = 0; i < grid; ++i) {
          const Vec p = {(x + (i + 0.5f) / grid) / size, (y + (j + 0.5f) / grid) / size};
          float alpha = 0;
          const Colour c = Sample(p, alpha);
          sum = sum + c * alpha;
          cover += alpha;
        }
      }
      uint8_t* out = &pixels[(static_cast<size_t>(y) * size + x) * 4];
      const auto channel = [](float v) {
        return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
      };
      if (cover > 0) {
        out[0] = channel(sum.r / cover);
        out[1] = channel(sum.g / cover);
        out[2] = channel(sum.b / cover);
      }
      out[3] = channel(255 * cover / (grid * grid));
    }
  }
  return pixels;
}
