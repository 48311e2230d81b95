#include "engine/sdl/sdl_text.h"

#include <cmath>
#include <utility>

#include "engine/engine.h"

namespace {

constexpr int kScreenDpi = 96;

}  // namespace

SdlText::~SdlText() {
  ReleaseTextures();
  CloseFonts();
}

void SdlText::CreateFont(const std::string& name, const std::string& face, int16_t size) {
  const std::string file = FindFontFile(face);
  if (file.empty()) throw EngineError("cannot find a font for \"" + face + "\" (fontconfig)");
  // Sizes are points on a 96-dpi screen, as the game was made for.
  TTF_Font* font = TTF_OpenFontDPI(file.c_str(), size > 0 ? size : 1, kScreenDpi, kScreenDpi);
  if (font == nullptr) {
    throw EngineError("cannot open the font \"" + file + "\" for \"" + face +
                      "\": " + TTF_GetError());
  }
  auto [it, added] = fonts_.emplace(name, font);
  if (!added) {
    TTF_CloseFont(it->second);
    it->second = font;
    ReleaseTextures();  // strings of the old font under that name
  }
}

const SdlText::Entry* SdlText::Lookup(SDL_Renderer* renderer, TTF_Font* font,
                                      const std::string& fontName, const std::string& text) {
  std::string key = cache_.Key(fontName, text);
  if (const Entry* cached = cache_.Find(key)) return cached;

  const SDL_Color white = {255, 255, 255, 255};
  SDL_Surface* surface = text.find('\n') == std::string::npos
                             ? TTF_RenderUTF8_Blended(font, text.c_str(), white)
                             : TTF_RenderUTF8_Blended_Wrapped(font, text.c_str(), white, 0);
  if (surface == nullptr) return nullptr;
  ++renders_;
  SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
  const int width = surface->w, height = surface->h;
  SDL_FreeSurface(surface);
  if (texture == nullptr) return nullptr;
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);

  return cache_.Add(std::move(key), texture, width, height, SDL_DestroyTexture);
}

void SdlText::Draw(SDL_Renderer* renderer, const std::string& fontName, float x, float y,
                   float width, const std::string& text, int32_t color, int16_t alignment) {
  const auto argb = static_cast<uint32_t>(color);
  const Uint8 alpha = static_cast<Uint8>(argb >> 24);
  if (renderer == nullptr || text.empty() || alpha == 0) return;
  auto font = fonts_.find(fontName);
  if (font == fonts_.end()) return;
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(width)) return;

  const Entry* entry = Lookup(renderer, font->second, fontName, text);
  if (entry == nullptr) return;
  SDL_FRect target = {AlignedLeft(x, width, entry->width, alignment), std::round(y),
                      static_cast<float>(entry->width), static_cast<float>(entry->height)};
  SDL_SetTextureColorMod(entry->texture, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  SDL_SetTextureAlphaMod(entry->texture, alpha);
  SDL_RenderCopyF(renderer, entry->texture, nullptr, &target);
}

void SdlText::ReleaseTextures() {
  cache_.Clear(SDL_DestroyTexture);
}

void SdlText::CloseFonts() {
  for (auto& [name, font] : fonts_) TTF_CloseFont(font);
  fonts_.clear();
}
