// swayfire_window_probe: the real game (Main on the SDL backend, in a real window) in a process of
// its own, measured from inside. The window benchmarks start one probe per measurement, so each
// starts cold and has SDL to itself.
//
//   swayfire_window_probe startup FOLDER          start-up, then 30 menu passes, then a close
//   swayfire_window_probe pacing FOLDER SECONDS   menu passes: one second of warm-up, then SECONDS
//   swayfire_window_probe bare                    the same window with bare SDL: one black frame
//
// FOLDER holds the game's files and an opt.ini; the probe reads and writes there as the game does
// beside its executable. The two-second splash wait is skipped (the clock jumps over it), so the
// start-up figures are the game's own work. Prints key=value lines; times are steady-clock
// nanoseconds (CLOCK_MONOTONIC, the same clock as the parent's).
#include <SDL.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/game.h"
#include "engine/sdl/sdl_backend.h"
#include "engine/sdl/sdl_platform.h"
#include "forwarding.h"
#include "io/ini_utility.h"
#include "io/paths.h"
#include "shell/shell.h"

namespace {

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Processor time used by this process so far, all threads, in seconds.
double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Print(const char* key, int64_t value) {
  std::printf("%s=%lld\n", key, static_cast<long long>(value));
}

void Print(const char* key, double value) {
  std::printf("%s=%.6f\n", key, value);
}

void Print(const char* key, const std::string& value) {
  std::printf("%s=%s\n", key, value.c_str());
}

// Notes when each frame has been shown (EndFrame returns once it is on screen and paced).
class ProbeEngine : public ForwardingEngine {
 public:
  using ForwardingEngine::ForwardingEngine;
  void Initialize(WindowHandle window, const std::string& appFolder, float width, float height,
                  bool fullScreen, int16_t a, int16_t b, int16_t c) override {
    ForwardingEngine::Initialize(window, appFolder, width, height, fullScreen, a, b, c);
    initialized = Now();
  }
  void LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) override {
    ForwardingEngine::LoadTexture(texture, file, colorKey);
    if (firstPicture == 0) firstPicture = Now();
  }
  void EndFrame() override {
    const int64_t drawn = Now();
    ForwardingEngine::EndFrame();
    const int64_t now = Now();
    if (firstFrame == 0) {
      firstFrame = now;
      firstFrameDrawn = drawn;
    }
    if (recording) {
      drawnAt.push_back(drawn);
      frames.push_back(now);
    }
  }

  // Start-up: the window and renderer made, the splash logo loaded, the splash drawn, and shown.
  int64_t initialized = 0;
  int64_t firstPicture = 0;
  int64_t firstFrameDrawn = 0;
  int64_t firstFrame = 0;
  bool recording = false;
  std::vector<int64_t> frames;   // when each frame had been shown and paced
  std::vector<int64_t> drawnAt;  // when its drawing was done, before it was shown
};

// The game's folder is the probe's FOLDER; the splash wait is skipped; the passes of the main loop
// are counted and, when `stop` says so, the window gets a close request as from its close button.
class ProbePlatform : public ForwardingPlatform {
 public:
  ProbePlatform(Platform& inner, std::string folder)
      : ForwardingPlatform(inner), folder_(std::move(folder)) {}

  std::string AppFolder() override { return folder_; }
  std::string ExeName() override { return "swayfire"; }

  // The first reading starts the splash wait: loading is done. Every later reading is more than
  // two seconds on.
  uint32_t GetTickCount() override {
    const uint32_t ticks = inner_.GetTickCount();
    if (loaded == 0) {
      loaded = Now();
      return ticks;
    }
    return ticks + 2001;
  }

  void BeginPass() override {
    ForwardingPlatform::BeginPass();
    if (passes++ == 0) running = Now();
    if (!closing && stop && stop(passes)) {
      closing = true;
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
  }

  int64_t loaded = 0;
  int64_t running = 0;
  int64_t passes = 0;
  bool closing = false;
  std::function<bool(int64_t passes)> stop;

 private:
  std::string folder_;
};

int Fail(const std::string& message) {
  Print("error", message);
  return 3;
}

// The game on the SDL backend, built as the game's main() builds it, with the probes between.
struct Backend {
  explicit Backend(const std::string& folder)
      : sdl(Paths(folder)),
        probeEngine(sdl.engine),
        probePlatform(sdl.platform, folder),
        game(probeEngine, sdl.utility, sdl.musicPlayer, probePlatform) {}

