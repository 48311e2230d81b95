// The cost of one busy menu frame through DrawMenu and the SDL backend (software renderer, hidden
// window), against the same sprites, bitmap-font glyphs and texts drawn with bare SDL calls in
// the same run, everything the bare frame needs worked out beforehand. The two alternate so both
// see the same machine. The busy menu: the level entry chosen with its bouncing arrows, both
// records new and shimmering, the last game's score, and the splash logo half dissolved on top.
//
// BM_BusyMenuRecording: the game's own share of the same frame on the recording backend with the
// trace off, and its heap allocations per frame (aim: 0, as in a game frame).
//
// Counters: game_us and bare_us per frame, ratio (game over bare; aim: at most 1.15), draws (the
// SDL draw calls of one frame), same_pixels (the share of pixels the two ways draw alike: 1).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "allocations.h"
#include "bare_frame.h"
#include "core/game.h"
#include "engine/recording/recording.h"
#include "render/render.h"
#include "shell/shell.h"

namespace {

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
  MenuBench() : stage("mainmenu_background.bmp") {
    if (!stage.problem.empty()) return;
    StagedFrame staged = StageFrame(stage, stage.sdl->platform, MakeBusyMenu, DrawMenu,
                                    {{"smalltext", {"Verdana", 7}}});
    game = std::move(staged.game);
    bare = std::move(staged.bare);
    CompareFrames();
  }

  std::vector<Uint32> ReadFrame() {
    std::vector<Uint32> pixels(640 * 480);
    SDL_RenderReadPixels(stage.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), 640 * 4);
    return pixels;
  }

  // Both ways draw the same picture: the share of pixels that come out alike.
  void CompareFrames() {
    game->LogoFade = 50;
    DrawMenu(*game);
    const std::vector<Uint32> viaEngine = ReadFrame();
    bare->Draw(false);
    const std::vector<Uint32> drawnBare = ReadFrame();
    size_t same = 0;
    for (size_t i = 0; i < drawnBare.size(); ++i) same += viaEngine[i] == drawnBare[i];
    samePixels = static_cast<double>(same) / static_cast<double>(drawnBare.size());
  }

  SdlStage stage;
  std::unique_ptr<Game> game;
  std::unique_ptr<BareFrame> bare;
  double samePixels = 0;
};

}  // namespace

static void BM_BusyMenuRecording(benchmark::State& state) {
  RecordingBackend backend(RecordingBackend::Options{".", 43200, false});
  Game game(backend.engine(), backend.utility(), backend.musicPlayer(), backend.platform());
  game.FontTexture = std::make_shared<TextureData>("files\\font_default.dds");
  MakeBusyMenu(game);
  DrawMenu(game);  // the first frame may set up what later ones reuse
  const size_t before = AllocationsSoFar();
  for (auto _ : state) {
    game.LogoFade = 50;
    DrawMenu(game);
  }
  state.counters["allocs/frame"] =
      static_cast<double>(AllocationsSoFar() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BusyMenuRecording)->Unit(benchmark::kMicrosecond);

static void BM_BusyMenuSdl(benchmark::State& state) {
  static MenuBench bench;
  if (bench.stage.Missing(state)) return;
  TimeAgainstBare(
      state,
      [] {
        bench.game->LogoFade = 50;  // DrawMenu dissolves the logo a step further every frame
        DrawMenu(*bench.game);
      },
      [] { bench.bare->Draw(false); });
  state.counters["draws"] = static_cast<double>(bench.bare->Draws());
  state.counters["same_pixels"] = bench.samePixels;
}
BENCHMARK(BM_BusyMenuSdl)->UseManualTime()->MinTime(2)->Unit(benchmark::kMicrosecond);
