// The generated files under build/files: every file the game loads is there, in a format the
// engine reads, at the sizes the drawing code takes from it, and it looks and sounds sane.
// The small readers here are independent of the generator's writers on purpose.
#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "asset_files.h"

namespace {

const std::string kFiles = std::string(SWAYFIRE_BUILD_DIR) + "/files/";

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8;
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return U16(b, at) | U16(b, at + 2) << 16;
}

struct Rgba {
  uint8_t r, g, b, a;
};

struct Picture {
  int width = 0, height = 0;
  std::vector<Rgba> px;  // row 0 at the top
  const Rgba& At(int x, int y) const { return px[size_t(y) * width + x]; }
};

float Luma(const Rgba& p) {
  return (0.3f * p.r + 0.59f * p.g + 0.11f * p.b) / 255;
}

// 24-bit, or 32-bit with bit-field masks (the alpha mask in a V4/V5 header).
Picture ReadBmp(const std::string& name) {
  const auto b = ReadAll(kFiles + name);
  Picture pic;
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return pic;
  const uint32_t offset = U32(b, 10), header = U32(b, 14);
  const int width = int32_t(U32(b, 18)), height = int32_t(U32(b, 22));
  const uint32_t bpp = U16(b, 28), compression = U32(b, 30);
  uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0};
  if (bpp == 32) {
    if (compression != 3 || header < 108) return pic;  // alpha needs the masks of a V4/V5 header
    for (int i = 0; i < 4; ++i) masks[i] = U32(b, 54 + 4 * i);
  } else if (bpp != 24 || compression != 0) {
    return pic;
  }
  const size_t stride = (size_t(width) * (bpp / 8) + 3) & ~size_t(3);
  if (b.size() < offset + stride * std::abs(height)) return pic;
  pic.width = width;
  pic.height = std::abs(height);
  pic.px.resize(size_t(width) * pic.height);
  auto channel = [](uint32_t v, uint32_t mask) -> uint8_t {
    if (!mask) return 255;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    return uint8_t((v & mask) >> shift);
  };
  for (int y = 0; y < pic.height; ++y) {
    const size_t row = offset + stride * size_t(height > 0 ? pic.height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const size_t at = row + size_t(x) * (bpp / 8);
      const uint32_t v = bpp == 32 ? U32(b, at) : (b[at] | b[at + 1] << 8 | b[at + 2] << 16);
      pic.px[size_t(y) * width + x] = {channel(v, masks[0]), channel(v, masks[1]),
                                       channel(v, masks[2]), channel(v, masks[3])};
    }
  }
  return pic;
}

struct Dds {
  std::string format;  // "RGBA", "DXT1" or "DXT5"
  Picture pic;
};

Rgba From565(uint32_t v) {
  return {uint8_t((v >> 11) * 255 / 31), uint8_t(((v >> 5) & 63) * 255 / 63),
          uint8_t((v & 31) * 255 / 31), 255};
}

