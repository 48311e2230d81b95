// The cost of one busy game frame (221 shots, 30 enemies, every bonus row and effect) through
// DrawGame. On the recording backend with the trace off this is the game's own share of a frame:
// the formulas, the texts of the heads-up display and the calls into the engine.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "allocations.h"
#include "bare_frame.h"
#include "core/game.h"
#include "engine/recording/recording.h"
#include "render/render.h"
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
    shot.Owner = i % 2 ? 3 : kPlayerOwner;
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
  game.BonusType = Bonus::D;
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
  DrawGame(game);  // the first frame may set up what later ones reuse
  const size_t before = AllocationsSoFar();
  for (auto _ : state) {
    DrawGame(game);
    game.AnimClock += 0.001f;
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  // Heap allocations per frame (aim: 0).
  state.counters["allocs/frame"] =
      static_cast<double>(AllocationsSoFar() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BusyFrameRecording)->Unit(benchmark::kMicrosecond);

// --- The same frame on the real SDL backend, against bare SDL calls ------------------------------

namespace {

// The background sways with the time of day, and on the software renderer what one of its turned
// copies costs depends much on the angle (2 to 11 ms); both ways draw the frame of noon, so they
// draw the same picture whenever they run.
class NoonPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  double TimeOfDay() override { return 43200.0; }
};

// The SDL backend on a hidden window with the software renderer, the busy game over it, and the
// same frame as bare SDL calls with every text rendered beforehand.
struct SdlBench {
  SdlBench() : stage("background.bmp") {
    if (!stage.problem.empty()) return;
    noon = std::make_unique<NoonPlatform>(stage.sdl->platform);
    StagedFrame staged = StageFrame(
        stage, *noon, MakeBusyGame, DrawGame,
        {{"smalltext", {"Verdana", 7}}, {"score", {"Tahoma", 14}}, {"xl", {"Tahoma", 72}}});
    game = std::move(staged.game);
    bare = std::move(staged.bare);
  }

  SdlStage stage;
  std::unique_ptr<NoonPlatform> noon;
  std::unique_ptr<Game> game;
  std::unique_ptr<BareFrame> bare;
};

}  // namespace

// A busy frame through DrawGame and the SDL backend, timed against the same sprites and texts as
// bare SDL calls in the same run; the two alternate so both see the same machine. The time shown
// is the game's frame; "ratio" is its cost over the bare one (aim: at most 1.15).
static void BM_BusyFrameSdl(benchmark::State& state) {
  static SdlBench bench;
  if (bench.stage.Missing(state)) return;
  TimeAgainstBare(
      state, [] { DrawGame(*bench.game); }, [] { bench.bare->Draw(true); });
  state.counters["sprites+texts"] = static_cast<double>(bench.bare->Draws());
}
BENCHMARK(BM_BusyFrameSdl)->UseManualTime()->MinTime(2)->Unit(benchmark::kMicrosecond);
