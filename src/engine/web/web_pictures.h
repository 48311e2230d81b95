// Pictures from files: BMP, JPEG and PNG through stb_image, DDS through our own reader, as RGBA
// pixels ready for a texture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // 4 bytes a pixel, rows top down
};

// Decodes the picture at `path`. Pixels of the colour key (0xRRGGBB, 0 = none) become fully
// transparent. False, with a reason in `error`, when the file is missing or cannot be decoded.
bool LoadPicture(const std::string& path, int32_t colorKey, Picture& picture, std::string& error);
