// For the frame benchmarks: the SDL backend on a hidden window with SDL's software renderer, an
// engine that captures what one frame asks for, and that frame worked out in advance as bare SDL
// calls (the floor any engine could reach), timed against the game's own frame in the same run.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/sdl/sdl_audio.h"
#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/sdl_music.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/sdl_window.h"
#include "forwarding.h"
#include "io/ini_utility.h"
#include "io/paths.h"

// The SDL engine, except that a frame ends by carrying out the drawing queued in the renderer
// instead of being shown and held to 60 frames a second: the benchmarks measure the drawing.
class FlushingEngine : public ForwardingEngine {
 public:
  using ForwardingEngine::ForwardingEngine;
  void EndFrame() override { SDL_RenderFlush(renderer); }
  SDL_Renderer* renderer = nullptr;
};

// The SDL backend on a hidden window (software renderer, no sound), over the generated files of
// the build folder. `problem` says why there is none.
struct SdlStage {
  // `probeFile` (under files/) must exist for the files to count as generated.
  explicit SdlStage(const std::string& probeFile);

  std::string problem;
  std::string folder;
  std::unique_ptr<SdlSystem> system;
  std::unique_ptr<Paths> paths;
  std::unique_ptr<SdlWindow> window;
  std::unique_ptr<SdlAudio> audio;
  std::unique_ptr<SdlEngine> sdl;
  std::unique_ptr<SdlMusicPlayer> music;
  std::unique_ptr<SdlPlatform> platform;
  std::unique_ptr<IniUtility> utility;
  std::unique_ptr<FlushingEngine> engine;
  SDL_Renderer* renderer = nullptr;

  // Opens the window through the engine, as the game does.
  void Initialize();
};

// What one frame asks of the engine, kept to be replayed with bare SDL calls.
struct EngineCall {
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
                  float) override;
  void DrawBitmapText(const Texture& fontTexture, const std::string& text, float x, float y,
                      float scale, float angle, int16_t opacity, float red, float green,
                      float blue) override;
  void BeginFrame(int16_t, int16_t, int16_t) override { calls.clear(); }
  void SetColor(int16_t red, int16_t green, int16_t blue) override;
  void TakeScreenshot() override {}
  void EndFrame() override {}
  void CreateFont(const std::string&, const std::string&, int16_t, int16_t, int16_t) override {}
  void DrawText(const std::string& font, float x, float y, float width, float height,
                const std::string& text, int32_t color, int16_t alignment) override;
  void Shutdown() override {}
};

// A captured frame as bare SDL draws, every text rendered beforehand.
class BareFrame {
 public:
  // `faces`: the game's font names, each with the face and point size the engine gives it.
  BareFrame(SDL_Renderer* renderer, const std::vector<EngineCall>& calls,
            const std::map<std::string, std::pair<std::string, int>>& faces);
  ~BareFrame();
  BareFrame(const BareFrame&) = delete;
  BareFrame& operator=(const BareFrame&) = delete;

  // Draws the frame (after clearing it, when `clear`) and carries the drawing out.
  void Draw(bool clear) const;
  size_t Draws() const { return draws_.size(); }

 private:
  struct Step {
    SDL_Texture* texture;
    bool whole;  // the whole texture (a rendered text), not turned
    SDL_Rect source;
    SDL_FRect target;
    double angle;
    bool centred;  // turned about the target's centre (SDL's default) rather than `centre`
    SDL_FPoint centre;
    Uint8 red, green, blue, alpha;
  };
  void AddSprite(const EngineCall& call, const Uint8 tint[3]);
  void AddGlyphs(const EngineCall& call);
  void AddText(const EngineCall& call);

  SDL_Renderer* renderer_;
  std::map<std::string, TTF_Font*> fonts_;
  std::vector<SDL_Texture*> texts_;
  std::vector<Step> draws_;
};

// Times the game's frame against the bare one, alternating which goes first so both see the same
// machine. The iteration time is the game's frame; counters game_us, bare_us and ratio (game over
// bare; aim: at most 1.15).
void TimeAgainstBare(benchmark::State& state, const std::function<void()>& gameFrame,
                     const std::function<void()>& bareFrame);
