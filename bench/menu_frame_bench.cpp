// The cost of one busy menu frame through DrawMenu and the SDL backend (software renderer, hidden
// window), against the same sprites, bitmap-font glyphs and texts drawn with bare SDL calls in
// the same run, everything the bare frame needs worked out beforehand. The two alternate so both
// see the same machine. The busy menu: the level entry chosen with its bouncing arrows, both
// records new and shimmering, the last game's score, and the splash logo half dissolved on top.
//
// Counters: game_us and bare_us per frame, ratio (game over bare; aim: at most 1.15), draws (the
// SDL draw calls of one frame), same_pixels (the share of pixels the two ways draw alike: 1).
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "engine/bitmap_font.h"
#include "engine/ini_utility.h"
#include "engine/paths.h"
#include "engine/sdl/sdl_audio.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_music.h"
#include "engine/sdl/sdl_pictures.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/sdl_text.h"
#include "engine/sdl/sdl_window.h"
#include "forwarding.h"
#include "render/render.h"
#include "shell/game.h"
#include "shell/shell.h"

namespace {

// The SDL engine, except that a frame ends by carrying out the drawing queued in the renderer
// instead of being shown and held to 60 frames a second: the benchmark measures the drawing.
class FlushingEngine : public ForwardingEngine {
 public:
  using ForwardingEngine::ForwardingEngine;
  void EndFrame() override { SDL_RenderFlush(renderer); }
  SDL_Renderer* renderer = nullptr;
};

// What one menu frame asks of the engine, kept to be replayed with bare SDL calls.
struct MenuCall {
  enum class Kind { Color, Sprite, Glyphs, Text };
  Kind kind = Kind::Color;
  Texture texture;
  float x = 0, y = 0, width = 0, height = 0, angle = 0, scale = 0;
  float drawnWidth = 0, drawnHeight = 0;
  int16_t opacity = 0;
  float red = 0, green = 0, blue = 0;
  std::string font, text;
  int32_t color = 0;
  int16_t alignment = 0;
};

class CapturingEngine : public Engine {
 public:
  std::vector<MenuCall> calls;

