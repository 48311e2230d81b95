#include "engine/sdl/sdl_pictures.h"

#include <SDL_image.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "engine/common/data_files.h"
#include "io/dds.h"
#include "io/paths.h"

namespace {

SDL_Surface* LoadDds(const std::string& path, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, error)) return nullptr;
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

}  // namespace

SDL_Surface* LoadPicture(const std::string& path, int32_t colorKey, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(FilePath(path), ec)) {
    error = std::filesystem::exists(FilePath(path), ec) ? "not a file" : "file not found";
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
  if (colorKey != 0) {
    ApplyColorKey(static_cast<uint8_t*>(rgba->pixels), rgba->w, rgba->h,
                  static_cast<size_t>(rgba->pitch), colorKey);
  }
  return rgba;
}

SdlTexture::~SdlTexture() {
  if (texture != nullptr && !life.expired()) SDL_DestroyTexture(texture);
}
