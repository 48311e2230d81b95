#include "image.h"

#include <algorithm>
#include <cmath>

namespace {
float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}
}  // namespace

Color Mix(Color a, Color b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Color Scale(Color c, float k) {
  return {c.r * k, c.g * k, c.b * k, c.a};
}

Color Hsv(float h, float s, float v, float alpha) {
  h = std::fmod(std::fmod(h, 360.0f) + 360.0f, 360.0f) / 60.0f;
  const int i = int(h);
  const float f = h - float(i);
  const float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  switch (i) {
    case 0:
      return {v, t, p, alpha};
    case 1:
      return {q, v, p, alpha};
    case 2:
      return {p, v, t, alpha};
    case 3:
      return {p, q, v, alpha};
    case 4:
      return {t, p, v, alpha};
    default:
      return {v, p, q, alpha};
  }
}

void Image::Fill(Color c) {
  for (auto& p : px_) p = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

void Image::Blend(int x, int y, Color c, float coverage) {
  if (!Inside(x, y)) return;
  const float a = Clamp01(c.a * coverage);
  if (a <= 0) return;
  Pixel& p = At(x, y);
  p.r = c.r * a + p.r * (1 - a);
  p.g = c.g * a + p.g * (1 - a);
  p.b = c.b * a + p.b * (1 - a);
  p.a = a + p.a * (1 - a);
}

void Image::AddLight(int x, int y, Color c, float intensity) {
  if (!Inside(x, y) || intensity <= 0) return;
  Pixel& p = At(x, y);
  p.r += c.r * intensity;
  p.g += c.g * intensity;
  p.b += c.b * intensity;
  p.a = std::max(p.a, std::min(1.0f, std::max({p.r, p.g, p.b})));
}

void Image::Over(const Image& top, int dx, int dy, float opacity) {
  for (int y = 0; y < top.Height(); ++y) {
    for (int x = 0; x < top.Width(); ++x) {
      if (!Inside(x + dx, y + dy)) continue;
      const Pixel& t = top.At(x, y);
      Pixel& p = At(x + dx, y + dy);
      const float a = t.a * opacity;
      p.r = t.r * opacity + p.r * (1 - a);
      p.g = t.g * opacity + p.g * (1 - a);
      p.b = t.b * opacity + p.b * (1 - a);
      p.a = a + p.a * (1 - a);
    }
  }
}

std::vector<uint8_t> Image::ToRgba8() const {
  std::vector<uint8_t> out(px_.size() * 4);
  for (size_t i = 0; i < px_.size(); ++i) {
    const Pixel& p = px_[i];
    const float a = Clamp01(p.a);
    const float inv = a > 0 ? 1 / a : 0;
    auto q = [](float v) { return uint8_t(std::lround(Clamp01(v) * 255)); };
    out[i * 4 + 0] = q(p.r * inv);
    out[i * 4 + 1] = q(p.g * inv);
    out[i * 4 + 2] = q(p.b * inv);
    out[i * 4 + 3] = q(a);
  }
  return out;
}

void PaintSdf(Image& img, const Sdf& sdf, const Shader& shader, int x0, int y0, int x1, int y1) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, img.Width() - 1);
  y1 = std::min(y1, img.Height() - 1);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
      const float d = sdf(fx, fy);
      const float coverage = Clamp01(0.5f - d);
      if (coverage <= 0) continue;
      img.Blend(x, y, shader(fx, fy, d), coverage);
    }
  }
}

void PaintSdf(Image& img, const Sdf& sdf, Color c) {
  PaintSdf(
      img, sdf, [c](float, float, float) { return c; }, 0, 0, img.Width() - 1, img.Height() - 1);
}

float SdCircle(float x, float y, float cx, float cy, float r) {
  return std::hypot(x - cx, y - cy) - r;
}

float SdBox(float x, float y, float cx, float cy, float hw, float hh, float round) {
  const float qx = std::fabs(x - cx) - hw + round;
  const float qy = std::fabs(y - cy) - hh + round;
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - round;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by) {
  const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  const float len2 = dx * dx + dy * dy;
  const float h = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(px - dx * h, py - dy * h);
}

