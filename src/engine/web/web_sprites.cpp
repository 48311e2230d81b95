// Pictures on the frame: loading, sprites with tint, opacity, stretching and rotation, and text
// from the bitmap-font atlas, drawn as the desktop draws them.
#include <algorithm>
#include <cmath>

#include "engine/common/sprite_geometry.h"
#include "engine/web/web_engine.h"
#include "engine/web/web_pictures.h"

namespace {

// The corners of the rectangle at (x, y) of the given size turned by `degrees` (clockwise on the
// screen) about the point (centreX, centreY).
void TurnedCorners(double x, double y, double width, double height, double degrees, double centreX,
                   double centreY, GlFrame::Point corners[4]) {
  const Turn turn(degrees);
  const double xs[4] = {x, x + width, x + width, x};
  const double ys[4] = {y, y, y + height, y + height};
  for (int i = 0; i < 4; ++i) {
    double turnedX = 0, turnedY = 0;
    turn.Apply(xs[i], ys[i], centreX, centreY, turnedX, turnedY);
    corners[i] = {static_cast<float>(turnedX), static_cast<float>(turnedY)};
  }
}

}  // namespace

WebTexture::~WebTexture() {
  if (!life.expired()) GlFrame::DeleteTexture(texture);
}

void WebEngine::LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) {
  const std::string path = paths_.ResolveData(file);
  Picture picture;
  std::string error;
  if (!LoadPicture(path, colorKey, picture, error)) {
    throw EngineError("cannot load the picture \"" + path + "\": " + error);
  }
  auto loaded = std::make_shared<WebTexture>(file);
  loaded->width = picture.width;
  loaded->height = picture.height;
  loaded->font =
      MeasureBitmapFont(picture.rgba.data(), picture.width, picture.height, picture.width * 4);
  if (frame_.IsOpen()) {
    loaded->texture = frame_.CreateTexture(picture.rgba.data(), picture.width, picture.height);
    if (loaded->texture == 0) throw EngineError("cannot make a texture of \"" + path + "\"");
    loaded->life = frame_.Life();
  }
  texture = std::move(loaded);
}

const WebTexture* WebEngine::Drawable(const Texture& texture) const {
  auto* web = dynamic_cast<const WebTexture*>(texture.get());
  if (web == nullptr || web->texture == 0 || web->life.expired()) return nullptr;
  return web;
}

void WebEngine::SetColor(int16_t red, int16_t green, int16_t blue) {
  tint_ = TintOf(red, green, blue);
}

void WebEngine::DrawSprite(const Texture& texture, float x, float y, float width, float height,
                           float angle, int16_t opacity, float, float, float drawnWidth,
                           float drawnHeight, float, float) {
  // The region at the top-left corner, as much of it as the picture has; a part that is missing
  // shrinks the drawn size alike, so what exists keeps its scale.
  SpritePlacement place;
  const WebTexture* sprite = PlaceSprite(
      x, y, width, height, opacity, drawnWidth, drawnHeight, [&] { return Drawable(texture); },
      place);
  if (sprite == nullptr) return;
  const float destWidth = place.drawnWidth, destHeight = place.drawnHeight;
  const int sourceWidth = place.sourceWidth, sourceHeight = place.sourceHeight;
  const double targetWidth = static_cast<double>(destWidth) * sourceWidth / width;
  const double targetHeight = static_cast<double>(destHeight) * sourceHeight / height;
  // Rotation turns the whole drawn rectangle about its centre.
  GlFrame::Point corners[4];
  TurnedCorners(x, y, targetWidth, targetHeight, std::isfinite(angle) ? angle : 0.0,
                x + destWidth / 2.0, y + destHeight / 2.0, corners);
  frame_.Quad(sprite->texture, corners, 0, 0, static_cast<float>(sourceWidth) / sprite->width,
              static_cast<float>(sourceHeight) / sprite->height,
              {tint_[0], tint_[1], tint_[2], OpacityAlpha(opacity)});
}

void WebEngine::DrawBitmapText(const Texture& fontTexture, const std::string& text, float x,
                               float y, float scale, float angle, int16_t opacity, float red,
                               float green, float blue) {
  // The string turns as one piece about its centre: each glyph's centre goes round the string's
  // centre, and the glyph itself turns by the same angle.
  TextPlacement place;
  const WebTexture* atlas = PlaceText(
      text, x, y, scale, angle, opacity, [&] { return Drawable(fontTexture); }, place);
  if (atlas == nullptr) return;
  const GlFrame::Color colour = {TintChannel(red), TintChannel(green), TintChannel(blue),
                                 OpacityAlpha(opacity)};
  const float atlasWidth = static_cast<float>(atlas->width);
  const float atlasHeight = static_cast<float>(atlas->height);
  for (const PlacedGlyph& glyph : place.layout.glyphs) {
    double glyphCentreX = 0, glyphCentreY = 0;
    place.GlyphCentre(glyph, glyphCentreX, glyphCentreY);
    GlFrame::Point corners[4];
    TurnedCorners(glyphCentreX - glyph.width / 2.0, glyphCentreY - glyph.height / 2.0, glyph.width,
                  glyph.height, place.degrees, glyphCentreX, glyphCentreY, corners);
    frame_.Quad(atlas->texture, corners, glyph.srcX / atlasWidth, glyph.srcY / atlasHeight,
                (glyph.srcX + glyph.srcWidth) / atlasWidth,
                (glyph.srcY + glyph.srcHeight) / atlasHeight, colour);
  }
}