  void Initialize(WindowHandle, const std::string&, float, float, bool, int16_t, int16_t,
                  int16_t) override {}
  bool IsKeyDown(int16_t) override { return false; }
  bool IsKeyHit(int16_t) override { return false; }
  void LoadSound(const std::string&, const std::string&) override {}
  void PlaySound(const std::string&, int16_t, int16_t, int16_t, int16_t) override {}
  void LoadTexture(Texture&, const std::string&, int32_t) override {}
  void DrawSprite(const Texture& texture, float x, float y, float width, float height, float angle,
                  int16_t opacity, float, float, float drawnWidth, float drawnHeight, float,
                  float) override {
    MenuCall call;
    call.kind = MenuCall::Kind::Sprite;
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
  void DrawBitmapText(const Texture& fontTexture, const std::string& text, float x, float y,
                      float scale, float angle, int16_t opacity, float red, float green,
                      float blue) override {
    MenuCall call;
    call.kind = MenuCall::Kind::Glyphs;
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
  void BeginFrame(int16_t, int16_t, int16_t) override {}
  void SetColor(int16_t red, int16_t green, int16_t blue) override {
    MenuCall call;
    call.kind = MenuCall::Kind::Color;
    call.red = red;
    call.green = green;
    call.blue = blue;
    calls.push_back(call);
  }
  void TakeScreenshot() override {}
  void EndFrame() override {}
  void CreateFont(const std::string&, const std::string&, int16_t, int16_t, int16_t) override {}
  void DrawText(const std::string& font, float x, float y, float width, float height,
                const std::string& text, int32_t color, int16_t alignment) override {
    MenuCall call;
    call.kind = MenuCall::Kind::Text;
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
  void Shutdown() override {}
};

// One SDL draw of the bare frame, worked out in advance.
struct BareDraw {
  SDL_Texture* texture;
  bool whole;  // the whole texture (a rendered text)
  SDL_Rect source;
  SDL_FRect target;
  double angle;
  bool centred;  // turned about the target's centre (SDL's default) rather than `centre`
  SDL_FPoint centre;
  Uint8 red, green, blue, alpha;
};

Uint8 Channel(float value) {
  if (!(value > 0)) return 0;
  return static_cast<Uint8>(std::lround(std::min(value, 255.0f)));
}

Uint8 Alpha(int opacity) {
  return static_cast<Uint8>((std::clamp(opacity, 0, 100) * 255 + 50) / 100);
}

// The menu as it looks at its busiest.
void MakeBusyMenu(Game& game) {
  game.GameMode = "";
  game.MenuSelection = 1;
  game.HighestLevel = 40;
  game.Level = 12;
  game.BestScore = 98765;
  game.NewBestScore = true;
  game.LevelBestScores[12] = 4321;
  game.NewLevelBest[12] = true;
  game.LastScore = 5555;
  game.ExitCaption = "EXIT TO REAL LIFE";
  game.AnimClock = 12.345f;
  game.LogoFade = 50;
}

struct MenuBench {
  MenuBench() {
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
    const std::string folder = ExecutableFolder() + "/..";
    if (!std::filesystem::exists(folder + "/files/mainmenu_background.bmp")) {
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
    game = std::make_unique<Game>(*engine, *utility, *music, *platform);

    engine->Initialize(platform->MainWindow(), folder, 640, 480, false, 0, 0, -1);
    renderer = SDL_GetRenderer(window->Get());
    engine->renderer = renderer;
    LoadTextures(*game);
    CreateFonts(*game);
    MakeBusyMenu(*game);

    // The same frame, captured, then worked out as bare draws.
    Game captured(capture, *utility, *music, *platform);
    CopyTextures(*game, captured);
    MakeBusyMenu(captured);
    DrawMenu(captured);
    PrepareBareFrame(capture.calls);
    CompareFrames();
  }

  std::vector<Uint32> ReadFrame() {
    std::vector<Uint32> pixels(640 * 480);
    SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), 640 * 4);
    return pixels;
  }

  // Both ways draw the same picture: the share of pixels that come out alike.
  void CompareFrames() {
    game->LogoFade = 50;
    DrawMenu(*game);
    const std::vector<Uint32> viaEngine = ReadFrame();
    DrawBareFrame();
    const std::vector<Uint32> bare = ReadFrame();
    size_t same = 0;
    for (size_t i = 0; i < bare.size(); ++i) same += viaEngine[i] == bare[i];
    samePixels = static_cast<double>(same) / static_cast<double>(bare.size());
  }

  ~MenuBench() {
    for (SDL_Texture* texture : texts) SDL_DestroyTexture(texture);
    for (auto& [name, font] : fonts) {
      if (font != nullptr) TTF_CloseFont(font);
    }
  }

  static void CopyTextures(const Game& from, Game& to) {
    to.LogoTexture = from.LogoTexture;
    to.FontTexture = from.FontTexture;
    to.MenuBackgroundTexture = from.MenuBackgroundTexture;
    to.ArrowTexture = from.ArrowTexture;
    to.TitleTexture = from.TitleTexture;
    to.KeysFireTexture = from.KeysFireTexture;
    to.KeysMoveTexture = from.KeysMoveTexture;
  }

  void AddSprite(const MenuCall& call, const Uint8 tint[3]) {
    auto* picture = dynamic_cast<const SdlTexture*>(call.texture.get());
    const float width = call.drawnWidth != 0 ? call.drawnWidth : call.width;
    const float height = call.drawnHeight != 0 ? call.drawnHeight : call.height;
    if (picture == nullptr || call.opacity <= 0 || !(width > 0) || !(height > 0)) return;
    const int sourceWidth = std::min(static_cast<int>(std::ceil(call.width)), picture->width);
    const int sourceHeight = std::min(static_cast<int>(std::ceil(call.height)), picture->height);
    if (sourceWidth <= 0 || sourceHeight <= 0) return;
    draws.push_back({picture->texture,
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
  void AddGlyphs(const MenuCall& call) {
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
      draws.push_back({atlas->texture,
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

  void AddText(const MenuCall& call) {
    const auto argb = static_cast<uint32_t>(call.color);
    const Uint8 alpha = static_cast<Uint8>(argb >> 24);
    TTF_Font* font = fonts[call.font];
    if (call.text.empty() || alpha == 0 || font == nullptr) return;
    SDL_Surface* surface = TTF_RenderUTF8_Blended(font, call.text.c_str(), {255, 255, 255, 255});
    if (surface == nullptr) return;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    const float width = static_cast<float>(surface->w);
    const float height = static_cast<float>(surface->h);
    SDL_FreeSurface(surface);
    if (texture == nullptr) return;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    texts.push_back(texture);
    float left = call.x;
    if (call.alignment == 1) left = call.x + (call.width - width) / 2;
    if (call.alignment == 2) left = call.x + call.width - width;
    draws.push_back({texture,
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

  void PrepareBareFrame(const std::vector<MenuCall>& calls) {
    fonts["smalltext"] = TTF_OpenFontDPI(FindFontFile("Verdana").c_str(), 7, 96, 96);
    Uint8 tint[3] = {255, 255, 255};
    for (const MenuCall& call : calls) {
      switch (call.kind) {
        case MenuCall::Kind::Color:
          tint[0] = static_cast<Uint8>(std::clamp(static_cast<int>(call.red), 0, 255));
          tint[1] = static_cast<Uint8>(std::clamp(static_cast<int>(call.green), 0, 255));
          tint[2] = static_cast<Uint8>(std::clamp(static_cast<int>(call.blue), 0, 255));
          break;
        case MenuCall::Kind::Sprite:
          AddSprite(call, tint);
          break;
        case MenuCall::Kind::Glyphs:
          AddGlyphs(call);
          break;
        case MenuCall::Kind::Text:
          AddText(call);
          break;
      }
    }
  }

  void DrawBareFrame() {
    for (const BareDraw& draw : draws) {
      SDL_SetTextureColorMod(draw.texture, draw.red, draw.green, draw.blue);
      SDL_SetTextureAlphaMod(draw.texture, draw.alpha);
      if (draw.whole) {
        SDL_RenderCopyF(renderer, draw.texture, nullptr, &draw.target);
      } else {
        SDL_RenderCopyExF(renderer, draw.texture, &draw.source, &draw.target, draw.angle,
                          draw.centred ? nullptr : &draw.centre, SDL_FLIP_NONE);
      }
    }
    SDL_RenderFlush(renderer);
  }

  std::string problem;
  std::unique_ptr<SdlSystem> system;
  std::unique_ptr<Paths> paths;
  std::unique_ptr<SdlWindow> window;
  std::unique_ptr<SdlAudio> audio;
  std::unique_ptr<SdlEngine> sdl;
  std::unique_ptr<SdlMusicPlayer> music;
  std::unique_ptr<SdlPlatform> platform;
  std::unique_ptr<IniUtility> utility;
  std::unique_ptr<FlushingEngine> engine;
  std::unique_ptr<Game> game;
  CapturingEngine capture;
  SDL_Renderer* renderer = nullptr;
  std::map<std::string, TTF_Font*> fonts;
  std::vector<SDL_Texture*> texts;
  std::vector<BareDraw> draws;
  double samePixels = 0;
};

}  // namespace

static void BM_BusyMenuSdl(benchmark::State& state) {
  static MenuBench bench;
  if (!bench.problem.empty()) {
    state.SkipWithError(bench.problem.c_str());
    return;
  }
  using Clock = std::chrono::steady_clock;
  Clock::duration gameTime{}, bareTime{};
  bool bareFirst = false;
  for (auto _ : state) {
    if (bareFirst) {
      const auto start = Clock::now();
      bench.DrawBareFrame();
      bareTime += Clock::now() - start;
    }
    bench.game->LogoFade = 50;  // DrawMenu dissolves the logo a step further every frame
    const auto start = Clock::now();
    DrawMenu(*bench.game);
    const auto spent = Clock::now() - start;
    gameTime += spent;
    if (!bareFirst) {
      const auto bareStart = Clock::now();
      bench.DrawBareFrame();
      bareTime += Clock::now() - bareStart;
    }
    bareFirst = !bareFirst;
    state.SetIterationTime(std::chrono::duration<double>(spent).count());
  }
  const double frames = static_cast<double>(state.iterations());
  const double gameUs = std::chrono::duration<double, std::micro>(gameTime).count() / frames;
  const double bareUs = std::chrono::duration<double, std::micro>(bareTime).count() / frames;
  state.counters["game_us"] = gameUs;
  state.counters["bare_us"] = bareUs;
  state.counters["ratio"] = gameUs / bareUs;
  state.counters["draws"] = static_cast<double>(bench.draws.size());
  state.counters["same_pixels"] = bench.samePixels;
}
BENCHMARK(BM_BusyMenuSdl)->UseManualTime()->MinTime(2)->Unit(benchmark::kMicrosecond);