// Uncompressed A8R8G8B8, DXT1 and DXT5.
Dds ReadDds(const std::string& name) {
  const auto b = ReadAll(kFiles + name);
  Dds dds;
  if (b.size() < 128 || std::string(b.begin(), b.begin() + 4) != "DDS " || U32(b, 4) != 124)
    return dds;
  const int height = int(U32(b, 12)), width = int(U32(b, 16));
  const uint32_t flags = U32(b, 80);
  const std::string fourCC(b.begin() + 84, b.begin() + 88);
  Picture& pic = dds.pic;
  pic.width = width, pic.height = height;
  pic.px.assign(size_t(width) * height, {0, 0, 0, 0});
  if (!(flags & 0x4)) {
    if (U32(b, 88) != 32 || U32(b, 92) != 0xFF0000 || U32(b, 104) != 0xFF000000u ||
        b.size() < 128 + pic.px.size() * 4)
      return {};
    dds.format = "RGBA";
    for (size_t i = 0; i < pic.px.size(); ++i)
      pic.px[i] = {b[128 + 4 * i + 2], b[128 + 4 * i + 1], b[128 + 4 * i], b[128 + 4 * i + 3]};
    return dds;
  }
  if (fourCC != "DXT1" && fourCC != "DXT5") return {};
  dds.format = fourCC;
  const size_t blockBytes = fourCC == "DXT1" ? 8 : 16;
  const int bw = (width + 3) / 4, bh = (height + 3) / 4;
  if (b.size() < 128 + size_t(bw * bh) * blockBytes) return {};
  size_t at = 128;
  for (int by = 0; by < bh; ++by) {
    for (int bx = 0; bx < bw; ++bx, at += blockBytes) {
      std::array<uint8_t, 16> alpha;
      alpha.fill(255);
      size_t colorAt = at;
      if (blockBytes == 16) {
        int a[8] = {b[at], b[at + 1]};
        for (int k = 2; k < 8; ++k)
          a[k] = a[0] > a[1] ? ((8 - k) * a[0] + (k - 1) * a[1]) / 7
                             : (k < 6 ? ((6 - k) * a[0] + (k - 1) * a[1]) / 5 : (k == 6 ? 0 : 255));
        uint64_t bits = 0;
        for (int k = 0; k < 6; ++k) bits |= uint64_t(b[at + 2 + k]) << (8 * k);
        for (int i = 0; i < 16; ++i) alpha[i] = uint8_t(a[(bits >> (3 * i)) & 7]);
        colorAt = at + 8;
      }
      const uint32_t c0 = U16(b, colorAt), c1 = U16(b, colorAt + 2);
      Rgba pal[4] = {From565(c0), From565(c1)};
      const bool four = c0 > c1 || blockBytes == 16;
      for (int k = 0; k < 3; ++k) {
        auto mix = [&](int w0, int w1, int d) {
          const uint8_t* p0 = &pal[0].r;
          const uint8_t* p1 = &pal[1].r;
          return uint8_t((w0 * p0[k] + w1 * p1[k]) / d);
        };
        (&pal[2].r)[k] = four ? mix(2, 1, 3) : mix(1, 1, 2);
        (&pal[3].r)[k] = four ? mix(1, 2, 3) : 0;
      }
      pal[2].a = 255;
      pal[3].a = four ? 255 : 0;
      const uint32_t idx = U32(b, colorAt + 4);
      for (int i = 0; i < 16; ++i) {
        const int x = bx * 4 + i % 4, y = by * 4 + i / 4;
        if (x >= width || y >= height) continue;
        Rgba p = pal[(idx >> (2 * i)) & 3];
        if (blockBytes == 16) p.a = alpha[i];
        pic.px[size_t(y) * width + x] = p;
      }
    }
  }
  return dds;
}

// Width and height from the first start-of-frame marker of a JPEG.
std::pair<int, int> JpegSize(const std::string& name) {
  const auto b = ReadAll(kFiles + name);
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return {0, 0};
  size_t at = 2;
  while (at + 9 < b.size() && b[at] == 0xFF) {
    const uint8_t marker = b[at + 1];
    const size_t length = size_t(b[at + 2]) << 8 | b[at + 3];
    if (marker >= 0xC0 && marker <= 0xC2)
      return {int(b[at + 7]) << 8 | b[at + 8], int(b[at + 5]) << 8 | b[at + 6]};
    at += 2 + length;
  }
  return {0, 0};
}

struct Wav {
  int channels = 0, rate = 0, bits = 0;
  std::vector<float> samples;  // interleaved, -1..1
  double Seconds() const { return channels ? double(samples.size()) / channels / rate : 0; }
};

Wav ReadWav(const std::string& name) {
  const auto b = ReadAll(kFiles + name);
  Wav wav;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    return wav;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::string id(b.begin() + at, b.begin() + at + 4);
    const size_t size = U32(b, at + 4);
    if (at + 8 + size > b.size()) break;
    if (id == "fmt " && U16(b, at + 8) == 1) {
      wav.channels = int(U16(b, at + 10));
      wav.rate = int(U32(b, at + 12));
      wav.bits = int(U16(b, at + 22));
    } else if (id == "data" && wav.bits == 16) {
      for (size_t i = 0; i + 1 < size; i += 2)
        wav.samples.push_back(float(int16_t(U16(b, at + 8 + i))) / 32768.0f);
    }
    at += 8 + size + (size & 1);
  }
  return wav;
}

// Ogg Vorbis, decoded by libvorbisfile into 32-bit float samples.
Wav ReadOgg(const std::string& name) {
  Wav wav;
  OggVorbis_File file;
  if (ov_fopen((kFiles + name).c_str(), &file) != 0) return wav;
  const vorbis_info* info = ov_info(&file, -1);
  wav.channels = info->channels;
  wav.rate = int(info->rate);
  wav.bits = 32;
  for (;;) {
    float** pcm = nullptr;
    int section = 0;
    const long frames = ov_read_float(&file, &pcm, 4096, &section);
    if (frames <= 0) break;
    for (long i = 0; i < frames; ++i)
      for (int c = 0; c < wav.channels; ++c) wav.samples.push_back(pcm[c][i]);
  }
  ov_clear(&file);
  return wav;
}

