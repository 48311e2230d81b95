// A small float RGBA raster with premultiplied alpha, and the drawing helpers the generator needs.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Color {
  float r = 0, g = 0, b = 0, a = 1;  // straight (not premultiplied), 0..1
};

Color Mix(Color a, Color b, float t);
Color Scale(Color c, float k);  // scales the colour channels, keeps alpha
Color Hsv(float hueDegrees, float saturation, float value, float alpha = 1);

struct Pixel {
  float r = 0, g = 0, b = 0, a = 0;  // premultiplied
};

class Image {
 public:
  Image() = default;
  Image(int width, int height) : width_(width), height_(height), px_(size_t(width) * height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  Pixel& At(int x, int y) { return px_[size_t(y) * width_ + x]; }
  const Pixel& At(int x, int y) const { return px_[size_t(y) * width_ + x]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  void Fill(Color c);
  // Paints colour c over the pixel with the given coverage (0..1), "over" compositing.
  void Blend(int x, int y, Color c, float coverage);
  // Adds light: colour times intensity added to the channels, alpha raised to match.
  void AddLight(int x, int y, Color c, float intensity);
  // Composites another image over this one at an offset, with an opacity.
  void Over(const Image& top, int dx = 0, int dy = 0, float opacity = 1);
  // Straight (not premultiplied) 8-bit RGBA, row 0 at the top.
  std::vector<uint8_t> ToRgba8() const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<Pixel> px_;
};

// Signed distance field of a shape: negative inside, in pixels.
using Sdf = std::function<float(float x, float y)>;
// Colour of a shape at a pixel centre, given the signed distance there.
using Shader = std::function<Color(float x, float y, float distance)>;

// Fills the shape with anti-aliased edges, evaluating at pixel centres within the box.
void PaintSdf(Image& img, const Sdf& sdf, const Shader& shader, int x0, int y0, int x1, int y1);
void PaintSdf(Image& img, const Sdf& sdf, Color c);

// Distance helpers.
float SdCircle(float x, float y, float cx, float cy, float r);
float SdBox(float x, float y, float cx, float cy, float hw, float hh, float round = 0);
float SdSegment(float x, float y, float ax, float ay, float bx, float by);  // unsigned
struct Vec2 {
  float x, y;
};
float SdPolygon(float x, float y, const std::vector<Vec2>& poly);

// Cuts a shape out: alpha (and colour) scaled down by the shape's coverage times strength.
void Erase(Image& img, const Sdf& sdf, float strength = 1);
// Paints only where the picture already is: the colour is blended in, the alpha kept.
void PaintOnto(Image& img, const Sdf& sdf, Color c);
// Darkens the colour (not the alpha) by up to `amount` inside the shape, softly over `soft` px.
void Darken(Image& img, const Sdf& sdf, float amount, float soft);

// Three box blurs: close to a Gaussian of about this radius.
Image Blur(const Image& src, int radius);
// A soft glow: the blurred image, brightened, added under the original.
void AddGlow(Image& img, int radius, float strength);
