#include "writers.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace {

class Bytes {
 public:
  void U8(uint32_t v) { data.push_back(uint8_t(v)); }
  void U16(uint32_t v) { U8(v & 0xFF), U8(v >> 8); }
  void U32(uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
  void Tag(const char* s) { data.insert(data.end(), s, s + 4); }
  void Zeros(size_t n) { data.insert(data.end(), n, 0); }
  std::vector<uint8_t> data;
};

void Save(const std::string& path, const std::vector<uint8_t>& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void BmpFileHeader(Bytes& b, uint32_t headerSize, uint32_t imageSize) {
  b.U8('B'), b.U8('M');
  b.U32(14 + headerSize + imageSize);
  b.U32(0);
  b.U32(14 + headerSize);
}

}  // namespace

void WriteBmp32(const std::string& path, const Image& img) {
  const auto rgba = img.ToRgba8();
  const int w = img.Width(), h = img.Height();
  const uint32_t imageSize = uint32_t(w) * h * 4;
  Bytes b;
  BmpFileHeader(b, 124, imageSize);
  b.U32(124);  // BITMAPV5HEADER
  b.U32(uint32_t(w));
  b.U32(uint32_t(h));  // bottom-up
  b.U16(1);
  b.U16(32);
  b.U32(3);  // BI_BITFIELDS
  b.U32(imageSize);
  b.U32(2835), b.U32(2835);  // 72 dpi
  b.U32(0), b.U32(0);
  b.U32(0x00FF0000), b.U32(0x0000FF00), b.U32(0x000000FF), b.U32(0xFF000000);
  b.U32(0x73524742);  // 'sRGB'
  b.Zeros(36 + 12);   // endpoints, gamma
  b.U32(4);           // LCS_GM_IMAGES
  b.U32(0), b.U32(0), b.U32(0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
      b.U8(p[2]), b.U8(p[1]), b.U8(p[0]), b.U8(p[3]);
    }
  }
  Save(path, b.data);
}

void WriteBmp24(const std::string& path, const Image& img) {
  const auto rgba = img.ToRgba8();
  const int w = img.Width(), h = img.Height();
  const uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
  Bytes b;
  BmpFileHeader(b, 40, stride * h);
  b.U32(40);  // BITMAPINFOHEADER
  b.U32(uint32_t(w));
  b.U32(uint32_t(h));
  b.U16(1);
  b.U16(24);
  b.U32(0);  // BI_RGB
  b.U32(stride * h);
  b.U32(2835), b.U32(2835);
  b.U32(0), b.U32(0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
      // Flattened onto black: the picture is drawn opaque.
      b.U8(p[2] * p[3] / 255), b.U8(p[1] * p[3] / 255), b.U8(p[0] * p[3] / 255);
    }
    b.Zeros(stride - uint32_t(w) * 3);
  }
  Save(path, b.data);
}