float Peak(const std::vector<float>& s, size_t from = 0, size_t to = SIZE_MAX) {
  float peak = 0;
  for (size_t i = from; i < std::min(to, s.size()); ++i) peak = std::max(peak, std::fabs(s[i]));
  return peak;
}

// Ink extent of one cell of the font atlas: leftmost and rightmost column with any alpha.
struct Ink {
  int left = 32, right = -1, top = 32, bottom = -1;
  int Advance() const { return right < 0 ? 18 : right - left + 1 + 2; }
};

Ink GlyphInk(const Picture& atlas, char c) {
  const int index = static_cast<unsigned char>(c) - 32;
  const int ox = (index % 16) * 32, oy = (index / 16) * 32;
  Ink ink;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (atlas.At(ox + x, oy + y).a == 0) continue;
      ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

int Advance(const Picture& atlas, const std::string& text) {
  int total = 0;
  for (char c : text) total += GlyphInk(atlas, c).Advance();
  return total;
}

// The sound effects of the asset list.
std::vector<std::string> SoundFiles() {
  return {
#define SOUND(file, ...) file,
#include "assets.def"
  };
}

}  // namespace

TEST(Assets, EveryFileTheGameLoadsIsThere) {
  for (const auto& name : test::AssetFileNames()) {
    EXPECT_TRUE(std::filesystem::is_regular_file(kFiles + name)) << name;
    EXPECT_GT(std::filesystem::file_size(kFiles + name), 64u) << name;
  }
}

TEST(Assets, PicturesAreAtLeastAsLargeAsTheRegionsDrawn) {
  struct Need {
    std::string name;
    int width, height;
  };
  const std::vector<Need> bmps = {
      {"background.bmp", 704, 512}, {"mainmenu_background.bmp", 704, 512},
      {"bonus.bmp", 16, 16},        {"player_0.bmp", 32, 32},
      {"player_10.bmp", 32, 32},    {"ai_1.bmp", 32, 32},
      {"ai_10.bmp", 32, 32},        {"Font_Blue.bmp", 16, 16}};
  for (const auto& n : bmps) {
    const Picture p = ReadBmp(n.name);
    EXPECT_GE(p.width, n.width) << n.name;
    EXPECT_GE(p.height, n.height) << n.name;
  }
  const std::vector<Need> dds = {{"arrow.dds", 32, 32},      {"menu-gametitle.dds", 512, 128},
                                 {"keys-fire.dds", 128, 64}, {"keys-move.dds", 128, 64},
                                 {"hpbar.dds", 32, 3},       {"font_default.dds", 512, 256}};
  for (const auto& n : dds) {
    const Dds d = ReadDds(n.name);
    EXPECT_FALSE(d.format.empty()) << n.name << " is not a DDS the engine reads";
    EXPECT_GE(d.pic.width, n.width) << n.name;
    EXPECT_GE(d.pic.height, n.height) << n.name;
  }
  EXPECT_EQ(JpegSize("logo.jpg"), std::make_pair(640, 480));
}

TEST(Assets, ShotsAndPauseOverlayTakeABrightOpaqueSparkFromTheHealthyEnemy) {
  const Picture ai = ReadBmp("ai_10.bmp");
  ASSERT_GE(ai.width, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(ai.At(x, y).a, 255) << x << "," << y;
      EXPECT_GT(Luma(ai.At(x, y)), 0.6f) << x << "," << y;
    }
  }
  EXPECT_GT(Luma(ai.At(0, 0)), 0.7f) << "the pause overlay stretches this pixel";
  // A soft glow: brightest in the middle.
  EXPECT_GT(Luma(ai.At(3, 3)), Luma(ai.At(0, 0)));
}

