#include "engine/sdl/sdl_pictures.h"

#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "io/dds.h"

namespace {

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

SDL_Surface* LoadDds(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return nullptr;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  DdsImage image;
  if (!DecodeDds(bytes.data(), bytes.size(), image, error)) return nullptr;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 32, SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) {
    error = SDL_GetError();
    return nullptr;
  }
  const size_t row = static_cast<size_t>(image.width) * 4;
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                image.rgba.data() + y * row, row);
  }
  return surface;
}

void ApplyColorKey(SDL_Surface* surface, int32_t colorKey) {
  const auto key = static_cast<uint32_t>(colorKey);
  const uint8_t r = (key >> 16) & 0xFF, g = (key >> 8) & 0xFF, b = key & 0xFF;
  for (int y = 0; y < surface->h; ++y) {
    uint8_t* p = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch;
    for (int x = 0; x < surface->w; ++x, p += 4) {
      if (p[0] == r && p[1] == g && p[2] == b) p[3] = 0;
    }
  }
}

}  // namespace

SDL_Surface* LoadPicture(const std::string& path, int32_t colorKey, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = std::filesystem::exists(path, ec) ? "not a file" : "file not found";
    return nullptr;
  }
  const std::string extension = LowerExtension(path);
  SDL_Surface* loaded = nullptr;
  if (extension == ".dds") {
    loaded = LoadDds(path, error);
  } else {
    // 32-bit BMPs keep their alpha; everything else goes through SDL2_image.
    loaded = extension == ".bmp" ? SDL_LoadBMP(path.c_str()) : IMG_Load(path.c_str());
    if (loaded == nullptr) error = SDL_GetError();
  }
  if (loaded == nullptr) return nullptr;

  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  if (rgba == nullptr) {
    error = SDL_GetError();
    return nullptr;
  }
  if (colorKey != 0) ApplyColorKey(rgba, colorKey);
  return rgba;
}

SdlTexture::~SdlTexture() {
  if (texture != nullptr && !life.expired()) SDL_DestroyTexture(texture);
}