namespace {

void DdsHeader(Bytes& b, int w, int h, bool compressed, uint32_t pitchOrSize, const char* fourCC) {
  b.Tag("DDS ");
  b.U32(124);
  const uint32_t caps = 0x1, height = 0x2, width = 0x4, pitch = 0x8, pixelFormat = 0x1000,
                 linearSize = 0x80000;
  b.U32(caps | height | width | pixelFormat | (compressed ? linearSize : pitch));
  b.U32(uint32_t(h));
  b.U32(uint32_t(w));
  b.U32(pitchOrSize);
  b.U32(0);  // depth
  b.U32(0);  // mipmaps
  b.Zeros(11 * 4);
  // DDS_PIXELFORMAT
  b.U32(32);
  if (compressed) {
    b.U32(0x4);  // DDPF_FOURCC
    b.Tag(fourCC);
    b.Zeros(5 * 4);
  } else {
    b.U32(0x40 | 0x1);  // DDPF_RGB | DDPF_ALPHAPIXELS
    b.U32(0);
    b.U32(32);
    b.U32(0x00FF0000), b.U32(0x0000FF00), b.U32(0x000000FF), b.U32(0xFF000000);
  }
  b.U32(0x1000);  // DDSCAPS_TEXTURE
  b.Zeros(4 * 4);
}

uint16_t To565(const float c[3]) {
  auto q = [](float v, int bits) {
    return uint16_t(std::lround(std::clamp(v, 0.0f, 1.0f) * float((1 << bits) - 1)));
  };
  return uint16_t(q(c[0], 5) << 11 | q(c[1], 6) << 5 | q(c[2], 5));
}

void From565(uint16_t v, float c[3]) {
  c[0] = float(v >> 11) / 31.0f;
  c[1] = float((v >> 5) & 63) / 63.0f;
  c[2] = float(v & 31) / 31.0f;
}

// Colour block: endpoints at the extremes of the block's colours along their main axis.
void ColorBlock(Bytes& b, const std::array<std::array<float, 4>, 16>& px) {
  float mean[3] = {0, 0, 0}, weight = 0;
  for (const auto& p : px) {
    const float w = p[3] > 0 ? 0.05f + p[3] : 0.0f;
    for (int k = 0; k < 3; ++k) mean[k] += p[k] * w;
    weight += w;
  }
  if (weight <= 0) {
    b.U16(0), b.U16(0), b.U32(0);
    return;
  }
  for (float& m : mean) m /= weight;
  float cov[3][3] = {};
  for (const auto& p : px) {
    const float w = p[3] > 0 ? 0.05f + p[3] : 0.0f;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) cov[i][j] += w * (p[i] - mean[i]) * (p[j] - mean[j]);
  }
  float axis[3] = {0.577f, 0.577f, 0.577f};
  for (int it = 0; it < 8; ++it) {
    float next[3];
    for (int i = 0; i < 3; ++i)
      next[i] = cov[i][0] * axis[0] + cov[i][1] * axis[1] + cov[i][2] * axis[2];
    const float len = std::sqrt(next[0] * next[0] + next[1] * next[1] + next[2] * next[2]);
    if (len < 1e-9f) break;
    for (int i = 0; i < 3; ++i) axis[i] = next[i] / len;
  }
  float lo = 1e9f, hi = -1e9f;
  for (const auto& p : px) {
    if (p[3] <= 0) continue;
    const float t =
        (p[0] - mean[0]) * axis[0] + (p[1] - mean[1]) * axis[1] + (p[2] - mean[2]) * axis[2];
    lo = std::min(lo, t), hi = std::max(hi, t);
  }
  float c0[3], c1[3];
  for (int k = 0; k < 3; ++k) c0[k] = mean[k] + axis[k] * hi, c1[k] = mean[k] + axis[k] * lo;
  uint16_t e0 = To565(c0), e1 = To565(c1);
  if (e0 < e1) std::swap(e0, e1);
  // Four-colour mode needs e0 > e1; equal endpoints give one flat colour.
  float pal[4][3];
  From565(e0, pal[0]);
  From565(e1, pal[1]);
  for (int k = 0; k < 3; ++k) {
    pal[2][k] = (2 * pal[0][k] + pal[1][k]) / 3;
    pal[3][k] = (pal[0][k] + 2 * pal[1][k]) / 3;
  }
  uint32_t indices = 0;
  if (e0 != e1) {
    for (int i = 0; i < 16; ++i) {
      int best = 0;
      float bestD = 1e9f;
      for (int c = 0; c < 4; ++c) {
        float d = 0;
        for (int k = 0; k < 3; ++k) d += (px[i][k] - pal[c][k]) * (px[i][k] - pal[c][k]);
        if (d < bestD) bestD = d, best = c;
      }
      indices |= uint32_t(best) << (2 * i);
    }
  }
  b.U16(e0), b.U16(e1), b.U32(indices);
}

void AlphaBlock(Bytes& b, const std::array<std::array<float, 4>, 16>& px) {
  int lo = 255, hi = 0;
  int a[16];
  for (int i = 0; i < 16; ++i) {
    a[i] = int(std::lround(px[i][3] * 255));
    lo = std::min(lo, a[i]), hi = std::max(hi, a[i]);
  }
  b.U8(uint32_t(hi)), b.U8(uint32_t(lo));
  uint64_t bits = 0;
  if (hi > lo) {
    int pal[8] = {hi, lo};
    for (int k = 1; k <= 6; ++k) pal[k + 1] = ((7 - k) * hi + k * lo) / 7;
    for (int i = 0; i < 16; ++i) {
      int best = 0;
      for (int c = 1; c < 8; ++c)
        if (std::abs(a[i] - pal[c]) < std::abs(a[i] - pal[best])) best = c;
      bits |= uint64_t(best) << (3 * i);
    }
  }
  for (int i = 0; i < 6; ++i) b.U8(uint32_t(bits >> (8 * i)) & 0xFF);
}

}  // namespace

