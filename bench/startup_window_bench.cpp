// Start-up of the real game in a real window (a private Xvfb), each run a fresh process: the time
// from starting the process to the first splash frame on screen, to the end of loading (textures,
// fonts, the 13 sounds and the music; the two-second splash wait is skipped), and to the first
// pass of the main loop (the score file read and completed); and the peak resident memory of a
// run that goes on for 30 menu passes. The baseline, measured in the same run, is a bare SDL
// program that opens the same window and shows one black frame.
//
// Counters (medians of the runs): window_ms (SDL up, the window and its renderer made),
// first_frame_ms, loaded_ms, main_loop_ms, peak_MB; bare_frame_ms and bare_peak_MB;
// first_frame_ratio and peak_ratio (the game over the bare program).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "window_session.h"

static void BM_StartupRealWindow(benchmark::State& state) {
  const std::string folder = BenchGameFolder(state);
  if (folder.empty()) return;
  std::string problem;
  std::vector<double> window, firstFrame, loaded, running, peak, bareFrame, barePeak;
  std::string renderer;
  for (auto _ : state) {
    const ProbeRun game = RunProbe({"startup", folder});
    const ProbeRun bare = RunProbe({"bare"});
    if (!game.problem.empty() || !bare.problem.empty()) {
      problem = !game.problem.empty() ? game.problem : bare.problem;
      break;
    }
    window.push_back(game.MillisecondsTo("initialized"));
    firstFrame.push_back(game.MillisecondsTo("first_frame"));
    loaded.push_back(game.MillisecondsTo("loaded"));
    running.push_back(game.MillisecondsTo("running"));
    peak.push_back(static_cast<double>(game.peakKilobytes) / 1024.0);
    bareFrame.push_back(bare.MillisecondsTo("first_frame"));
    barePeak.push_back(static_cast<double>(bare.peakKilobytes) / 1024.0);
    if (auto it = game.values.find("renderer"); it != game.values.end()) renderer = it->second;
    state.SetIterationTime(loaded.back() / 1000.0);
  }
  if (!problem.empty()) {
    state.SkipWithError(problem.c_str());
    return;
  }
  state.counters["window_ms"] = Median(window);
  state.counters["first_frame_ms"] = Median(firstFrame);
  state.counters["loaded_ms"] = Median(loaded);
  state.counters["main_loop_ms"] = Median(running);
  state.counters["peak_MB"] = Median(peak);
  state.counters["bare_frame_ms"] = Median(bareFrame);
  state.counters["bare_peak_MB"] = Median(barePeak);
  state.counters["first_frame_ratio"] = Median(firstFrame) / Median(bareFrame);
  state.counters["peak_ratio"] = Median(peak) / Median(barePeak);
  state.SetLabel(BenchDisplayKind() + ", " + renderer + " renderer");
}
BENCHMARK(BM_StartupRealWindow)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
