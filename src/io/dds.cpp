#include "io/dds.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr size_t kMagicSize = 4;
constexpr size_t kHeaderSize = 124;
constexpr size_t kPixelFormatSize = 32;
constexpr size_t kDataOffset = kMagicSize + kHeaderSize;

// Header fields, as offsets from the start of the file.
constexpr size_t kFlags = 8;
constexpr size_t kHeight = 12;
constexpr size_t kWidth = 16;
constexpr size_t kPitch = 20;
constexpr size_t kFormatSize = 76;
constexpr size_t kFormatFlags = 80;
constexpr size_t kFourCc = 84;
constexpr size_t kBitCount = 88;
constexpr size_t kRedMask = 92;
constexpr size_t kGreenMask = 96;
constexpr size_t kBlueMask = 100;
constexpr size_t kAlphaMask = 104;
constexpr size_t kCaps2 = 112;

constexpr uint32_t kFlagPitch = 0x8;
constexpr uint32_t kFormatAlphaPixels = 0x1;
constexpr uint32_t kFormatFourCc = 0x4;
constexpr uint32_t kFormatRgb = 0x40;
constexpr uint32_t kCaps2Cubemap = 0x200;
constexpr uint32_t kCaps2Volume = 0x200000;

uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

constexpr uint32_t FourCc(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
         (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

std::string FourCcText(uint32_t code) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    char c = static_cast<char>((code >> (8 * i)) & 0xFF);
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

// --- Block decoding ---------------------------------------------------------------------------

struct Rgb {
  uint8_t r, g, b;
};

Rgb Expand565(uint16_t c) {
  uint8_t r = static_cast<uint8_t>((c >> 11) & 31);
  uint8_t g = static_cast<uint8_t>((c >> 5) & 63);
  uint8_t b = static_cast<uint8_t>(c & 31);
  return {static_cast<uint8_t>((r << 3) | (r >> 2)), static_cast<uint8_t>((g << 2) | (g >> 4)),
          static_cast<uint8_t>((b << 3) | (b >> 2))};
}

uint8_t Mix(int a, int b, int weightA, int weightB, int total) {
  return static_cast<uint8_t>((a * weightA + b * weightB) / total);
}

// The colour half of a block. DXT1 blocks whose first colour is not above the second have three
// colours and a transparent black; DXT3 and DXT5 always use four colours.
void DecodeColors(const uint8_t* block, uint8_t* pixels, bool allowTransparent) {
  uint16_t c0 = Read16(block);
  uint16_t c1 = Read16(block + 2);
  Rgb a = Expand565(c0);
  Rgb b = Expand565(c1);
  uint8_t palette[4][4] = {{a.r, a.g, a.b, 255}, {b.r, b.g, b.b, 255}, {}, {}};
  if (c0 > c1 || !allowTransparent) {
    for (int i = 0; i < 3; ++i) {
      palette[2][i] = Mix(palette[0][i], palette[1][i], 2, 1, 3);
      palette[3][i] = Mix(palette[0][i], palette[1][i], 1, 2, 3);
    }
    palette[2][3] = palette[3][3] = 255;
  } else {
    for (int i = 0; i < 3; ++i) palette[2][i] = Mix(palette[0][i], palette[1][i], 1, 1, 2);
    palette[2][3] = 255;
    // palette[3] stays transparent black.
  }
  uint32_t indexes = Read32(block + 4);
  for (int p = 0; p < 16; ++p) {
    std::memcpy(pixels + 4 * p, palette[(indexes >> (2 * p)) & 3], 4);
  }
}

// --- Uncompressed pixels -------------------------------------------------------------------------

// One colour channel of an uncompressed pixel: where its bits sit and how to widen them to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;  // largest value of the channel's bits

  uint8_t Extract(uint32_t pixel, uint8_t missing) const {
    if (mask == 0) return missing;
    uint64_t value = (pixel & mask) >> shift;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
  }
};

bool MakeChannel(uint32_t mask, uint32_t bitCount, const char* name, Channel& channel,
                 std::string& error) {
  channel = Channel{};
  if (mask == 0) return true;
  if (bitCount < 32 && (mask >> bitCount) != 0) {
    error = std::string("the ") + name + " mask lies outside the pixel";
    return false;
  }
  int shift = std::countr_zero(mask);
  uint32_t bits = mask >> shift;
  if ((bits & (bits + 1)) != 0) {
    error = std::string("the ") + name + " mask is not one run of bits";
    return false;
  }
  channel.mask = mask;
  channel.shift = shift;
  channel.max = bits;
  return true;
}

// Whether the data after the header holds the `needed` bytes of `what` ("pixel data", ...);
// when not, `error` says how much is there.
bool DataHolds(size_t size, uint64_t needed, const char* what, std::string& error) {
  if (needed <= size - kDataOffset) return true;
  error = std::string("the ") + what + " is truncated (" + std::to_string(size - kDataOffset) +
          " of " + std::to_string(needed) + " bytes)";
  return false;
}

bool DecodeUncompressed(const uint8_t* data, size_t size, uint32_t width, uint32_t height,
                        DdsImage& image, std::string& error) {
  uint32_t bitCount = Read32(data + kBitCount);
  if (bitCount != 24 && bitCount != 32) {
    error = "unsupported pixel size of " + std::to_string(bitCount) + " bits (24 or 32 expected)";
    return false;
  }
  const bool hasAlpha = (Read32(data + kFormatFlags) & kFormatAlphaPixels) != 0;
  Channel red, green, blue, alpha;
  if (!MakeChannel(Read32(data + kRedMask), bitCount, "red", red, error) ||
      !MakeChannel(Read32(data + kGreenMask), bitCount, "green", green, error) ||
      !MakeChannel(Read32(data + kBlueMask), bitCount, "blue", blue, error) ||
      !MakeChannel(hasAlpha ? Read32(data + kAlphaMask) : 0, bitCount, "alpha", alpha, error)) {
    return false;
  }

  const uint64_t bytesPerPixel = bitCount / 8;
  const uint64_t rowBytes = bytesPerPixel * width;
  uint64_t pitch = rowBytes;
  if ((Read32(data + kFlags) & kFlagPitch) != 0) {
    uint64_t declared = Read32(data + kPitch);
    if (declared < rowBytes) {
      error = "the row pitch " + std::to_string(declared) + " is shorter than a row of " +
              std::to_string(rowBytes) + " bytes";
      return false;
    }
    pitch = declared;
  }
  // The last row needs only its own pixels, not the padding after them.
  const uint64_t needed = pitch * (height - 1) + rowBytes;
  if (!DataHolds(size, needed, "pixel data", error)) return false;

  image.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
  const uint8_t* pixels = data + kDataOffset;
  uint8_t* out = image.rgba.data();
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = pixels + pitch * y;
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + bytesPerPixel * x;
      uint32_t value = p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
      if (bytesPerPixel == 4) value |= static_cast<uint32_t>(p[3]) << 24;
      out[0] = red.Extract(value, 0);
      out[1] = green.Extract(value, 0);
      out[2] = blue.Extract(value, 0);
      out[3] = alpha.Extract(value, 255);
      out += 4;
    }
  }
  return true;
}

