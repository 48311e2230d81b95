// For the frame benchmarks: the SDL backend on a hidden window with SDL's software renderer, an
// frame recorded by the recording backend, and that frame worked out in advance as bare SDL
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

#include "core/game.h"
#include "engine/recording/calls.h"
#include "engine/sdl/sdl_backend.h"
#include "engine/sdl/sdl_platform.h"
#include "forwarding.h"

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
  std::unique_ptr<SdlBackend> sdl;
  std::unique_ptr<FlushingEngine> engine;  // over sdl's engine
  SDL_Renderer* renderer = nullptr;

  // Opens the window through the engine, as the game does.
  void Initialize();
  // True, after marking the benchmark skipped with the reason, when there is no stage.
  bool Missing(benchmark::State& state) const {
    if (problem.empty()) return false;
    state.SkipWithError(problem.c_str());
    return true;
  }
};

// A frame recorded by the recording backend (over the SDL backend's textures) as bare SDL draws,
// every text rendered beforehand.
class BareFrame {
 public:
  // `faces`: the game's font names, each with the face and point size the engine gives it.
  BareFrame(SDL_Renderer* renderer, const std::vector<Call>& calls,
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
  void AddSprite(const call::DrawSprite& call, const Uint8 tint[3]);
  void AddGlyphs(const call::DrawBitmapText& call);
  void AddText(const call::DrawText& call);

  SDL_Renderer* renderer_;
  std::map<std::string, TTF_Font*> fonts_;
  std::vector<SDL_Texture*> texts_;
  std::vector<Step> draws_;
};

// A game on the stage (its window opened, its pictures and fonts loaded, then set up by
// `prepare`), and the frame `draw` draws of it, recorded by the recording backend over the same
// textures and worked out as bare SDL draws. `faces` as for BareFrame.
struct StagedFrame {
  std::unique_ptr<Game> game;
  std::unique_ptr<BareFrame> bare;
};
StagedFrame StageFrame(SdlStage& stage, Platform& platform, void (*prepare)(Game&),
                       void (*draw)(Game&),
                       const std::map<std::string, std::pair<std::string, int>>& faces);

// Times the game's frame against the bare one, alternating which goes first so both see the same
// machine. The iteration time is the game's frame; counters game_us, bare_us and ratio (game over
// bare; aim: at most 1.15).
void TimeAgainstBare(benchmark::State& state, const std::function<void()>& gameFrame,
                     const std::function<void()>& bareFrame);
