#include "bare_frame.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>

#include "engine/common/bitmap_font.h"
#include "engine/sdl/sdl_pictures.h"
#include "engine/sdl/sdl_text.h"

namespace {

Uint8 Channel(float value) {
  if (!(value > 0)) return 0;
  return static_cast<Uint8>(std::lround(std::min(value, 255.0f)));
}

Uint8 Alpha(int opacity) {
  return static_cast<Uint8>((std::clamp(opacity, 0, 100) * 255 + 50) / 100);
}

}  // namespace

SdlStage::SdlStage(const std::string& probeFile) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_RENDER_DRIVER", "software", 1);
  setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  system = std::make_unique<SdlSystem>();
  if (!system->Ok()) {
    problem = "no offscreen video: " + system->Error();
    return;
  }
  // The generated files/ lie in the build folder, one above the benchmark.
  folder = ExecutableFolder() + "/..";
  if (!std::filesystem::exists(folder + "/files/" + probeFile)) {
    problem = "no generated files in " + folder + "/files (build the game first)";
    return;
  }
  paths = std::make_unique<Paths>(folder);
  window = std::make_unique<SdlWindow>();
  audio = std::make_unique<SdlAudio>();
  sdl = std::make_unique<SdlEngine>(*window, *audio, *paths);
  music = std::make_unique<SdlMusicPlayer>(*audio, *paths);
  platform = std::make_unique<SdlPlatform>(*window, *audio);
  utility = std::make_unique<IniUtility>(*paths);
  engine = std::make_unique<FlushingEngine>(*sdl);
}

void SdlStage::Initialize() {
  engine->Initialize(platform->MainWindow(), folder, 640, 480, false, 0, 0, -1);
  renderer = SDL_GetRenderer(window->Get());
  engine->renderer = renderer;
}

void CapturingEngine::DrawSprite(const Texture& texture, float x, float y, float width,
                                 float height, float angle, int16_t opacity, float, float,
                                 float drawnWidth, float drawnHeight, float, float) {
  EngineCall call;
  call.kind = EngineCall::Kind::Sprite;
  call.texture = texture;
  call.x = x;
  call.y = y;
  call.width = width;
  call.height = height;
  call.angle = angle;
  call.opacity = opacity;
  call.drawnWidth = drawnWidth;
  call.drawnHeight = drawnHeight;
  calls.push_back(call);
}

void CapturingEngine::DrawBitmapText(const Texture& fontTexture, const std::string& text, float x,
                                     float y, float scale, float angle, int16_t opacity, float red,
                                     float green, float blue) {
  EngineCall call;
  call.kind = EngineCall::Kind::Glyphs;
  call.texture = fontTexture;
  call.text = text;
  call.x = x;
  call.y = y;
  call.scale = scale;
  call.angle = angle;
  call.opacity = opacity;
  call.red = red;
  call.green = green;
  call.blue = blue;
  calls.push_back(call);
}

void CapturingEngine::SetColor(int16_t red, int16_t green, int16_t blue) {
  EngineCall call;
  call.kind = EngineCall::Kind::Color;
  call.red = red;
  call.green = green;
  call.blue = blue;
  calls.push_back(call);
}

void CapturingEngine::DrawText(const std::string& font, float x, float y, float width, float height,
                               const std::string& text, int32_t color, int16_t alignment) {
  EngineCall call;
  call.kind = EngineCall::Kind::Text;
  call.font = font;
  call.x = x;
  call.y = y;
  call.width = width;
  call.height = height;
  call.text = text;
  call.color = color;
  call.alignment = alignment;
  calls.push_back(call);
}

BareFrame::BareFrame(SDL_Renderer* renderer, const std::vector<EngineCall>& calls,
                     const std::map<std::string, std::pair<std::string, int>>& faces)
    : renderer_(renderer) {
  for (const auto& [name, face] : faces) {
    fonts_[name] = TTF_OpenFontDPI(FindFontFile(face.first).c_str(), face.second, 96, 96);
  }
  Uint8 tint[3] = {255, 255, 255};
  for (const EngineCall& call : calls) {
    switch (call.kind) {
      case EngineCall::Kind::Color:
        tint[0] = static_cast<Uint8>(std::clamp(static_cast<int>(call.red), 0, 255));
        tint[1] = static_cast<Uint8>(std::clamp(static_cast<int>(call.green), 0, 255));
        tint[2] = static_cast<Uint8>(std::clamp(static_cast<int>(call.blue), 0, 255));
        break;
      case EngineCall::Kind::Sprite:
        AddSprite(call, tint);
        break;
      case EngineCall::Kind::Glyphs:
        AddGlyphs(call);
        break;
      case EngineCall::Kind::Text:
        AddText(call);
        break;
    }
  }
}

BareFrame::~BareFrame() {
  for (SDL_Texture* texture : texts_) SDL_DestroyTexture(texture);
  for (auto& [name, font] : fonts_) {
    if (font != nullptr) TTF_CloseFont(font);
  }
}

