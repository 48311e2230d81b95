// Start-up of the whole game (Main) over the recording backend, on its virtual clock: the time to
// the first splash frame and to the end of loading (the first pass of the main loop), the two
// seconds of splash wait left out; each also as a multiple of one read of a key from the score
// file, measured in the same run (start-up reads 52 keys and, on a first run, writes 51). Then the
// peak resident memory of the headless game (swayfire-headless) playing a minute of a level-20
// game, against the same program started only to print its usage.
//
// The real window's start-up (SDL, textures decoded, fonts, audio) is not measured here.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/game.h"
#include "engine/recording/recording.h"
#include "io/ini_utility.h"
#include "probes.h"
#include "shell/shell.h"

namespace {

// Seconds of one ReadIni of a key from the score file, best of several rounds.
double ScoreReadSeconds(const std::string& folder) {
  Paths paths(folder);
  IniUtility utility(paths);
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    const int reads = 200;
    auto start = bench::Clock::now();
    for (int i = 0; i < reads; ++i) {
      benchmark::DoNotOptimize(utility.ReadIni("SCORE", "M2-50", "files\\bullet.dds", 0));
    }
    best = std::min(best, bench::Seconds(bench::Clock::now() - start) / reads);
  }
  return best;
}

// state.range(0): 0 = a score file from an earlier run, 1 = the first run (no score file: the
// defaults are written, without the flush to disk of the real game).
void BM_StartUp(benchmark::State& state) {
  const bool firstRun = state.range(0) == 1;
  bench::ScratchFolder folder("[OPTIONS]\nFS=False\nSND=True\n", bench::ScoreFile(20));
  const double scoreRead = ScoreReadSeconds(folder.str());

  double toFirstFrame = 0;
  double toLoaded = 0;
  double splashWait = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (firstRun) {
      std::filesystem::remove(folder.str() + "/files/bullet.dds");
    } else {
      folder.Write("files/bullet.dds", bench::ScoreFile(20));
    }
    auto backend =
        std::make_unique<RecordingBackend>(RecordingBackend::Options{folder.str(), 43200, false});
    backend->SetScript({}, 1);
    bench::EngineProbe engine(backend->engine());
    bench::PlatformProbe platform(backend->platform());
    Game game(engine, backend->utility(), backend->musicPlayer(), platform);
    state.ResumeTiming();

    auto start = bench::Clock::now();
    if (Main(game) != 0) state.SkipWithError("the game failed to start");
    double wait = bench::Seconds(platform.waitEnd - platform.waitStart);
    toFirstFrame += bench::Seconds(engine.firstFrame - start);
    toLoaded += bench::Seconds(platform.firstPass - start) - wait;
    splashWait += wait;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["first_frame_us"] = toFirstFrame / runs * 1e6;
  state.counters["loaded_us"] = toLoaded / runs * 1e6;
  state.counters["splash_wait_left_out_us"] = splashWait / runs * 1e6;
  state.counters["first_frame_x_score_read"] = toFirstFrame / runs / scoreRead;
  state.counters["loaded_x_score_read"] = toLoaded / runs / scoreRead;
}
BENCHMARK(BM_StartUp)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Runs the program with the arguments and returns its peak resident memory in kilobytes (or -1):
// the high-water mark of the process read at its very end (stopped there by ptrace). The resource
// usage that wait4 reports would not do: it counts this benchmark's own memory, which the child
// carries until its exec.
long PeakMemoryKilobytes(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(quiet, 1);
    ::dup2(quiet, 2);
    ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    ::execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  long peak = -1;
  ::waitpid(pid, &status, 0);  // stopped at its exec
  ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, reinterpret_cast<void*>(PTRACE_O_TRACEEXIT));
  ::ptrace(PTRACE_CONT, pid, nullptr, nullptr);
  for (;;) {
    if (::waitpid(pid, &status, 0) != pid) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status) == 0 ? peak : -1;
    if (WIFSIGNALED(status)) return -1;
    long signal = 0;
    if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
      std::ifstream in("/proc/" + std::to_string(pid) + "/status");
      std::string line;
      while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0) peak = std::stol(line.substr(6));
      }
    } else {
      signal = WSTOPSIG(status);
    }
    ::ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(signal));
  }
}

void BM_PeakMemory(benchmark::State& state) {
  const std::string program = ExecutableFolder() + "/../swayfire-headless";
  bench::ScratchFolder folder("[OPTIONS]\nFS=False\nSND=True\n", bench::ScoreFile(20));
  std::string script = "5 tap 208\n";
  for (int i = 0; i < 19; ++i) script += std::to_string(10 + i) + " tap 205\n";
  script += "40 tap 28\n41 down 35\n";
  for (int pass = 50; pass < 3600; pass += 6) {
    script += std::to_string(pass) + " tap " + std::to_string(30 + pass / 6 % 3) + "\n";
    if (pass % 60 == 0) script += std::to_string(pass) + " tap 18\n";
  }
  folder.Write("level20.txt", script);

  long game = 0;
  long idle = 0;
  for (auto _ : state) {
    game = PeakMemoryKilobytes({program, "--folder", folder.str(), "--input",
                                folder.str() + "/level20.txt", "--passes", "3600"});
    idle = PeakMemoryKilobytes({program, "--help"});
    if (game < 0 || idle < 0) state.SkipWithError(("cannot run " + program).c_str());
  }
  state.counters["game_peak_mb"] = static_cast<double>(game) / 1024.0;
  state.counters["idle_peak_mb"] = static_cast<double>(idle) / 1024.0;
  state.counters["x_idle"] = static_cast<double>(game) / static_cast<double>(idle);
}
BENCHMARK(BM_PeakMemory)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