float SdPolygon(float x, float y, const std::vector<Vec2>& v) {
  // Exact distance to the outline, signed by the even-odd rule.
  float d = 1e30f;
  bool inside = false;
  for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
    d = std::min(d, SdSegment(x, y, v[j].x, v[j].y, v[i].x, v[i].y));
    if ((v[i].y > y) != (v[j].y > y) &&
        x < (v[j].x - v[i].x) * (y - v[i].y) / (v[j].y - v[i].y) + v[i].x) {
      inside = !inside;
    }
  }
  return inside ? -d : d;
}

namespace {
// One horizontal and one vertical running-sum box blur.
void BoxPass(std::vector<Pixel>& px, int w, int h, int r) {
  std::vector<Pixel> tmp(px.size());
  const float norm = 1.0f / float(2 * r + 1);
  auto run = [&](auto get, auto set, int n) {
    Pixel acc{};
    for (int i = -r; i <= r; ++i) {
      const Pixel& p = get(std::clamp(i, 0, n - 1));
      acc.r += p.r, acc.g += p.g, acc.b += p.b, acc.a += p.a;
    }
    for (int i = 0; i < n; ++i) {
      set(i, Pixel{acc.r * norm, acc.g * norm, acc.b * norm, acc.a * norm});
      const Pixel& add = get(std::min(i + r + 1, n - 1));
      const Pixel& sub = get(std::max(i - r, 0));
      acc.r += add.r - sub.r, acc.g += add.g - sub.g, acc.b += add.b - sub.b,
          acc.a += add.a - sub.a;
    }
  };
  for (int y = 0; y < h; ++y) {
    run([&](int i) -> const Pixel& { return px[size_t(y) * w + i]; },
        [&](int i, Pixel p) { tmp[size_t(y) * w + i] = p; }, w);
  }
  for (int x = 0; x < w; ++x) {
    run([&](int i) -> const Pixel& { return tmp[size_t(i) * w + x]; },
        [&](int i, Pixel p) { px[size_t(i) * w + x] = p; }, h);
  }
}
}  // namespace

Image Blur(const Image& src, int radius) {
  Image out = src;
  if (radius <= 0) return out;
  std::vector<Pixel> px(size_t(src.Width()) * src.Height());
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) px[size_t(y) * src.Width() + x] = src.At(x, y);
  const int r = std::max(1, radius / 2);
  for (int i = 0; i < 3; ++i) BoxPass(px, src.Width(), src.Height(), r);
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) out.At(x, y) = px[size_t(y) * src.Width() + x];
  return out;
}

void AddGlow(Image& img, int radius, float strength) {
  const Image glow = Blur(img, radius);
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      const Pixel& g = glow.At(x, y);
      Pixel& p = img.At(x, y);
      // The glow sits under the picture: it shows where the picture is transparent.
      const float k = strength * (1 - p.a);
      p.r += g.r * k, p.g += g.g * k, p.b += g.b * k;
      p.a = std::min(1.0f, p.a + g.a * k);
    }
  }
}

void Erase(Image& img, const Sdf& sdf, float strength) {
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      const float c = Clamp01(0.5f - sdf(float(x) + 0.5f, float(y) + 0.5f)) * strength;
      if (c <= 0) continue;
      Pixel& p = img.At(x, y);
      const float k = 1 - c;
      p.r *= k, p.g *= k, p.b *= k, p.a *= k;
    }
  }
}

void PaintOnto(Image& img, const Sdf& sdf, Color col) {
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      const float c = Clamp01(0.5f - sdf(float(x) + 0.5f, float(y) + 0.5f)) * col.a;
      Pixel& p = img.At(x, y);
      if (c <= 0 || p.a <= 0) continue;
      p.r += (col.r * p.a - p.r) * c;
      p.g += (col.g * p.a - p.g) * c;
      p.b += (col.b * p.a - p.b) * c;
    }
  }
}

void Darken(Image& img, const Sdf& sdf, float amount, float soft) {
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      const float d = sdf(float(x) + 0.5f, float(y) + 0.5f);
      const float c = Clamp01(-d / soft + 0.5f) * amount;
      if (c <= 0) continue;
      Pixel& p = img.At(x, y);
      p.r *= 1 - c, p.g *= 1 - c, p.b *= 1 - c;
    }
  }
}
