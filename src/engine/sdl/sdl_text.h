// TrueType text: faces found through fontconfig, sized as on a 96-dpi screen, rendered with
// SDL2_ttf. Rendered strings are kept in a small least-recently-used cache of white textures, so
// the heads-up display, which draws the same strings every frame, renders each of them once; the
// colour is applied when the texture is drawn.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>
#include <unordered_map>

#include "engine/common/string_textures.h"

// The font file for a face name: the face itself when fontconfig has it, else DejaVu Sans, else
// whatever fontconfig offers for the name; on Windows, DejaVu Sans beside the executable
// (sdl_font_file_windows.cpp). Returns "" when there is none at all.
std::string FindFontFile(const std::string& face, std::string* family = nullptr);

class SdlText {
 public:
  static constexpr size_t kCacheSize = StringTextures<SDL_Texture*>::kCapacity;

  SdlText() = default;
  SdlText(const SdlText&) = delete;
  SdlText& operator=(const SdlText&) = delete;
  ~SdlText();

  // Throws EngineError when no font file can be opened for the face.
  void CreateFont(const std::string& name, const std::string& face, int16_t size);
  void Draw(SDL_Renderer* renderer, const std::string& font, float x, float y, float width,
            const std::string& text, int32_t color, int16_t alignment);

  // Frees the cached textures (before the renderer goes) and, for CloseFonts, the fonts.
  void ReleaseTextures();
  void CloseFonts();

  size_t CachedStrings() const { return cache_.Size(); }
  size_t Renders() const { return renders_; }

 private:
  using Entry = StringTextures<SDL_Texture*>::Entry;
  const Entry* Lookup(SDL_Renderer* renderer, TTF_Font* font, const std::string& fontName,
                      const std::string& text);

  std::unordered_map<std::string, TTF_Font*> fonts_;
  StringTextures<SDL_Texture*> cache_;
  size_t renders_ = 0;
};