void WriteDdsRgba(const std::string& path, const Image& img) {
  const auto rgba = img.ToRgba8();
  Bytes b;
  DdsHeader(b, img.Width(), img.Height(), false, uint32_t(img.Width()) * 4, nullptr);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    b.U8(rgba[i + 2]), b.U8(rgba[i + 1]), b.U8(rgba[i]), b.U8(rgba[i + 3]);
  }
  Save(path, b.data);
}

void WriteDdsCompressed(const std::string& path, const Image& img, Dxt format) {
  const auto rgba = img.ToRgba8();
  const int w = img.Width(), h = img.Height();
  const int bw = (w + 3) / 4, bh = (h + 3) / 4;
  const uint32_t blockBytes = format == Dxt::kDxt1 ? 8 : 16;
  Bytes b;
  DdsHeader(b, w, h, true, uint32_t(bw * bh) * blockBytes, format == Dxt::kDxt1 ? "DXT1" : "DXT5");
  for (int by = 0; by < bh; ++by) {
    for (int bx = 0; bx < bw; ++bx) {
      std::array<std::array<float, 4>, 16> px{};
      for (int i = 0; i < 16; ++i) {
        // Edge blocks repeat the last row and column.
        const int x = std::min(bx * 4 + i % 4, w - 1), y = std::min(by * 4 + i / 4, h - 1);
        const uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
        px[i] = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f};
        if (format == Dxt::kDxt1) px[i][3] = 1;  // DXT1 here is opaque
      }
      if (format == Dxt::kDxt5) AlphaBlock(b, px);
      ColorBlock(b, px);
    }
  }
  Save(path, b.data);
}

namespace {
SDL_Surface* ToSurface(const Image& img, std::vector<uint8_t>& rgba) {
  rgba = img.ToRgba8();
  return SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), img.Width(), img.Height(), 32,
                                            img.Width() * 4, SDL_PIXELFORMAT_ABGR8888);
}
}  // namespace

void WriteJpeg(const std::string& path, const Image& img, int quality) {
  Image flat(img.Width(), img.Height());
  flat.Fill({0, 0, 0, 1});
  flat.Over(img);
  std::vector<uint8_t> rgba;
  SDL_Surface* surface = ToSurface(flat, rgba);
  if (!surface || IMG_SaveJPG(surface, path.c_str(), quality) != 0) {
    if (surface) SDL_FreeSurface(surface);
    throw std::runtime_error("cannot write " + path + ": " + SDL_GetError());
  }
  SDL_FreeSurface(surface);
}

void WritePng(const std::string& path, const Image& img) {
  std::vector<uint8_t> rgba;
  SDL_Surface* surface = ToSurface(img, rgba);
  if (!surface || IMG_SavePNG(surface, path.c_str()) != 0) {
    if (surface) SDL_FreeSurface(surface);
    throw std::runtime_error("cannot write " + path + ": " + SDL_GetError());
  }
  SDL_FreeSurface(surface);
}

void WriteWav(const std::string& path, const std::vector<float>& samples, int channels,
              int sampleRate) {
  const uint32_t dataBytes = uint32_t(samples.size()) * 2;
  Bytes b;
  b.Tag("RIFF");
  b.U32(36 + dataBytes);
  b.Tag("WAVE");
  b.Tag("fmt ");
  b.U32(16);
  b.U16(1);  // PCM
  b.U16(uint32_t(channels));
  b.U32(uint32_t(sampleRate));
  b.U32(uint32_t(sampleRate) * channels * 2);
  b.U16(uint32_t(channels) * 2);
  b.U16(16);
  b.Tag("data");
  b.U32(dataBytes);
  b.data.reserve(b.data.size() + dataBytes);
  for (float s : samples) {
    const auto v = int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
    b.U16(uint16_t(v));
  }
  Save(path, b.data);
}
