// The whole game logic in a long headless replay: Main over the recording backend with the trace
// off, a scripted level-20 game of ten minutes (36,000 passes): the menu is walked to start level
// 20, then the ship moves, fires in every direction and keeps its health up (H held, E pressed),
// and a new game starts whenever one ends. Reported: passes per second (target: at least 100,000)
// and the cost of a pass as a multiple of an empty pass measured in the same run (a pass that only
// begins and ends a frame on the same backend: what the engine costs with no game at all).
// The same replay also runs as the player would run it: the swayfire-headless program on a script
// file, timed from its start to its end (its start-up and reading the script included).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <fstream>

#include <memory>
#include <string>
#include <vector>

#include "core/game.h"
#include "engine/recording/recording.h"
#include "probes.h"
#include "shell/shell.h"

namespace {

constexpr int64_t kReplayPasses = 36000;

std::vector<ScriptEvent> LevelTwentyScript() {
  using Kind = ScriptEvent::Kind;
  std::vector<ScriptEvent> script;
  script.push_back({5, Kind::Tap, Key::Down});  // the level entry
  for (int i = 0; i < 19; ++i) script.push_back({10 + i, Kind::Tap, Key::Right});
  script.push_back({40, Kind::Tap, Key::Enter});
  script.push_back({41, Kind::Down, Key::H});
  const int16_t fire[] = {Key::A, Key::W, Key::D, Key::S};
  const int16_t moves[] = {Key::Left, Key::Up, Key::Right, Key::Down};
  for (int64_t pass = 50; pass < kReplayPasses; ++pass) {
    if (pass % 6 == 0) script.push_back({pass, Kind::Tap, fire[(pass / 6) % 4]});
    if (pass % 40 == 0) script.push_back({pass, Kind::Tap, Key::E});
    if (pass % 90 == 0) {
      script.push_back({pass, Kind::Up, moves[(pass / 90 + 3) % 4]});
      script.push_back({pass, Kind::Down, moves[(pass / 90) % 4]});
    }
    // In a game Enter does nothing; in the menu after a game it starts the next one.
    if (pass % 600 == 0) script.push_back({pass, Kind::Tap, Key::Enter});
  }
  return script;
}

// The script as the headless program reads it: "<pass> <down|up|tap> <scan code>" lines.
std::string ScriptText(const std::vector<ScriptEvent>& script) {
  std::string text = "# a level-20 game: fire every way, keep healthy, start again when it ends\n";
  for (const ScriptEvent& event : script) {
    const char* kind = event.kind == ScriptEvent::Kind::Down ? "down"
                       : event.kind == ScriptEvent::Kind::Up ? "up"
                                                             : "tap";
    text += std::to_string(event.pass) + " " + kind + " " + std::to_string(event.scanCode) + "\n";
  }
  return text;
}

// Runs the program with the arguments (output thrown away); its exit status, or -1.
int RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (failed != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Processor time used by this process so far.
double ProcessorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Seconds per pass of the baseline: begin a pass, begin and end a frame, nothing else.
double EmptyPassSeconds() {
  RecordingBackend backend(RecordingBackend::Options{".", 43200, false});
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    const int passes = 200000;
    auto start = bench::Clock::now();
    for (int i = 0; i < passes; ++i) {
      backend.platform().BeginPass();
      backend.engine().BeginFrame(0, 0, 0);
      backend.engine().EndFrame();
    }
    best = std::min(best, bench::Seconds(bench::Clock::now() - start) / passes);
  }
  return best;
}

}  // namespace

static void BM_EmptyPass(benchmark::State& state) {
  RecordingBackend backend(RecordingBackend::Options{".", 43200, false});
  for (auto _ : state) {
    backend.platform().BeginPass();
    backend.engine().BeginFrame(0, 0, 0);
    backend.engine().EndFrame();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EmptyPass);

static void BM_LevelTwentyReplay(benchmark::State& state) {
  const double emptyPass = EmptyPassSeconds();
  bench::ScratchFolder folder("[OPTIONS]\nFS=False\nSND=True\n", bench::ScoreFile(20));
  const std::vector<ScriptEvent> script = LevelTwentyScript();

  double seconds = 0;
  double fastest = 1e9;  // seconds per pass of the fastest replay
  double cpuSeconds = 0;
  int64_t passes = 0;
  int64_t gamePasses = 0;
  int16_t levelPlayed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Write("files/bullet.dds", bench::ScoreFile(20));
    auto backend =
        std::make_unique<RecordingBackend>(RecordingBackend::Options{folder.str(), 43200, false});
    backend->SetScript(script, kReplayPasses);
    bench::PlatformProbe platform(backend->platform());
    Game game(backend->engine(), backend->utility(), backend->musicPlayer(), platform);
    game.Rnd.Seed(20);
    platform.onPass = [&] {
      if (game.GameMode == "game") {
        ++gamePasses;
        levelPlayed = std::max(levelPlayed, game.Level);
      }
    };
    state.ResumeTiming();

    auto start = bench::Clock::now();
    double cpuStart = ProcessorSeconds();
    if (Main(game) != 0) state.SkipWithError("the game failed");
    double replay = bench::Seconds(bench::Clock::now() - start);
    seconds += replay;
    cpuSeconds += ProcessorSeconds() - cpuStart;
    fastest = std::min(fastest, replay / static_cast<double>(backend->Pass()));
    passes += backend->Pass();
  }
  state.SetItemsProcessed(passes);
  state.counters["passes_per_second"] = static_cast<double>(passes) / seconds;
  // The same on the processor's clock, which a machine busy with other work does not slow down.
  state.counters["passes_per_cpu_second"] = static_cast<double>(passes) / cpuSeconds;
  // Fastest against fastest: the least disturbed by other work on the machine.
  state.counters["x_empty_pass"] = fastest / emptyPass;
  state.counters["game_share"] = static_cast<double>(gamePasses) / static_cast<double>(passes);
  state.counters["level"] = levelPlayed;
}
BENCHMARK(BM_LevelTwentyReplay)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

static void BM_HeadlessProgramReplay(benchmark::State& state) {
  bench::ScratchFolder folder("[OPTIONS]\nFS=False\nSND=True\n", bench::ScoreFile(20));
  const std::string script = folder.str() + "/level20.txt";
  std::ofstream(script) << ScriptText(LevelTwentyScript());
  double seconds = 0;
  int64_t passes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Write("files/bullet.dds", bench::ScoreFile(20));
    state.ResumeTiming();
    const auto start = bench::Clock::now();
    const int status = RunProgram({SWAYFIRE_HEADLESS, "--folder", folder.str(), "--input", script,
                                   "--passes", std::to_string(kReplayPasses), "--seed", "20"});
    seconds += bench::Seconds(bench::Clock::now() - start);
    if (status != 0) {
      state.SkipWithError(
          ("swayfire-headless ended with status " + std::to_string(status)).c_str());
      return;
    }
    passes += kReplayPasses;
  }
  state.SetItemsProcessed(passes);
  state.counters["passes_per_second"] = static_cast<double>(passes) / seconds;
}
BENCHMARK(BM_HeadlessProgramReplay)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
