// The game's space background, the menu's neon horizon, the splash logo and the menu title.
#include <cmath>

#include "assets.h"
#include "neon.h"
#include "random.h"
#include "shading.h"

namespace {

// Stars: many faint points, a few bright ones with a small cross-shaped glint.
void Stars(Image& img, uint64_t seed, int count, float maxY, float brightness) {
  Random rnd(seed);
  for (int i = 0; i < count; ++i) {
    const float x = rnd.Range(0, float(img.Width())), y = rnd.Range(0, maxY);
    const float b = std::pow(rnd.Uniform(), 3.0f) * brightness;
    const float hue = rnd.Uniform();
    const Color c = hue < 0.3f   ? Color{0.75f, 0.85f, 1}
                    : hue < 0.5f ? Color{1, 0.9f, 0.75f}
                                 : Color{1, 1, 1};
    const float size = 0.35f + b * 0.9f;
    for (int py = int(y) - 3; py <= int(y) + 3; ++py) {
      for (int px = int(x) - 3; px <= int(x) + 3; ++px) {
        const float dx = float(px) + 0.5f - x, dy = float(py) + 0.5f - y;
        float v = std::exp(-(dx * dx + dy * dy) / (size * size)) * (0.25f + b);
        if (b > 0.55f) v += 0.25f * b * std::exp(-std::fabs(dy) * 2.5f - std::fabs(dx) * 0.8f);
        if (b > 0.55f) v += 0.25f * b * std::exp(-std::fabs(dx) * 2.5f - std::fabs(dy) * 0.8f);
        if (v > 0.004f) img.AddLight(px, py, c, std::min(v, 1.0f));
      }
    }
  }
}

// A dark nebula: warped fractal noise in violet and teal, with dust lanes.
void Nebula(Image& img, uint32_t seed, Color a, Color b, float level) {
  const float s = 1.0f / 220;
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      const float fx = float(x) * s, fy = float(y) * s;
      const float wx = Fbm(fx + 3.1f, fy + 1.7f, seed + 11, 4) * 1.6f;
      const float wy = Fbm(fx + 7.3f, fy + 4.2f, seed + 23, 4) * 1.6f;
      const float n1 = Fbm(fx + wx, fy + wy, seed + 37, 6);
      const float n2 = Fbm(fx * 1.7f - wy, fy * 1.7f + wx, seed + 51, 5);
      const float dust = Fbm(fx * 3.0f + wx, fy * 3.0f, seed + 77, 5);
      const float va = Smoothstep(0.42f, 0.78f, n1);
      const float vb = Smoothstep(0.45f, 0.8f, n2);
      const float lane = 1 - 0.7f * Smoothstep(0.55f, 0.75f, dust);
      Pixel& p = img.At(x, y);
      p.r += (a.r * va + b.r * vb) * level * lane;
      p.g += (a.g * va + b.g * vb) * level * lane;
      p.b += (a.b * va + b.b * vb) * level * lane;
    }
  }
}

std::function<Color(float, float)> TitleColors(float x0, float x1) {
  return [x0, x1](float x, float) {
    const float t = std::clamp((x - x0) / (x1 - x0), 0.0f, 1.0f);
    return Hsv(185 + 205 * t, 0.85f, 1.0f);
  };
}

void NeonTitle(Image& img, float cx, float cy, float scale, float radius, float glow) {
  const float gap = 4;
  const float w = TextWidth("SWAYFIRE", scale, gap);
  const float x0 = cx - w / 2;
  const float top = cy - kCapHeight * scale / 2;
  NeonStyle style;
  style.radius = radius;
  style.glow = glow;
  style.color = TitleColors(x0, x0 + w);
  DrawNeon(img, TextSegments("SWAYFIRE", x0, top, scale, gap), style);
}

void SmallText(Image& img, const std::string& text, float cx, float cy, float scale, Color c) {
  const float w = TextWidth(text, scale, 3);
  NeonStyle style;
  style.radius = kStrokeRadius * scale * 0.8f;
  style.glow = 5;
  style.glowStrength = 0.35f;
  style.color = [c](float, float) { return c; };
  DrawNeon(img, TextSegments(text, cx - w / 2, cy - kCapHeight * scale / 2, scale, 3), style);
}

}  // namespace

Image MakeGameBackground() {
  Image img(704, 512);
  img.Fill({0.012f, 0.012f, 0.04f, 1});
  Nebula(img, 4242, Color{0.34f, 0.10f, 0.46f}, Color{0.04f, 0.24f, 0.40f}, 0.85f);
  Stars(img, 77, 1400, 512, 0.9f);
  return img;
}