// --- Compressed pixels ---------------------------------------------------------------------------

bool DecodeCompressed(const uint8_t* data, size_t size, uint32_t width, uint32_t height,
                      uint32_t fourCc, DdsImage& image, std::string& error) {
  void (*decodeBlock)(const uint8_t*, uint8_t*) = nullptr;
  uint64_t blockBytes = 16;
  if (fourCc == FourCc('D', 'X', 'T', '1')) {
    decodeBlock = DecodeDxt1Block;
    blockBytes = 8;
  } else if (fourCc == FourCc('D', 'X', 'T', '3')) {
    decodeBlock = DecodeDxt3Block;
  } else if (fourCc == FourCc('D', 'X', 'T', '5')) {
    decodeBlock = DecodeDxt5Block;
  } else {
    error = "unsupported compression \"" + FourCcText(fourCc) + "\" (DXT1, DXT3 or DXT5 expected)";
    return false;
  }

  const uint64_t blocksWide = (static_cast<uint64_t>(width) + 3) / 4;
  const uint64_t blocksHigh = (static_cast<uint64_t>(height) + 3) / 4;
  const uint64_t needed = blocksWide * blocksHigh * blockBytes;
  if (!DataHolds(size, needed, "compressed data", error)) return false;

  image.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
  const uint8_t* block = data + kDataOffset;
  uint8_t decoded[64];
  for (uint64_t by = 0; by < blocksHigh; ++by) {
    for (uint64_t bx = 0; bx < blocksWide; ++bx, block += blockBytes) {
      decodeBlock(block, decoded);
      // Blocks at the right and bottom edges may reach past the picture; those pixels are dropped.
      for (uint64_t row = 0; row < 4; ++row) {
        uint64_t y = by * 4 + row;
        if (y >= height) break;
        uint64_t x = bx * 4;
        uint64_t count = std::min<uint64_t>(4, width - x);
        std::memcpy(image.rgba.data() + (y * width + x) * 4, decoded + row * 16, count * 4);
      }
    }
  }
  return true;
}

}  // namespace

