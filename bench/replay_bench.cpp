// What recording a game costs: a busy level game's passes (RunPass) on the recording backend with
// the trace off, once straight on the backend and once through the recording layer, in turns of
// 60 passes so that both see the same machine. "ratio" is the recorded pass over the plain one
// (aim: at most 1.02).
//
// A recorded game reads the pass clock (replay/pass_clock.h) instead of the backend's, and the
// clock seeds the random numbers; so the plain game reads the same clock, through a platform of
// its own, and both play the very same game (the bench fails when their states part).
//
// The recording backend draws nothing, so a pass there is the rules alone (about 7 us), and most
// of what recording adds to it is the extra virtual call of every drawing call through the layer,
// about 0.5 us a pass in all: more than 2 % of the rules alone. BM_RecordedGamePassSdl times the
// passes as the window runs them, drawn by SDL (software renderer, hidden window); that ratio is
// the one aimed at.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bare_frame.h"
#include "core/game.h"
#include "engine/recording/recording.h"
#include "replay/game_state.h"
#include "replay/pass_clock.h"
#include "replay/recorder.h"
#include "shell/shell.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTurn = 60;

// The clock a recorded game reads, for the plain game.
class PassClockPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  void BeginPass() override {
    inner_.BeginPass();
    if (clock_.Drifted(inner_.TimeOfDay(), ++pass_)) clock_.Anchor(inner_.TimeOfDay(), pass_);
    now_ = clock_.At(pass_);
  }
  double TimeOfDay() override { return now_; }

 private:
  PassClock clock_;
  int64_t pass_ = 0;
  double now_ = 0;
};

// A level-20 game with keys held and pressed as a player does; the health key now and then keeps
// it going. A game that ends anyway starts again.
struct BenchGame {
  explicit BenchGame(bool recorded)
      : backend(RecordingBackend::Options{".", 43200, false}),
        recorder(backend.engine(), backend.utility(), backend.platform(), nullptr),
        clock(backend.platform()),
        game(recorded ? recorder.engine() : backend.engine(),
             recorded ? recorder.utility() : backend.utility(), backend.musicPlayer(),
             recorded ? recorder.platform() : clock) {
    recorder.Attach(game);
    game.Rnd.Seed(20);
    game.Running = true;
    Begin();
  }
  void Begin() {
    game.SurvivalMode = false;
    game.Level = 20;
    game.HighestLevel = 20;
    NewGame(game);
  }
  void Pass() {
    ++pass;
    const int64_t step = pass % 120;
    if (step == 0) backend.PressKey(Key::Left);
    if (step == 40) backend.ReleaseKey(Key::Left);
    if (step == 60) backend.PressKey(Key::Up);
    if (step == 100) backend.ReleaseKey(Key::Up);
    if (step % 8 == 0) backend.TapKey(step % 16 == 0 ? Key::A : Key::D);
    if (step == 30) backend.PressKey(Key::H);
    if (step == 31) backend.TapKey(Key::E);
    if (step == 32) backend.ReleaseKey(Key::H);
    game.platform.BeginPass();
    RunPass(game);
    if (game.GameMode != "game") Begin();
  }

  RecordingBackend backend;
  GameRecorder recorder;
  PassClockPlatform clock;
  Game game;
  int64_t pass = 0;
};

// Both games' time a pass, and the recorded one's over the plain one's: the figure that counts.
void CountRatio(benchmark::State& state, Clock::duration plainTime, Clock::duration recordedTime,
                double passes) {
  state.counters["plain_us/pass"] =
      std::chrono::duration<double, std::micro>(plainTime).count() / passes;
  state.counters["recorded_us/pass"] =
      std::chrono::duration<double, std::micro>(recordedTime).count() / passes;
  state.counters["ratio"] = std::chrono::duration<double>(recordedTime).count() /
                            std::chrono::duration<double>(plainTime).count();
}

}  // namespace

static void BM_RecordedGamePass(benchmark::State& state) {
  BenchGame plain(false);
  BenchGame recorded(true);
  Clock::duration plainTime{}, recordedTime{};
  bool plainFirst = true;
  for (auto _ : state) {
    // Each goes first in turn, so that neither always finds the other's data in the caches.
    BenchGame& first = plainFirst ? plain : recorded;
    BenchGame& second = plainFirst ? recorded : plain;
    const auto start = Clock::now();
    for (int i = 0; i < kTurn; ++i) first.Pass();
    const auto middle = Clock::now();
    for (int i = 0; i < kTurn; ++i) second.Pass();
    const auto end = Clock::now();
    (plainFirst ? plainTime : recordedTime) += middle - start;
    (plainFirst ? recordedTime : plainTime) += end - middle;
    plainFirst = !plainFirst;
  }
  if (StateDigest(plain.game) != StateDigest(recorded.game)) {
    state.SkipWithError("the plain and the recorded game parted: the ratio compares two games");
    return;
  }
  const double passes = static_cast<double>(state.iterations()) * kTurn;
  CountRatio(state, plainTime, recordedTime, passes);
}
BENCHMARK(BM_RecordedGamePass)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same on the SDL backend: both games in the one hidden window, each pass drawn and flushed.
// No keys reach the games; a game that ends starts again.
static void BM_RecordedGamePassSdl(benchmark::State& state) {
  SdlStage stage("background.bmp");
  if (stage.Missing(state)) return;
  PassClockPlatform clock(stage.sdl->platform);
  GameRecorder recorder(*stage.engine, stage.sdl->utility, stage.sdl->platform, nullptr);
  Game plain(*stage.engine, stage.sdl->utility, stage.sdl->musicPlayer, clock);
  Game recorded(recorder.engine(), recorder.utility(), stage.sdl->musicPlayer, recorder.platform());
  recorder.Attach(recorded);
  stage.Initialize();
  for (Game* game : {&plain, &recorded}) {
    LoadTextures(*game);
    CreateFonts(*game);
    game->Rnd.Seed(20);
    game->Running = true;
  }
  auto begin = [](Game& game) {
    game.SurvivalMode = false;
    game.Level = 20;
    game.HighestLevel = 20;
    NewGame(game);
  };
  auto pass = [&begin](Game& game) {
    game.platform.BeginPass();
    RunPass(game);
    if (game.GameMode != "game") begin(game);
  };
  begin(plain);
  begin(recorded);
  Clock::duration plainTime{}, recordedTime{};
  bool plainFirst = true;
  for (auto _ : state) {
    Game& first = plainFirst ? plain : recorded;
    Game& second = plainFirst ? recorded : plain;
    const auto start = Clock::now();
    pass(first);
    const auto middle = Clock::now();
    pass(second);
    const auto end = Clock::now();
    (plainFirst ? plainTime : recordedTime) += middle - start;
    (plainFirst ? recordedTime : plainTime) += end - middle;
    plainFirst = !plainFirst;
  }
  const double passes = static_cast<double>(state.iterations());
  CountRatio(state, plainTime, recordedTime, passes);
}
BENCHMARK(BM_RecordedGamePassSdl)->Unit(benchmark::kMillisecond)->MinTime(3.0);