TEST(Assets, EnemiesAreLightGreysThatTakeTheTintAndDarkenWithDamage) {
  float previous = 2;
  for (int i = 10; i >= 1; --i) {
    const Picture p = ReadBmp("ai_" + std::to_string(i) + ".bmp");
    ASSERT_GE(p.width, 32) << i;
    float sum = 0, chroma = 0;
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const Rgba& q = p.At(x, y);
        if (q.a < 200) continue;
        ++opaque;
        sum += Luma(q);
        chroma += float(std::max({q.r, q.g, q.b}) - std::min({q.r, q.g, q.b})) / 255;
      }
    }
    ASSERT_GT(opaque, 250) << "ai_" << i << " should show a whole drone";
    EXPECT_LT(chroma / float(opaque), 0.08f) << "ai_" << i << " should be grey for the tint";
    const float mean = sum / float(opaque);
    EXPECT_LE(mean, previous + 0.02f) << "ai_" << i << " should not be brighter than ai_" << i + 1;
    previous = mean;
    if (i == 10) {
      EXPECT_GT(mean, 0.6f);
    }
    if (i == 1) {
      EXPECT_LT(mean, 0.4f) << "the dead wreck is dim";
    }
  }
}

TEST(Assets, ShipImagesHaveTransparentCornersAndShowDamage) {
  std::vector<Picture> ships;
  for (int i : {10, 9, 8, 7, 0}) {
    ships.push_back(ReadBmp("player_" + std::to_string(i) + ".bmp"));
    const Picture& p = ships.back();
    ASSERT_GE(p.width, 32) << i;
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {1, 1}, {30, 1}})
      EXPECT_EQ(p.At(x, y).a, 0) << "player_" << i << " corner " << x << "," << y;
    EXPECT_EQ(p.At(16, 16).a, 255) << "player_" << i << " has its hull in the middle";
  }
  // Every step of damage changes the picture, and the healthy ship has the most of itself.
  auto opaque = [](const Picture& p) {
    int n = 0;
    for (const auto& q : p.px) n += q.a > 128;
    return n;
  };
  for (size_t i = 1; i < 4; ++i) {
    int differing = 0;
    for (size_t k = 0; k < ships[i].px.size(); ++k)
      differing += std::abs(ships[i].px[k].r - ships[i - 1].px[k].r) > 20;
    EXPECT_GT(differing, 15) << "damage step " << i;
  }
  EXPECT_GT(opaque(ships[0]), opaque(ships[3]));
  // The wreck doubles as the green halo: it must be light so the tint shows.
  float sum = 0;
  int n = 0;
  for (const auto& q : ships[4].px)
    if (q.a > 200) sum += Luma(q), ++n;
  ASSERT_GT(n, 200);
  EXPECT_GT(sum / float(n), 0.6f);
}

TEST(Assets, BonusGemIsOpaqueWithADarkerCentreForItsLetter) {
  const Picture p = ReadBmp("bonus.bmp");
  ASSERT_GE(p.width, 16);
  float centre = 0, rim = 0;
  for (int y = 6; y < 10; ++y)
    for (int x = 6; x < 10; ++x) {
      centre += Luma(p.At(x, y)) / 16;
      EXPECT_EQ(p.At(x, y).a, 255);
    }
  for (auto [x, y] : {std::pair{3, 5}, {5, 3}, {12, 5}, {5, 12}}) rim += Luma(p.At(x, y)) / 4;
  EXPECT_LT(centre, 0.45f) << "a white letter is drawn on the centre";
  EXPECT_GT(rim, centre + 0.1f);
  EXPECT_EQ(p.At(0, 0).a, 0);
}

TEST(Assets, ArrowPointsRightAndStaysInTheMiddleOfItsTile) {
  const Dds d = ReadDds("arrow.dds");
  ASSERT_EQ(d.pic.width, 32);
  int left = 32, right = -1, top = 32, bottom = -1;
  std::array<int, 32> columnHeight{};
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (d.pic.At(x, y).a < 64) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
      ++columnHeight[x];
    }
  }
  // Drawn at 24 x 24 the chooser arrows must keep clear of the level number between them.
  EXPECT_GE(left, 7);
  EXPECT_LE(right, 24);
  EXPECT_NEAR((top + bottom) / 2.0, 15.5, 1.0);
  // The head (tall columns narrowing to the tip) is on the right of the tallest column, the
  // thin shaft on its left.
  const int tallest =
      int(std::max_element(columnHeight.begin(), columnHeight.end()) - columnHeight.begin());
  double before = 0, after = 0;
  for (int x = left; x < tallest; ++x) before += columnHeight[x] / double(tallest - left);
  for (int x = tallest + 1; x <= right; ++x) after += columnHeight[x] / double(right - tallest);
  EXPECT_GT(after, before * 1.5);
}