void DecodeDxt1Block(const uint8_t* block, uint8_t* pixels) {
  DecodeColors(block, pixels, true);
}

void DecodeDxt3Block(const uint8_t* block, uint8_t* pixels) {
  DecodeColors(block + 8, pixels, false);
  // Explicit alpha: four bits a pixel, widened to eight.
  for (int p = 0; p < 16; ++p) {
    uint8_t nibble = static_cast<uint8_t>((block[p / 2] >> (4 * (p % 2))) & 15);
    pixels[4 * p + 3] = static_cast<uint8_t>(nibble * 17);
  }
}

void DecodeDxt5Block(const uint8_t* block, uint8_t* pixels) {
  DecodeColors(block + 8, pixels, false);
  // Interpolated alpha: two end points and a three-bit index a pixel.
  const int a0 = block[0];
  const int a1 = block[1];
  uint8_t alphas[8] = {static_cast<uint8_t>(a0), static_cast<uint8_t>(a1)};
  if (a0 > a1) {
    for (int i = 1; i < 7; ++i) alphas[i + 1] = Mix(a0, a1, 7 - i, i, 7);
  } else {
    for (int i = 1; i < 5; ++i) alphas[i + 1] = Mix(a0, a1, 5 - i, i, 5);
    alphas[6] = 0;
    alphas[7] = 255;
  }
  uint64_t indexes = 0;
  for (int i = 0; i < 6; ++i) indexes |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
  for (int p = 0; p < 16; ++p) pixels[4 * p + 3] = alphas[(indexes >> (3 * p)) & 7];
}

bool DecodeDds(const uint8_t* data, size_t size, DdsImage& image, std::string& error) {
  image = DdsImage{};
  if (data == nullptr || size < kMagicSize || std::memcmp(data, "DDS ", 4) != 0) {
    error = "not a DDS file (no \"DDS \" signature)";
    return false;
  }
  if (size < kDataOffset) {
    error = "the header is truncated (" + std::to_string(size) + " of " +
            std::to_string(kDataOffset) + " bytes)";
    return false;
  }
  if (Read32(data + kMagicSize) != kHeaderSize) {
    error = "the header size is " + std::to_string(Read32(data + kMagicSize)) + ", not 124";
    return false;
  }
  if (Read32(data + kFormatSize) != kPixelFormatSize) {
    error = "the pixel format size is " + std::to_string(Read32(data + kFormatSize)) + ", not 32";
    return false;
  }
  const uint32_t width = Read32(data + kWidth);
  const uint32_t height = Read32(data + kHeight);
  if (width == 0 || height == 0 || width > kDdsMaxDimension || height > kDdsMaxDimension) {
    error = "unsupported picture size " + std::to_string(width) + " x " + std::to_string(height);
    return false;
  }
  if ((Read32(data + kCaps2) & (kCaps2Cubemap | kCaps2Volume)) != 0) {
    error = "cube maps and volume textures are not supported";
    return false;
  }

  const uint32_t formatFlags = Read32(data + kFormatFlags);
  const uint32_t fourCc = Read32(data + kFourCc);
  const bool compressed = (formatFlags & kFormatFourCc) != 0;
  if (!compressed && (formatFlags & kFormatRgb) == 0) {
    error = "unsupported pixel format (neither RGB nor DXT compressed)";
    return false;
  }

  DdsImage decoded;
  decoded.width = static_cast<int>(width);
  decoded.height = static_cast<int>(height);
  bool ok = compressed ? DecodeCompressed(data, size, width, height, fourCc, decoded, error)
                       : DecodeUncompressed(data, size, width, height, decoded, error);
  if (!ok) return false;
  image = std::move(decoded);
  return true;
}
