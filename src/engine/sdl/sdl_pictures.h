// Pictures from files (.bmp, .jpg, .dds and whatever else SDL2_image reads) and the textures made
// from them.
#pragma once

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/common/bitmap_font.h"
#include "engine/common/sprite_geometry.h"
#include "engine/engine.h"

// Decodes the picture at `path` into a 32-bit RGBA surface (caller frees it). Pixels of the
// colour key (0xRRGGBB, 0 = none) become fully transparent. Returns nullptr with a reason in
// `error` when the file is missing or cannot be decoded.
SDL_Surface* LoadPicture(const std::string& path, int32_t colorKey, std::string& error);

// A texture of the SDL renderer. It may outlive the renderer (after a fatal error, or when the
// window was closed during loading): `life` then has expired and the renderer has already freed
// the texture, so it is not freed twice.
struct SdlTexture : TextureData {
  using TextureData::TextureData;
  ~SdlTexture() override;

  SDL_Texture* texture = nullptr;  // nullptr when there was no renderer to hold it
  int width = 0;
  int height = 0;
  std::weak_ptr<void> life;
  BitmapFont font;  // the glyph layout, should the picture serve as a bitmap-font atlas
};