TEST(Assets, HealthBarIsBlockCompressedBrightGreen) {
  const Dds d = ReadDds("hpbar.dds");
  EXPECT_TRUE(d.format == "DXT1" || d.format == "DXT5") << "at least one picture exercises the "
                                                           "engine's block decoder";
  ASSERT_GE(d.pic.height, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 32; ++x) {
      const Rgba& q = d.pic.At(x, y);
      EXPECT_EQ(q.a, 255);
      EXPECT_GT(q.g, 100);
      EXPECT_GT(q.g, q.r);
      EXPECT_GT(q.g, q.b);
    }
  }
}

TEST(Assets, KeyCapsTitleAndBackgroundsHaveContent) {
  for (const char* name : {"keys-fire.dds", "keys-move.dds", "menu-gametitle.dds"}) {
    const Dds d = ReadDds(name);
    int solid = 0, clear = 0;
    for (const auto& q : d.pic.px) solid += q.a > 200, clear += q.a == 0;
    EXPECT_GT(solid, 500) << name;
    EXPECT_GT(clear, 500) << name << " should be transparent around its shapes";
  }
  // The game draws shots and text over its background: it stays dark on average.
  const Picture bg = ReadBmp("background.bmp");
  double sum = 0;
  for (const auto& q : bg.px) sum += Luma(q);
  const double mean = sum / double(bg.px.size());
  EXPECT_GT(mean, 0.02);
  EXPECT_LT(mean, 0.25);
  const Picture menu = ReadBmp("mainmenu_background.bmp");
  ASSERT_EQ(menu.px.size(), bg.px.size());
  int same = 0;
  for (size_t i = 0; i < bg.px.size(); ++i) same += Luma(bg.px[i]) == Luma(menu.px[i]);
  EXPECT_LT(same, int(bg.px.size() / 4)) << "the menu has its own background";
  // The blue font is keyed on magenta.
  const Picture blue = ReadBmp("Font_Blue.bmp");
  ASSERT_FALSE(blue.px.empty());
  EXPECT_EQ(blue.At(0, 0).r, 255);
  EXPECT_EQ(blue.At(0, 0).g, 0);
  EXPECT_EQ(blue.At(0, 0).b, 255);
}

TEST(Assets, FontAtlasKeepsTheMenuMetrics) {
  const Dds d = ReadDds("font_default.dds");
  ASSERT_EQ(d.format, "RGBA");
  ASSERT_EQ(d.pic.width, 512);
  ASSERT_EQ(d.pic.height, 256);
  const Picture& atlas = d.pic;
  // The menu lays out its entries and level numbers with these advances.
  const int revival = Advance(atlas, "REVIVAL ");
  EXPECT_GE(revival, 176);
  EXPECT_LE(revival, 182);
  for (char c = '0'; c <= '9'; ++c) {
    EXPECT_GE(GlyphInk(atlas, c).Advance(), 18) << c;
    EXPECT_LE(GlyphInk(atlas, c).Advance(), 20) << c;
  }
  EXPECT_EQ(GlyphInk(atlas, ' ').Advance(), 18);
  const Ink e = GlyphInk(atlas, 'E');
  for (char c = 'A'; c <= 'Z'; ++c) {
    const Ink ink = GlyphInk(atlas, c);
    EXPECT_GE(ink.Advance(), 12) << c;
    EXPECT_LE(ink.Advance(), 30) << c;
    EXPECT_GE(ink.bottom - ink.top + 1, 26) << c;
    EXPECT_LE(ink.bottom - ink.top + 1, 31) << c;
    if (c != 'Q') {
      EXPECT_EQ(ink.bottom, e.bottom) << c << " sits on the common baseline";
    }
    // Lower-case codes show the same letter.
    const Ink lower = GlyphInk(atlas, char(c - 'A' + 'a'));
    EXPECT_EQ(lower.right - lower.left, ink.right - ink.left) << c;
  }
  // Every character of the menu's own texts has a glyph.
  for (char c : std::string("SURVIVALBESTCOREXITGAMEOUT!<>YLF0123456789"))
    EXPECT_GE(GlyphInk(atlas, c).right, 0) << c;
  // White glyphs (the engine tints them) on a clear background.
  int white = 0, inked = 0;
  for (const auto& q : atlas.px) {
    if (q.a == 0) continue;
    ++inked;
    white += q.r == 255 && q.g == 255 && q.b == 255;
  }
  EXPECT_EQ(white, inked);
  EXPECT_LT(inked, int(atlas.px.size() / 2));
}

