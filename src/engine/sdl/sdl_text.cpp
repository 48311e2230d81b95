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
  auto render = [&](SDL_Texture*& texture, int& width, int& height) {
    const SDL_Color white = {255, 255, 255, 255};
    SDL_Surface* surface = text.find('\n') == std::string::npos
                               ? TTF_RenderUTF8_Blended(font, text.c_str(), white)
                               : TTF_RenderUTF8_Blended_Wrapped(font, text.c_str(), white, 0);
    if (surface == nullptr) return false;
    ++renders_;
    texture = SDL_CreateTextureFromSurface(renderer, surface);
    width = surface->w;
    height = surface->h;
    SDL_FreeSurface(surface);
    if (texture == nullptr) return false;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    return true;
  };
  return cache_.Lookup(fontName, text, render, SDL_DestroyTexture);
}

void SdlText::Draw(SDL_Renderer* renderer, const std::string& fontName, float x, float y,
                   float width, const std::string& text, int32_t color, int16_t alignment) {
  TextPaint paint;
  if (renderer == nullptr || !StartText(text, x, y, width, color, paint)) return;
  auto font = fonts_.find(fontName);
  if (font == fonts_.end()) return;
  const Entry* entry = Lookup(renderer, font->second, fontName, text);
  if (entry == nullptr) return;
  const TextPlace place = PlaceText(x, y, width, entry->width, entry->height, alignment);
  const SDL_FRect target = {place.left, place.top, place.width, place.height};
  SDL_SetTextureColorMod(entry->texture, paint.red, paint.green, paint.blue);
  SDL_SetTextureAlphaMod(entry->texture, paint.alpha);
  SDL_RenderCopyF(renderer, entry->texture, nullptr, &target);
}

void SdlText::ReleaseTextures() {
  cache_.Clear(SDL_DestroyTexture);
}

void SdlText::CloseFonts() {
  for (auto& [name, font] : fonts_) TTF_CloseFont(font);
  fonts_.clear();
}