  SdlBackend sdl;
  ProbeEngine probeEngine;
  ProbePlatform probePlatform;
  Game game;
};

int Startup(const std::string& folder, int64_t mainStart) {
  SdlSystem system;
  if (!system.Ok()) return Fail(system.Error());
  Backend backend(folder);
  std::string renderer;
  bool vsync = false;
  backend.probePlatform.stop = [&](int64_t passes) {
    if (passes == 1) {
      renderer = backend.sdl.engine.RendererName();
      vsync = backend.sdl.engine.VSync();
    }
    return passes > 30;
  };
  const int status = Main(backend.game);
  if (status != 0) return Fail("the game ended with status " + std::to_string(status));
  Print("main", mainStart);
  Print("initialized", backend.probeEngine.initialized);
  Print("first_picture", backend.probeEngine.firstPicture);
  Print("first_frame_drawn", backend.probeEngine.firstFrameDrawn);
  Print("first_frame", backend.probeEngine.firstFrame);
  Print("loaded", backend.probePlatform.loaded);
  Print("running", backend.probePlatform.running);
  Print("renderer", renderer);
  Print("vsync", static_cast<int64_t>(vsync ? 1 : 0));
  return 0;
}

int Pacing(const std::string& folder, double seconds) {
  SdlSystem system;
  if (!system.Ok()) return Fail(system.Error());
  Backend backend(folder);
  int64_t start = 0;
  const auto span = static_cast<int64_t>(seconds * 1e9);
  std::string renderer;
  bool vsync = false;
  double processorStart = -1, processorEnd = 0;
  backend.probePlatform.stop = [&](int64_t) {
    const int64_t now = Now();
    if (start == 0) {
      start = now + 1'000'000'000;  // one second of warm-up
      renderer = backend.sdl.engine.RendererName();
      vsync = backend.sdl.engine.VSync();
    }
    backend.probeEngine.recording = now >= start;
    if (now >= start && processorStart < 0) processorStart = ProcessorSeconds();
    if (now >= start + span) processorEnd = ProcessorSeconds();
    return now >= start + span;
  };
  const int status = Main(backend.game);
  if (status != 0) return Fail("the game ended with status " + std::to_string(status));

  const std::vector<int64_t>& frames = backend.probeEngine.frames;
  if (frames.size() < 3) return Fail("too few frames");
  const std::vector<int64_t>& drawn = backend.probeEngine.drawnAt;
  // The time between two frames, and the pass's own work in it: the game's logic and drawing,
  // from the end of one frame to the moment the next one is handed over to be shown.
  std::vector<double> intervals, work;
  for (size_t i = 1; i < frames.size(); ++i) {
    intervals.push_back((frames[i] - frames[i - 1]) / 1e6);
    work.push_back((drawn[i] - frames[i - 1]) / 1e6);
  }
  auto percentileOf = [](std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * (values.size() - 1) + 0.5))];
  };
  std::vector<double> sorted = intervals;
  std::sort(sorted.begin(), sorted.end());
  auto percentile = [&](double p) { return percentileOf(intervals, p); };
  Print("frames", static_cast<int64_t>(frames.size()));
  Print("seconds", (frames.back() - frames.front()) / 1e9);
  Print("passes_per_second", intervals.size() / ((frames.back() - frames.front()) / 1e9));
  Print("p50_ms", percentile(0.50));
  Print("p99_ms", percentile(0.99));
  Print("min_ms", sorted.front());
  Print("max_ms", sorted.back());
  Print("work_p50_ms", percentileOf(work, 0.50));
  Print("work_p99_ms", percentileOf(work, 0.99));
  // All of the process's threads (the renderer may draw on several), per frame.
  Print("processor_ms_per_frame",
        (processorEnd - processorStart) * 1e3 / static_cast<double>(intervals.size()));
  Print("renderer", renderer);
  Print("vsync", static_cast<int64_t>(vsync ? 1 : 0));
  return 0;
}

// What any SDL program pays for its first picture: SDL, a window as large as the game's, a
// renderer, one black frame shown.
int Bare(int64_t mainStart) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return Fail(SDL_GetError());
  SDL_Window* window =
      SDL_CreateWindow("swayfire 1.0", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                       2 * SdlWindow::kWidth, 2 * SdlWindow::kHeight, SDL_WINDOW_RESIZABLE);
  if (window == nullptr) return Fail(SDL_GetError());
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) return Fail(SDL_GetError());
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
  SDL_PumpEvents();
  const int64_t firstFrame = Now();
  Print("main", mainStart);
  Print("first_frame", firstFrame);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int64_t mainStart = Now();
  const std::string mode = argc > 1 ? argv[1] : "";
  int status = 2;
  if (mode == "startup" && argc == 3) {
    status = Startup(argv[2], mainStart);
  } else if (mode == "pacing" && argc == 4) {
    status = Pacing(argv[2], std::atof(argv[3]));
  } else if (mode == "bare" && argc == 2) {
    status = Bare(mainStart);
  } else {
    std::fprintf(stderr,
                 "usage: swayfire_window_probe startup FOLDER | pacing FOLDER SECONDS | bare\n");
  }
  std::fflush(stdout);
  return status;
}