TEST(Assets, SoundsAreCleanPcmAtSensibleLevels) {
  for (const auto& name : SoundFiles()) {
    const Wav w = ReadWav(name);
    ASSERT_EQ(w.bits, 16) << name;
    EXPECT_TRUE(w.rate == 44100 || w.rate == 22050) << name;
    ASSERT_GE(w.channels, 1) << name;
    EXPECT_GT(w.Seconds(), 0.03) << name;
    EXPECT_LT(w.Seconds(), 3.0) << name;
    const float peak = Peak(w.samples);
    EXPECT_GT(peak, 0.1f) << name << " is nearly silent";
    EXPECT_LT(peak, 0.95f) << name << " clips";
    // No click: the first and last millisecond are close to zero.
    const size_t ms = size_t(w.rate / 1000 * w.channels);
    EXPECT_LT(Peak(w.samples, 0, 2), 0.02f) << name << " starts with a click";
    EXPECT_LT(Peak(w.samples, w.samples.size() - ms), 0.05f) << name << " ends with a click";
  }
  // Shots fire all the time and hits come in bursts: they stay quieter than the jingles.
  const float won = Peak(ReadWav("won.wav").samples);
  EXPECT_LT(Peak(ReadWav("fire.wav").samples), won * 0.6f);
  for (int i = 1; i <= 5; ++i)
    EXPECT_LT(Peak(ReadWav("hit_0" + std::to_string(i) + ".wav").samples), won * 0.8f) << i;
  EXPECT_LT(ReadWav("fire.wav").Seconds(), 0.3);
  EXPECT_GT(ReadWav("hs_name.wav").Seconds(), 1.0);
  EXPECT_GT(ReadWav("won.wav").Seconds(), 1.5);
  // The five hit sounds are different sounds.
  for (int i = 1; i <= 5; ++i)
    for (int j = i + 1; j <= 5; ++j)
      EXPECT_NE(ReadWav("hit_0" + std::to_string(i) + ".wav").samples,
                ReadWav("hit_0" + std::to_string(j) + ".wav").samples);
}

TEST(Assets, MusicLoopsWithoutAClick) {
  // The game asks for music.wma; the engine falls back to the same name as .ogg.
  const Wav w = ReadOgg("music.ogg");
  ASSERT_EQ(w.rate, 44100);
  ASSERT_EQ(w.channels, 2);
  EXPECT_NEAR(w.Seconds(), 32.0, 0.01);
  // Small enough to download with the game, and not a WAV in disguise.
  EXPECT_LT(std::filesystem::file_size(kFiles + "music.ogg"), 800u * 1024);
  const float peak = Peak(w.samples);
  EXPECT_GT(peak, 0.3f);
  EXPECT_LT(peak, 0.95f);
  // The game restarts the track from the top: it must end in silence and start from it.
  const size_t frame = size_t(w.channels);
  const size_t tenMs = size_t(w.rate / 100) * frame;
  EXPECT_LT(Peak(w.samples, 0, frame), 0.002f);
  EXPECT_LT(Peak(w.samples, 0, tenMs / 10), 0.1f);
  EXPECT_LT(Peak(w.samples, w.samples.size() - tenMs), 0.01f);
  EXPECT_LT(Peak(w.samples, w.samples.size() - frame), 0.002f);
  // And it plays all the way through: no silent stretch of a second in its first 30 seconds.
  const size_t second = size_t(w.rate) * frame;
  for (size_t at = 0; at + second <= 30 * second; at += second / 2)
    EXPECT_GT(Peak(w.samples, at, at + second), 0.05f) << "silence at " << at / second << " s";
}

TEST(Assets, GeneratorIsDeterministic) {
  // A second run into a scratch folder gives the same bytes as the build's own run.
  const auto scratch =
      std::filesystem::temp_directory_path() / ("swayfire-assets-" + std::to_string(::getpid()));
  const std::string command = std::string("\"") + SWAYFIRE_BUILD_DIR + "/swayfire-assetgen\" \"" +
                              scratch.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* name : {"ai_10.bmp", "font_default.dds", "keys-fire.dds", "logo.jpg",
                           "hit_03.wav", "ai_die.wav", "music.ogg", "background.bmp"}) {
    EXPECT_EQ(ReadAll(kFiles + name), ReadAll((scratch / name).string())) << name;
  }
  std::filesystem::remove_all(scratch);
}
