// The cost of one busy game frame (221 shots, 30 enemies, every bonus row and effect) through
// DrawGame. On the recording backend with the trace off this is the game's own share of a frame:
// the formulas, the texts of the heads-up display and the calls into the engine.
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
#include <string>
#include <utility>
#include <vector>

#include "engine/ini_utility.h"
#include "engine/paths.h"
#include "engine/recording/recording.h"
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

// Textures named as the game loads them; the recording backend never looks inside.
void NameTextures(Game& game) {
  auto named = [](const std::string& file) { return std::make_shared<TextureData>(file); };
  game.BackgroundTexture = named("files\\background.bmp");
  game.BonusTexture = named("files\\bonus.bmp");
  game.HealthBarTexture = named("files\\hpbar.dds");
  for (int i : {0, 7, 8, 9, 10}) {
    game.PlayerTextures[i] = named("files\\player_" + std::to_string(i) + ".bmp");
  }
  for (int i = 1; i <= 10; ++i) {
    game.EnemyTextures[i] = named("files\\ai_" + std::to_string(i) + ".bmp");
  }
}

// A level-26 game (30 enemy slots) at its busiest: every shot in flight, every enemy present with
// its bands, the bonus item on the field, every timed bonus in effect with a full row of bars.
void MakeBusyGame(Game& game) {
  game.SurvivalMode = false;
  game.Level = 26;
  NewGame(game);
  for (size_t i = 0; i < game.Shots.size(); ++i) {
    Shot& shot = game.Shots[i];
    shot.Active = true;
    shot.X = static_cast<float>((i * 37) % 632);
    shot.Y = static_cast<float>((i * 53) % 472);
    shot.Hostile = static_cast<float>(i % 2);
    shot.Owner = i % 2 ? 3 : 999;
  }
  for (size_t i = 0; i < game.Enemies.size(); ++i) {
    Enemy& enemy = game.Enemies[i];
    enemy.X = static_cast<float>((i * 71) % 608);
    enemy.Y = static_cast<float>((i * 43) % 448);
    enemy.Health = static_cast<float>(10 + (i * 17) % 120);
    enemy.Fade = 100;
    enemy.Infected = i % 3 == 0;
    enemy.Ally = i % 7 == 0;
  }
  game.BonusVisible = true;
  game.BonusFade = 100;
  game.BonusX = 300;
  game.BonusY = 200;
  game.BonusType = 3;
  for (int type : {0, 2, 3, 4, 5, 6, 8, 11}) {
    game.BonusTypes[type].Active = true;
    game.BonusTypes[type].Time = 1000;
  }
  game.PlayerHealth = 87.5f;
  game.Score = 1234;
  game.EnemiesLeft = 17;
}

}  // namespace

