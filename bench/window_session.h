// For the benchmarks of the game in a real window: an X display without vsync (a private Xvfb,
// started once and stopped at exit; the current $DISPLAY when there is no Xvfb), a scratch copy
// of the game's folder, and runs of swayfire_window_probe in it, each in a process of its own.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The display the probes draw on: ":N", or "" with Problem() saying why there is none.
const std::string& BenchDisplay();
const std::string& BenchDisplayProblem();
// "Xvfb" or "$DISPLAY".
const std::string& BenchDisplayKind();

// A scratch folder holding the game's generated files (linked, not copied; the game writes its
// score file beside them, never into the build folder) and an opt.ini with sound on. Removed at
// exit. Returns "" and marks the benchmark skipped, saying why, when the build has no generated
// files.
std::string BenchGameFolder(benchmark::State& state);

struct ProbeRun {
  std::map<std::string, std::string> values;  // the probe's key=value lines
  int64_t spawned = 0;                        // steady-clock nanoseconds just before the start
  int64_t peakKilobytes = 0;                  // the probe's peak resident memory
  std::string problem;                        // "" when the probe ran and ended with status 0

  double Number(const std::string& key) const;
  // Milliseconds from the start of the process to the steady-clock time under `key`.
  double MillisecondsTo(const std::string& key) const;
};

// Runs swayfire_window_probe (beside the benchmark) with the arguments, on BenchDisplay(), with
// the dummy sound driver.
ProbeRun RunProbe(const std::vector<std::string>& arguments);

// The median of the values (0 for none).
double Median(std::vector<double> values);
