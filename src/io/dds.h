// Our own reader of DirectDraw Surface pictures: uncompressed 24- and 32-bit RGB(A) with any
// channel masks, and the block-compressed DXT1 (with 1-bit alpha), DXT3 and DXT5. Only the first
// image (the top mipmap level) is read. Every field is checked before it is used: a damaged or
// hostile file gives an error message, never a crash or a read past the end of the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DdsImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // width * height pixels, 4 bytes each (R, G, B, A), rows top down
};

// The largest width or height accepted; larger pictures are refused as damaged.
inline constexpr uint32_t kDdsMaxDimension = 16384;

// Decodes a whole .dds file held in memory. Returns false with a reason in `error` when the data
// is not a picture this reader understands.
bool DecodeDds(const uint8_t* data, size_t size, DdsImage& image, std::string& error);

// Decodes one 4 x 4 block into 16 RGBA pixels (64 bytes, row by row). `block` holds 8 bytes for
// DXT1 and 16 for DXT3 and DXT5.
void DecodeDxt1Block(const uint8_t* block, uint8_t* pixels);
void DecodeDxt3Block(const uint8_t* block, uint8_t* pixels);
void DecodeDxt5Block(const uint8_t* block, uint8_t* pixels);