static void BM_BusyFrameRecording(benchmark::State& state) {
  RecordingBackend backend(RecordingBackend::Options{".", 43200, false});
  Game game(backend.engine(), backend.utility(), backend.musicPlayer(), backend.platform());
  NameTextures(game);
  MakeBusyGame(game);
  for (auto _ : state) {
    DrawGame(game);
    game.AnimClock += 0.001f;
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BusyFrameRecording)->Unit(benchmark::kMicrosecond);

// --- The same frame on the real SDL backend, against bare SDL calls ------------------------------

namespace {

// Every call goes to the SDL engine, except that a frame ends by carrying out the drawing queued
// in the renderer instead of being shown and held to 60 frames a second: the benchmark measures
// the drawing, not the wait.
class UnpacedEngine : public Engine {
 public:
  explicit UnpacedEngine(SdlEngine& engine) : e_(engine) {}
  void SetRenderer(SDL_Renderer* renderer) { renderer_ = renderer; }

  void Initialize(WindowHandle window, const std::string& appFolder, float width, float height,
                  bool fullScreen, int16_t a, int16_t b, int16_t c) override {
    e_.Initialize(window, appFolder, width, height, fullScreen, a, b, c);
  }
  bool IsKeyDown(int16_t scanCode) override { return e_.IsKeyDown(scanCode); }
  bool IsKeyHit(int16_t scanCode) override { return e_.IsKeyHit(scanCode); }
  void LoadSound(const std::string& name, const std::string& file) override {
    e_.LoadSound(name, file);
  }
  void PlaySound(const std::string& name, int16_t a, int16_t volume, int16_t c,
                 int16_t d) override {
    e_.PlaySound(name, a, volume, c, d);
  }
  void LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) override {
    e_.LoadTexture(texture, file, colorKey);
  }
  void DrawSprite(const Texture& texture, float x, float y, float width, float height, float angle,
                  int16_t opacity, float a, float b, float drawnWidth, float drawnHeight, float c,
                  float d) override {
    e_.DrawSprite(texture, x, y, width, height, angle, opacity, a, b, drawnWidth, drawnHeight, c,
                  d);
  }
  void DrawBitmapText(const Texture& fontTexture, const std::string& text, float x, float y,
                      float scale, float angle, int16_t opacity, float red, float green,
                      float blue) override {
    e_.DrawBitmapText(fontTexture, text, x, y, scale, angle, opacity, red, green, blue);
  }
  void BeginFrame(int16_t a, int16_t b, int16_t c) override { e_.BeginFrame(a, b, c); }
  void SetColor(int16_t red, int16_t green, int16_t blue) override {
    e_.SetColor(red, green, blue);
  }
  void TakeScreenshot() override { e_.TakeScreenshot(); }
  void EndFrame() override { SDL_RenderFlush(renderer_); }
  void CreateFont(const std::string& name, const std::string& face, int16_t size, int16_t a,
                  int16_t b) override {
    e_.CreateFont(name, face, size, a, b);
  }
  void DrawText(const std::string& font, float x, float y, float width, float height,
                const std::string& text, int32_t color, int16_t alignment) override {
    e_.DrawText(font, x, y, width, height, text, color, alignment);
  }
  void Shutdown() override { e_.Shutdown(); }

 private:
  SdlEngine& e_;
  SDL_Renderer* renderer_ = nullptr;
};

// What one frame asks of the engine, kept so it can be replayed with bare SDL calls.
struct EngineCall {
  enum class Kind { Color, Sprite, Text };
  Kind kind = Kind::Color;
  int16_t red = 0, green = 0, blue = 0;
  Texture texture;
  float x = 0, y = 0, width = 0, height = 0, angle = 0;
  int16_t opacity = 0;
  float drawnWidth = 0, drawnHeight = 0;
  std::string font, text;
  int32_t color = 0;
  int16_t alignment = 0;
};

class CapturingEngine : public Engine {
 public:
  std::vector<EngineCall> calls;

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
  void DrawBitmapText(const Texture&, const std::string&, float, float, float, float, int16_t,
                      float, float, float) override {}
  void BeginFrame(int16_t, int16_t, int16_t) override { calls.clear(); }
  void SetColor(int16_t red, int16_t green, int16_t blue) override {
    EngineCall call;
    call.kind = EngineCall::Kind::Color;
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
  void Shutdown() override {}
};

// The background sways with the time of day, and on the software renderer what one of its turned
// copies costs depends much on the angle (2 to 11 ms); both ways draw the frame of noon, so they
// draw the same picture whenever they run.
class NoonPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  double TimeOfDay() override { return 43200.0; }
};

// One draw of the bare frame, worked out in advance: the floor any engine could reach.
struct BareDraw {
  SDL_Texture* texture;
  bool whole;  // text: the whole texture, unrotated
  SDL_Rect source;
  SDL_FRect target;
  double angle;
  SDL_FPoint centre;
  Uint8 red, green, blue, alpha;
};

Uint8 Clamp(int value) {
  return static_cast<Uint8>(std::clamp(value, 0, 255));
}

// The SDL backend on a hidden window with the software renderer, the busy game over it, and the
// same frame as bare SDL calls with every text rendered beforehand.
struct SdlBench {
  SdlBench() {
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
    if (!std::filesystem::exists(folder + "/files/background.bmp")) {
      problem = "no generated files in " + folder + "/files (build the game first)";
      return;
    }
    paths = std::make_unique<Paths>(folder);
    window = std::make_unique<SdlWindow>();
    audio = std::make_unique<SdlAudio>();
    sdl = std::make_unique<SdlEngine>(*window, *audio, *paths);
    music = std::make_unique<SdlMusicPlayer>(*audio, *paths);
    platform = std::make_unique<SdlPlatform>(*window, *audio);
    noon = std::make_unique<NoonPlatform>(*platform);
    utility = std::make_unique<IniUtility>(*paths);
    engine = std::make_unique<UnpacedEngine>(*sdl);
    game = std::make_unique<Game>(*engine, *utility, *music, *noon);

    engine->Initialize(platform->MainWindow(), folder, 640, 480, false, 0, 0, -1);
    renderer = SDL_GetRenderer(window->Get());
    engine->SetRenderer(renderer);
    LoadTextures(*game);
    CreateFonts(*game);
    MakeBusyGame(*game);

    // The same frame, captured, then worked out as bare draws.
    Game captured(capture, *utility, *music, *noon);
    CopyTextures(*game, captured);
    MakeBusyGame(captured);
    DrawGame(captured);
    PrepareBareFrame(capture.calls);
  }

  ~SdlBench() {
    for (SDL_Texture* texture : texts) SDL_DestroyTexture(texture);
    for (auto& [name, font] : fonts) TTF_CloseFont(font);
  }

  static void CopyTextures(const Game& from, Game& to) {
    to.BackgroundTexture = from.BackgroundTexture;
    to.BonusTexture = from.BonusTexture;
    to.HealthBarTexture = from.HealthBarTexture;
    to.PlayerTextures = from.PlayerTextures;
    to.EnemyTextures = from.EnemyTextures;
  }

  void PrepareBareFrame(const std::vector<EngineCall>& calls) {
    const std::map<std::string, std::pair<std::string, int>> faces = {
        {"smalltext", {"Verdana", 7}}, {"score", {"Tahoma", 14}}, {"xl", {"Tahoma", 72}}};
    for (const auto& [name, face] : faces) {
      fonts[name] = TTF_OpenFontDPI(FindFontFile(face.first).c_str(), face.second, 96, 96);
    }
    Uint8 tint[3] = {255, 255, 255};
    for (const EngineCall& call : calls) {
      if (call.kind == EngineCall::Kind::Color) {
        tint[0] = Clamp(call.red);
        tint[1] = Clamp(call.green);
        tint[2] = Clamp(call.blue);
      } else if (call.kind == EngineCall::Kind::Sprite) {
        auto* picture = dynamic_cast<const SdlTexture*>(call.texture.get());
        const float width = call.drawnWidth != 0 ? call.drawnWidth : call.width;
        const float height = call.drawnHeight != 0 ? call.drawnHeight : call.height;
        if (picture == nullptr || call.opacity <= 0 || !(width > 0) || !(height > 0)) continue;
        const int sourceWidth = std::min(static_cast<int>(std::ceil(call.width)), picture->width);
        const int sourceHeight =
            std::min(static_cast<int>(std::ceil(call.height)), picture->height);
        if (sourceWidth <= 0 || sourceHeight <= 0) continue;
        const Uint8 alpha = static_cast<Uint8>((std::min<int>(call.opacity, 100) * 255 + 50) / 100);
        draws.push_back({picture->texture,
                         false,
                         {0, 0, sourceWidth, sourceHeight},
                         {call.x, call.y, width * static_cast<float>(sourceWidth) / call.width,
                          height * static_cast<float>(sourceHeight) / call.height},
                         call.angle,
                         {width / 2, height / 2},
                         tint[0],
                         tint[1],
                         tint[2],
                         alpha});
      } else {
        const auto argb = static_cast<uint32_t>(call.color);
        const Uint8 alpha = static_cast<Uint8>(argb >> 24);
        if (call.text.empty() || alpha == 0 || fonts[call.font] == nullptr) continue;
        SDL_Surface* surface =
            TTF_RenderUTF8_Blended(fonts[call.font], call.text.c_str(), {255, 255, 255, 255});
        if (surface == nullptr) continue;
        SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
        const float width = static_cast<float>(surface->w);
        const float height = static_cast<float>(surface->h);
        SDL_FreeSurface(surface);
        if (texture == nullptr) continue;
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
                         {},
                         static_cast<Uint8>(argb >> 16),
                         static_cast<Uint8>(argb >> 8),
                         static_cast<Uint8>(argb),
                         alpha});
      }
    }
  }

  void DrawBareFrame() {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    for (const BareDraw& draw : draws) {
      SDL_SetTextureColorMod(draw.texture, draw.red, draw.green, draw.blue);
      SDL_SetTextureAlphaMod(draw.texture, draw.alpha);
      if (draw.whole) {
        SDL_RenderCopyF(renderer, draw.texture, nullptr, &draw.target);
      } else {
        SDL_RenderCopyExF(renderer, draw.texture, &draw.source, &draw.target, draw.angle,
                          &draw.centre, SDL_FLIP_NONE);
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
  std::unique_ptr<NoonPlatform> noon;
  std::unique_ptr<IniUtility> utility;
  std::unique_ptr<UnpacedEngine> engine;
  std::unique_ptr<Game> game;
  CapturingEngine capture;
  SDL_Renderer* renderer = nullptr;
  std::map<std::string, TTF_Font*> fonts;
  std::vector<SDL_Texture*> texts;
  std::vector<BareDraw> draws;
};

}  // namespace

// A busy frame through DrawGame and the SDL backend, timed against the same sprites and texts as
// bare SDL calls in the same run; the two alternate so both see the same machine. The time shown
// is the game's frame; "ratio" is its cost over the bare one (aim: at most 1.15).
static void BM_BusyFrameSdl(benchmark::State& state) {
  static SdlBench bench;
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
    const auto start = Clock::now();
    DrawGame(*bench.game);
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
  state.counters["sprites+texts"] = static_cast<double>(bench.draws.size());
}
BENCHMARK(BM_BusyFrameSdl)->UseManualTime()->MinTime(2)->Unit(benchmark::kMicrosecond);
