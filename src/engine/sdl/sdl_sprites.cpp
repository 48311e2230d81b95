// Pictures on the frame: loading, sprites with tint, opacity, stretching and rotation, and text
// from the bitmap-font atlas.
#include <algorithm>
#include <cmath>

#include "engine/common/sprite_geometry.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_pictures.h"

void SdlEngine::LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) {
  const std::string path = paths_.ResolveData(file);
  std::string error;
  SDL_Surface* surface = LoadPicture(path, colorKey, error);
  if (surface == nullptr) {
    throw EngineError("cannot load the picture \"" + path + "\": " + error);
  }
  auto loaded = std::make_shared<SdlTexture>(file);
  loaded->width = surface->w;
  loaded->height = surface->h;
  loaded->font = MeasureBitmapFont(static_cast<const uint8_t*>(surface->pixels), surface->w,
                                   surface->h, surface->pitch);
  if (renderer_ != nullptr) {
    loaded->texture = SDL_CreateTextureFromSurface(renderer_, surface);
    if (loaded->texture == nullptr) {
      error = SDL_GetError();
      SDL_FreeSurface(surface);
      throw EngineError("cannot make a texture of \"" + path + "\": " + error);
    }
    SDL_SetTextureBlendMode(loaded->texture, SDL_BLENDMODE_BLEND);
    loaded->life = rendererLife_;
  }
  SDL_FreeSurface(surface);
  texture = std::move(loaded);
}

const SdlTexture* SdlEngine::Drawable(const Texture& texture) {
  auto* sdl = dynamic_cast<const SdlTexture*>(texture.get());
  if (sdl == nullptr || sdl->texture == nullptr || sdl->life.expired()) return nullptr;
  if (!BindFrame()) return nullptr;
  return sdl;
}

void SdlEngine::SetColor(int16_t red, int16_t green, int16_t blue) {
  tint_ = TintOf(red, green, blue);
}

void SdlEngine::DrawSprite(const Texture& texture, float x, float y, float width, float height,
                           float angle, int16_t opacity, float, float, float drawnWidth,
                           float drawnHeight, float, float) {
  // The region at the top-left corner, as much of it as the picture has; a part that is missing
  // shrinks the drawn size alike, so what exists keeps its scale.
  SpritePlacement place;
  const SdlTexture* sprite = PlaceSprite(
      x, y, width, height, opacity, drawnWidth, drawnHeight, [&] { return Drawable(texture); },
      place);
  if (sprite == nullptr) return;
  const float destWidth = place.drawnWidth, destHeight = place.drawnHeight;
  const SDL_Rect source = {0, 0, place.sourceWidth, place.sourceHeight};
  const SDL_FRect target = {x, y, destWidth * place.sourceWidth / width,
                            destHeight * place.sourceHeight / height};
  // Rotation turns the whole drawn rectangle about its centre.
  const SDL_FPoint centre = {destWidth / 2, destHeight / 2};

  SDL_SetTextureColorMod(sprite->texture, tint_[0], tint_[1], tint_[2]);
  SDL_SetTextureAlphaMod(sprite->texture, OpacityAlpha(opacity));
  SDL_RenderCopyExF(renderer_, sprite->texture, &source, &target,
                    std::isfinite(angle) ? angle : 0.0, &centre, SDL_FLIP_NONE);
}

void SdlEngine::DrawBitmapText(const Texture& fontTexture, const std::string& text, float x,
                               float y, float scale, float angle, int16_t opacity, float red,
                               float green, float blue) {
  // The string turns as one piece about its centre: each glyph's centre goes round the string's
  // centre, and the glyph itself turns by the same angle.
  TextPlacement place;
  const SdlTexture* atlas = PlaceText(
      text, x, y, scale, angle, opacity, [&] { return Drawable(fontTexture); }, place);
  if (atlas == nullptr) return;

  SDL_SetTextureColorMod(atlas->texture, TintChannel(red), TintChannel(green), TintChannel(blue));
  SDL_SetTextureAlphaMod(atlas->texture, OpacityAlpha(opacity));
  for (const PlacedGlyph& glyph : place.layout.glyphs) {
    double glyphX = 0, glyphY = 0;
    place.GlyphCentre(glyph, glyphX, glyphY);
    const SDL_Rect source = {glyph.srcX, glyph.srcY, glyph.srcWidth, glyph.srcHeight};
    const SDL_FRect target = {static_cast<float>(glyphX - glyph.width / 2.0),
                              static_cast<float>(glyphY - glyph.height / 2.0), glyph.width,
                              glyph.height};
    SDL_RenderCopyExF(renderer_, atlas->texture, &source, &target, place.degrees, nullptr,
                      SDL_FLIP_NONE);
  }
}
