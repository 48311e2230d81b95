#include "bare_frame.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>

#include "engine/common/bitmap_font.h"
#include "engine/recording/recording.h"
#include "engine/sdl/sdl_pictures.h"
#include "engine/sdl/sdl_text.h"
#include "shell/shell.h"

SdlStage::SdlStage(const std::string& probeFile) {
  UseOffscreenSdl();
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
  sdl = std::make_unique<SdlBackend>(Paths(folder));
  engine = std::make_unique<FlushingEngine>(sdl->engine);
}

void SdlStage::Initialize() {
  engine->Initialize(sdl->platform.MainWindow(), folder, 640, 480, false, 0, 0, -1);
  renderer = SDL_GetRenderer(sdl->window.Get());
  engine->renderer = renderer;
}

BareFrame::BareFrame(SDL_Renderer* renderer, const std::vector<Call>& calls,
                     const std::map<std::string, std::pair<std::string, int>>& faces)
    : renderer_(renderer) {
  for (const auto& [name, face] : faces) {
    fonts_[name] = TTF_OpenFontDPI(FindFontFile(face.first).c_str(), face.second, 96, 96);
  }
  Uint8 tint[3] = {255, 255, 255};
  for (const Call& c : calls) {
    if (const auto* color = std::get_if<call::SetColor>(&c)) {
      tint[0] = static_cast<Uint8>(std::clamp(static_cast<int>(color->red), 0, 255));
      tint[1] = static_cast<Uint8>(std::clamp(static_cast<int>(color->green), 0, 255));
      tint[2] = static_cast<Uint8>(std::clamp(static_cast<int>(color->blue), 0, 255));
    } else if (const auto* sprite = std::get_if<call::DrawSprite>(&c)) {
      AddSprite(*sprite, tint);
    } else if (const auto* glyphs = std::get_if<call::DrawBitmapText>(&c)) {
      AddGlyphs(*glyphs);
    } else if (const auto* text = std::get_if<call::DrawText>(&c)) {
      AddText(*text);
    }
  }
}

BareFrame::~BareFrame() {
  for (SDL_Texture* texture : texts_) SDL_DestroyTexture(texture);
  for (auto& [name, font] : fonts_) {
    if (font != nullptr) TTF_CloseFont(font);
  }
}

void BareFrame::AddSprite(const call::DrawSprite& call, const Uint8 tint[3]) {
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
                    OpacityAlpha(call.opacity)});
}

// Each glyph turns about its own centre, which goes round the string's centre.
void BareFrame::AddGlyphs(const call::DrawBitmapText& call) {
  auto* atlas = dynamic_cast<const SdlTexture*>(call.fontTexture.get());
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
                      TintChannel(call.red),
                      TintChannel(call.green),
                      TintChannel(call.blue),
                      OpacityAlpha(call.opacity)});
  }
}

void BareFrame::AddText(const call::DrawText& call) {
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

namespace {

// Gives `to` every texture of `from` (the pictures of the asset list).
void CopyTextures(const Game& from, Game& to) {
#define PICTURE(file, texture, ...) to.texture = from.texture;
#include "assets.def"
}

}  // namespace

StagedFrame StageFrame(SdlStage& stage, Platform& platform, void (*prepare)(Game&),
                       void (*draw)(Game&),
                       const std::map<std::string, std::pair<std::string, int>>& faces) {
  StagedFrame staged;
  staged.game =
      std::make_unique<Game>(*stage.engine, stage.sdl->utility, stage.sdl->musicPlayer, platform);
  stage.Initialize();
  LoadTextures(*staged.game);
  CreateFonts(*staged.game);
  prepare(*staged.game);

  RecordingBackend capture(RecordingBackend::Options{stage.folder, 43200, true});
  Game captured(capture.engine(), stage.sdl->utility, stage.sdl->musicPlayer, platform);
  CopyTextures(*staged.game, captured);
  prepare(captured);
  capture.ClearTrace();
  draw(captured);
  staged.bare = std::make_unique<BareFrame>(stage.renderer, capture.Calls(), faces);
  return staged;
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