void BareFrame::AddSprite(const EngineCall& call, const Uint8 tint[3]) {
  auto* picture = dynamic_cast<const SdlTexture*>(call.texture.get());
  const float width = call.drawnWidth != 0 ? call.drawnWidth : call.width;
  const float height = call.drawnHeight != 0 ? call.drawnHeight : call.height;
  if (picture == nullptr || call.opacity <= 0 || !(width > 0) || !(height > 0)) return;
  const int sourceWidth = std::min(static_cast<int>(std::ceil(call.width)), picture->width);
  const int sourceHeight = std::min(static_cast<int>(std::ceil(call.height)), picture->height);
  if (sourceWidth <= 0 || sourceHeight <= 0) return;
  draws_.push_back({picture->texture,
                    false,
                    {0, 0, sourceWidth, sourceHeight},
                    {call.x, call.y, width * static_cast<float>(sourceWidth) / call.width,
                     height * static_cast<float>(sourceHeight) / call.height},
                    call.angle,
                    false,
                    {width / 2, height / 2},
                    tint[0],
                    tint[1],
                    tint[2],
                    Alpha(call.opacity)});
}

// Each glyph turns about its own centre, which goes round the string's centre.
void BareFrame::AddGlyphs(const EngineCall& call) {
  auto* atlas = dynamic_cast<const SdlTexture*>(call.texture.get());
  if (atlas == nullptr || call.opacity <= 0) return;
  const TextLayout layout = LayoutBitmapText(atlas->font, call.text, call.x, call.y, call.scale);
  const double radians = call.angle * std::numbers::pi / 180.0;
  const double cosine = std::cos(radians), sine = std::sin(radians);
  const double centreX = call.x + layout.width / 2.0, centreY = call.y + layout.height / 2.0;
  for (const PlacedGlyph& glyph : layout.glyphs) {
    const double dx = glyph.x + glyph.width / 2.0 - centreX;
    const double dy = glyph.y + glyph.height / 2.0 - centreY;
    const double x = centreX + dx * cosine - dy * sine;
    const double y = centreY + dx * sine + dy * cosine;
    draws_.push_back({atlas->texture,
                      false,
                      {glyph.srcX, glyph.srcY, glyph.srcWidth, glyph.srcHeight},
                      {static_cast<float>(x - glyph.width / 2.0),
                       static_cast<float>(y - glyph.height / 2.0), glyph.width, glyph.height},
                      call.angle,
                      true,
                      {},
                      Channel(call.red),
                      Channel(call.green),
                      Channel(call.blue),
                      Alpha(call.opacity)});
  }
}

void BareFrame::AddText(const EngineCall& call) {
  const auto argb = static_cast<uint32_t>(call.color);
  const Uint8 alpha = static_cast<Uint8>(argb >> 24);
  TTF_Font* font = fonts_[call.font];
  if (call.text.empty() || alpha == 0 || font == nullptr) return;
  SDL_Surface* surface = TTF_RenderUTF8_Blended(font, call.text.c_str(), {255, 255, 255, 255});
  if (surface == nullptr) return;
  SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, surface);
  const float width = static_cast<float>(surface->w);
  const float height = static_cast<float>(surface->h);
  SDL_FreeSurface(surface);
  if (texture == nullptr) return;
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  texts_.push_back(texture);
  float left = call.x;
  if (call.alignment == 1) left = call.x + (call.width - width) / 2;
  if (call.alignment == 2) left = call.x + call.width - width;
  draws_.push_back({texture,
                    true,
                    {},
                    {std::round(left), std::round(call.y), width, height},
                    0,
                    true,
                    {},
                    static_cast<Uint8>(argb >> 16),
                    static_cast<Uint8>(argb >> 8),
                    static_cast<Uint8>(argb),
                    alpha});
}

void BareFrame::Draw(bool clear) const {
  if (clear) {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
  }
  for (const Step& draw : draws_) {
    SDL_SetTextureColorMod(draw.texture, draw.red, draw.green, draw.blue);
    SDL_SetTextureAlphaMod(draw.texture, draw.alpha);
    if (draw.whole) {
      SDL_RenderCopyF(renderer_, draw.texture, nullptr, &draw.target);
    } else {
      SDL_RenderCopyExF(renderer_, draw.texture, &draw.source, &draw.target, draw.angle,
                        draw.centred ? nullptr : &draw.centre, SDL_FLIP_NONE);
    }
  }
  SDL_RenderFlush(renderer_);
}

void TimeAgainstBare(benchmark::State& state, const std::function<void()>& gameFrame,
                     const std::function<void()>& bareFrame) {
  using Clock = std::chrono::steady_clock;
  Clock::duration gameTime{}, bareTime{};
  bool bareFirst = false;
  auto timeBare = [&] {
    const auto start = Clock::now();
    bareFrame();
    bareTime += Clock::now() - start;
  };
  for (auto _ : state) {
    if (bareFirst) timeBare();
    const auto start = Clock::now();
    gameFrame();
    const auto spent = Clock::now() - start;
    gameTime += spent;
    if (!bareFirst) timeBare();
    bareFirst = !bareFirst;
    state.SetIterationTime(std::chrono::duration<double>(spent).count());
  }
  const double frames = static_cast<double>(state.iterations());
  const double gameUs = std::chrono::duration<double, std::micro>(gameTime).count() / frames;
  const double bareUs = std::chrono::duration<double, std::micro>(bareTime).count() / frames;
  state.counters["game_us"] = gameUs;
  state.counters["bare_us"] = bareUs;
  state.counters["ratio"] = gameUs / bareUs;
}