Image MakeMenuBackground() {
  Image img(704, 512);
  const float horizon = 318, cx = 320;
  // Sky: deep indigo above, a magenta haze on the horizon.
  for (int y = 0; y < img.Height(); ++y) {
    const float t = std::clamp(float(y) / horizon, 0.0f, 1.0f);
    const Color sky = Mix(Color{0.02f, 0.01f, 0.07f}, Color{0.22f, 0.04f, 0.26f}, t * t * t);
    for (int x = 0; x < img.Width(); ++x) img.At(x, y) = {sky.r, sky.g, sky.b, 1};
  }
  Nebula(img, 99, Color{0.20f, 0.05f, 0.30f}, Color{0.02f, 0.10f, 0.22f}, 0.5f);
  Stars(img, 1234, 500, horizon - 20, 0.8f);
  // A striped setting sun, low on the right, dim enough for text over it.
  const float sx = 520, sy = horizon + 14, sr = 100;
  for (int y = int(sy - sr); y < int(horizon); ++y) {
    for (int x = int(sx - sr); x <= int(sx + sr); ++x) {
      const float d = std::hypot(float(x) + 0.5f - sx, float(y) + 0.5f - sy);
      const float cover = std::clamp(sr - d + 0.5f, 0.0f, 1.0f);
      // Gaps widen towards the horizon.
      const float band = (float(y) - (sy - sr * 0.55f)) / (sr * 0.55f);
      const float stripe = band > 0 ? std::fmod(float(y) - sy + 200, 11.0f) : 99;
      const float gap = band > 0 ? 1 + band * 5 : 0;
      if (cover <= 0 || stripe < gap) continue;
      const float t = std::clamp((float(y) - (sy - sr)) / sr, 0.0f, 1.0f);
      img.Blend(x, y, Mix(Color{1.0f, 0.82f, 0.3f}, Color{1.0f, 0.2f, 0.55f}, t), cover * 0.62f);
    }
  }
  // Floor: a perspective grid in magenta and cyan, fading into the haze.
  const float camera = 60, focal = 300;
  for (int y = int(horizon); y < img.Height(); ++y) {
    const float dy = float(y) + 0.5f - horizon;
    for (int x = 0; x < img.Width(); ++x) {
      const float z = camera * focal / dy;
      const float wx = (float(x) + 0.5f - cx) * camera / dy;
      const float spacing = 40;
      const float lx = std::fabs(wx - spacing * std::round(wx / spacing)) / (camera / dy);
      const float lz =
          std::fabs(z - spacing * std::round(z / spacing)) / (camera * focal / (dy * dy));
      const float fog = std::exp(-z / 900);
      const float lineX = std::clamp(1.3f - lx, 0.0f, 1.0f) + 0.3f * std::exp(-lx / 3);
      const float lineZ = std::clamp(1.3f - lz, 0.0f, 1.0f) + 0.3f * std::exp(-lz / 3);
      const float line = std::min(1.0f, std::max(lineX, lineZ)) * fog;
      const Color floor = Mix(Color{0.16f, 0.03f, 0.2f}, Color{0.03f, 0.01f, 0.06f},
                              std::clamp(dy / 120, 0.0f, 1.0f));
      const Color grid =
          Mix(Color{1.0f, 0.25f, 0.85f}, Color{0.2f, 0.8f, 1.0f}, std::clamp(dy / 170, 0.0f, 1.0f));
      const Color c = Mix(floor, grid, line * 0.55f);
      img.At(x, y) = {c.r, c.g, c.b, 1};
    }
  }
  // The horizon line glows.
  for (int y = int(horizon) - 12; y < int(horizon) + 12; ++y) {
    const float v = std::exp(-std::fabs(float(y) + 0.5f - horizon) / 3.0f) * 0.6f;
    for (int x = 0; x < img.Width(); ++x) img.AddLight(x, y, Color{1.0f, 0.35f, 0.8f}, v);
  }
  return img;
}

Image MakeTitle() {
  Image img(512, 128);
  NeonTitle(img, 256, 64, 2.2f, 3.3f, 11);
  return img;
}

Image MakeLogo() {
  Image img(640, 480);
  img.Fill({0.01f, 0.01f, 0.035f, 1});
  Nebula(img, 2024, Color{0.30f, 0.08f, 0.42f}, Color{0.03f, 0.20f, 0.38f}, 0.7f);
  Stars(img, 555, 700, 480, 0.9f);
  NeonTitle(img, 320, 206, 2.9f, 4.2f, 16);
  SmallText(img, "A NEON ARCADE SHOOTER", 320, 292, 0.62f, Color{0.55f, 0.9f, 1.0f});
  // A thin glowing rule under the title.
  for (int y = 252; y < 268; ++y) {
    for (int x = 120; x < 520; ++x) {
      const float fade = std::sin((float(x) - 120) / 400 * 3.14159f);
      const float v = std::exp(-std::fabs(float(y) + 0.5f - 260) / 1.2f) * fade * 0.7f;
      img.AddLight(x, y, Hsv(185 + 205 * (float(x) - 120) / 400, 0.7f, 1), v);
    }
  }
  return img;
}
