#include "io/dds.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

void Put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

struct Header {
  uint32_t width = 4;
  uint32_t height = 4;
  uint32_t flags = 0x1007;  // caps, height, width, pixel format
  uint32_t pitch = 0;
  uint32_t formatFlags = 0x4;  // FourCC
  const char* fourCc = "DXT1";
  uint32_t bitCount = 0;
  uint32_t masks[4] = {0, 0, 0, 0};
};

std::vector<uint8_t> MakeDds(const Header& h, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> bytes(128, 0);
  std::memcpy(bytes.data(), "DDS ", 4);
  Put32(bytes, 4, 124);
  Put32(bytes, 8, h.flags);
  Put32(bytes, 12, h.height);
  Put32(bytes, 16, h.width);
  Put32(bytes, 20, h.pitch);
  Put32(bytes, 76, 32);
  Put32(bytes, 80, h.formatFlags);
  std::memcpy(bytes.data() + 84, h.fourCc, 4);
  Put32(bytes, 88, h.bitCount);
  for (int i = 0; i < 4; ++i) Put32(bytes, 92 + 4 * i, h.masks[i]);
  Put32(bytes, 108, 0x1000);  // a plain texture
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

std::array<uint8_t, 4> Pixel(const DdsImage& image, int x, int y) {
  const uint8_t* p = image.rgba.data() + (y * image.width + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

using Rgba = std::array<uint8_t, 4>;

// Colour half of a block: white and black end points, pixel p uses palette entry p % 4.
const std::vector<uint8_t> kWhiteBlackColors = {0xFF, 0xFF, 0x00, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};

bool Decode(const std::vector<uint8_t>& bytes, DdsImage& image, std::string& error) {
  return DecodeDds(bytes.data(), bytes.size(), image, error);
}

}  // namespace

TEST(Dds, Dxt1FourColorBlockInterpolatesTwoThirds) {
  // 0xE4 = indexes 0, 1, 2, 3 in every row.
  std::vector<uint8_t> bytes = MakeDds(Header{}, kWhiteBlackColors);
  DdsImage image;
  std::string error;
  ASSERT_TRUE(Decode(bytes, image, error)) << error;
  ASSERT_EQ(image.width, 4);
  ASSERT_EQ(image.height, 4);
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(Pixel(image, 0, y), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(Pixel(image, 1, y), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(Pixel(image, 2, y), (Rgba{170, 170, 170, 255}));
    EXPECT_EQ(Pixel(image, 3, y), (Rgba{85, 85, 85, 255}));
  }
}

TEST(Dds, Dxt1ThreeColorBlockHasTransparentBlack) {
  // First colour (pure blue 0x001F) not above the second (pure red 0xF800): three colours and a
  // transparent entry.
  DdsImage image;
  std::string error;
  ASSERT_TRUE(
      Decode(MakeDds(Header{}, {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4}), image, error))
      << error;
  EXPECT_EQ(Pixel(image, 0, 0), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(image, 1, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(Pixel(image, 2, 0), (Rgba{127, 0, 127, 255}));
  EXPECT_EQ(Pixel(image, 3, 0), (Rgba{0, 0, 0, 0}));
}

TEST(Dds, Dxt3ExplicitAlphaAndFourColorsAlways) {
  // Alpha nibbles 0..15 across the block; colour end points in "three colour" order, which DXT3
  // ignores.
  std::vector<uint8_t> block = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE,
                                0x00, 0x00, 0xFF, 0xFF, 0xE4, 0xE4, 0xE4, 0xE4};
  Header header;
  header.fourCc = "DXT3";
  DdsImage image;
  std::string error;
  ASSERT_TRUE(Decode(MakeDds(header, block), image, error)) << error;
  for (int p = 0; p < 16; ++p) EXPECT_EQ(Pixel(image, p % 4, p / 4)[3], p * 17) << p;
  EXPECT_EQ(Pixel(image, 0, 0)[0], 0);
  EXPECT_EQ(Pixel(image, 1, 0)[0], 255);
  EXPECT_EQ(Pixel(image, 2, 0)[0], 85);  // two thirds of black, one of white
  EXPECT_EQ(Pixel(image, 3, 0)[0], 170);
}

TEST(Dds, Dxt5EightAndSixStepAlpha) {
  Header header;
  header.fourCc = "DXT5";
  // Alpha 255 and 0 with the indexes 0..7 in the first eight pixels: 0b000 001 010 011 ...
  std::vector<uint8_t> block = {255, 0, 0x88, 0xC6, 0xFA, 0x00, 0x00, 0x00};
  block.insert(block.end(), kWhiteBlackColors.begin(), kWhiteBlackColors.end());
  DdsImage image;
  std::string error;
  ASSERT_TRUE(Decode(MakeDds(header, block), image, error)) << error;
  const int eight[8] = {255, 0, 218, 182, 145, 109, 72, 36};
  for (int p = 0; p < 8; ++p) EXPECT_EQ(Pixel(image, p % 4, p / 4)[3], eight[p]) << p;
  EXPECT_EQ(Pixel(image, 0, 2)[3], 255);  // index 0 for the rest

  // First end point not above the second: four steps between, then 0 and 255.
  block[0] = 0;
  block[1] = 100;
  ASSERT_TRUE(Decode(MakeDds(header, block), image, error)) << error;
  const int six[8] = {0, 100, 20, 40, 60, 80, 0, 255};
  for (int p = 0; p < 8; ++p) EXPECT_EQ(Pixel(image, p % 4, p / 4)[3], six[p]) << p;
}

TEST(Dds, CompressedPictureNotAMultipleOfFourKeepsItsSize) {
  // 5 x 3 pixels take 2 x 1 blocks; the second block is black, index 3: transparent.
  Header header;
  header.width = 5;
  header.height = 3;
  std::vector<uint8_t> data = kWhiteBlackColors;
  data.insert(data.end(), {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
  DdsImage image;
  std::string error;
  ASSERT_TRUE(Decode(MakeDds(header, data), image, error)) << error;
  EXPECT_EQ(image.width, 5);
  EXPECT_EQ(image.height, 3);
  ASSERT_EQ(image.rgba.size(), 5u * 3u * 4u);
  EXPECT_EQ(Pixel(image, 3, 2), (Rgba{85, 85, 85, 255}));
  EXPECT_EQ(Pixel(image, 4, 2), (Rgba{0, 0, 0, 0}));  // 0x0000 <= 0x0000: three-colour mode
}

TEST(Dds, Uncompressed32BitWithAlphaAndAnyMasks) {
  Header header;
  header.width = 2;
  header.height = 1;
  header.formatFlags = 0x41;  // RGB with alpha
  header.fourCc = "\0\0\0\0";
  header.bitCount = 32;
  // The usual B, G, R, A byte order.
  header.masks[0] = 0x00FF0000;
  header.masks[1] = 0x0000FF00;
  header.masks[2] = 0x000000FF;
  header.masks[3] = 0xFF000000;
  DdsImage image;
  std::string error;
  ASSERT_TRUE(Decode(MakeDds(header, {10, 20, 30, 40, 1, 2, 3, 255}), image, error)) << error;
  EXPECT_EQ(Pixel(image, 0, 0), (Rgba{30, 20, 10, 40}));
  EXPECT_EQ(Pixel(image, 1, 0), (Rgba{3, 2, 1, 255}));

  // Without the alpha flag the alpha mask is ignored and the picture is opaque.
  header.formatFlags = 0x40;
  ASSERT_TRUE(Decode(MakeDds(header, {10, 20, 30, 40, 1, 2, 3, 255}), image, error)) << error;
  EXPECT_EQ(Pixel(image, 0, 0), (Rgba{30, 20, 10, 255}));

  // Narrow channels widen to the full range: a 2-bit alpha of 3 is 255, of 1 is 85.
  header.formatFlags = 0x41;
  header.masks[0] = 0x3FF00000;
  header.masks[1] = 0x000FFC00;
  header.masks[2] = 0x000003FF;
  header.masks[3] = 0xC0000000;
  ASSERT_TRUE(
      Decode(MakeDds(header, {0xFF, 0x03, 0x00, 0xC0, 0x00, 0x00, 0xF0, 0x7F}), image, error))
      << error;
  EXPECT_EQ(Pixel(image, 0, 0), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(Pixel(image, 1, 0), (Rgba{255, 0, 0, 85}));
}

TEST(Dds, Uncompressed24BitHonoursARowPitch) {
  Header header;
  header.width = 1;
  header.height = 2;
  header.flags |= 0x8;
  header.pitch = 4;  // three bytes of pixel, one of padding
  header.formatFlags = 0x40;
  header.fourCc = "\0\0\0\0";
  header.bitCount = 24;
  header.masks[0] = 0xFF0000;
  header.masks[1] = 0x00FF00;
  header.masks[2] = 0x0000FF;
  DdsImage image;
  std::string error;
  // The last row needs no padding after it.
  ASSERT_TRUE(Decode(MakeDds(header, {1, 2, 3, 99, 4, 5, 6}), image, error)) << error;
  EXPECT_EQ(Pixel(image, 0, 0), (Rgba{3, 2, 1, 255}));
  EXPECT_EQ(Pixel(image, 0, 1), (Rgba{6, 5, 4, 255}));

  header.pitch = 2;  // shorter than a row
  EXPECT_FALSE(Decode(MakeDds(header, {1, 2, 3, 99, 4, 5, 6}), image, error));
  EXPECT_NE(error.find("pitch"), std::string::npos) << error;
}

TEST(Dds, DamagedFilesAreRefusedWithAReason) {
  DdsImage image;
  std::string error;
  const std::vector<uint8_t> good = MakeDds(Header{}, kWhiteBlackColors);

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* reason;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}, "signature"});
  cases.push_back({"wrong magic", good, "signature"});
  cases.back().bytes[0] = 'X';
  cases.push_back({"header cut short", std::vector<uint8_t>(good.begin(), good.begin() + 100),
                   "header is truncated"});
  cases.push_back(
      {"data cut short", std::vector<uint8_t>(good.begin(), good.end() - 1), "truncated"});
  cases.push_back({"header size", good, "header size"});
  Put32(cases.back().bytes, 4, 200);
  cases.push_back({"pixel format size", good, "pixel format size"});
  Put32(cases.back().bytes, 76, 0);
  cases.push_back({"zero width", good, "picture size"});
  Put32(cases.back().bytes, 16, 0);
  cases.push_back({"huge size", good, "picture size"});
  Put32(cases.back().bytes, 12, 0xFFFFFFFF);
  Put32(cases.back().bytes, 16, 0xFFFFFFFF);
  cases.push_back({"large size, little data", good, "truncated"});
  Put32(cases.back().bytes, 12, 16384);
  Put32(cases.back().bytes, 16, 16384);
  cases.push_back({"unknown compression", good, "unsupported compression"});
  std::memcpy(cases.back().bytes.data() + 84, "ATI2", 4);
  cases.push_back({"cube map", good, "cube"});
  Put32(cases.back().bytes, 112, 0x200);
  cases.push_back({"no format", good, "pixel format"});
  Put32(cases.back().bytes, 80, 0);

  Header rgb;
  rgb.width = 1;
  rgb.height = 1;
  rgb.formatFlags = 0x40;
  rgb.fourCc = "\0\0\0\0";
  rgb.bitCount = 16;
  cases.push_back({"16-bit pixels", MakeDds(rgb, {0, 0, 0, 0}), "pixel size"});
  rgb.bitCount = 24;
  rgb.masks[0] = 0xF0F000;
  cases.push_back({"broken mask", MakeDds(rgb, {0, 0, 0, 0}), "one run"});
  rgb.masks[0] = 0xFF000000;
  cases.push_back({"mask outside the pixel", MakeDds(rgb, {0, 0, 0, 0}), "outside"});

  for (const Case& c : cases) {
    error.clear();
    EXPECT_FALSE(DecodeDds(c.bytes.data(), c.bytes.size(), image, error)) << c.what;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(image.rgba.empty()) << c.what;
  }
}

// The fuzzer's seeds decode, and inputs it once found troublesome (kept in
// fuzz/crashes/dds) never trouble the reader again.
TEST(Dds, FuzzSeedsAndFindingsDecodeSafely) {
  const std::filesystem::path fuzz = std::filesystem::path(SWAYFIRE_SOURCE_DIR) / "fuzz";
  int seeds = 0;
  for (const char* folder : {"corpus/dds", "crashes/dds"}) {
    if (!std::filesystem::exists(fuzz / folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(fuzz / folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
      DdsImage image;
      std::string error;
      const bool decoded = DecodeDds(bytes.data(), bytes.size(), image, error);
      if (std::string(folder) == "corpus/dds") {
        EXPECT_TRUE(decoded) << entry.path() << ": " << error;
        ++seeds;
      }
      if (decoded) {
        EXPECT_EQ(image.rgba.size(), static_cast<size_t>(image.width) * image.height * 4);
      } else {
        EXPECT_FALSE(error.empty()) << entry.path();
      }
    }
  }
  EXPECT_GE(seeds, 5);
}
