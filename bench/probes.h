// Support for the benchmarks that run the whole game (Main) over the recording backend: a scratch
// application folder, and an engine and a platform that pass every call on to the backend while
// noting the moments the benchmarks report (the first frame, the splash wait, the first pass).
#pragma once

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "asset_files.h"
#include "engine/engine.h"
#include "forwarding.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// A fresh application folder with every asset file the game loads (empty: the recording backend
// only checks that they are there), an options file and a score file; removed at the end.
class ScratchFolder {
 public:
  ScratchFolder(const std::string& options, const std::string& scores) {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("swayfire-bench-" + std::to_string(::getpid()) + "-" + std::to_string(seed()));
    test::MakeAssetFiles(path_);
    Write("opt.ini", options);
    Write("files/bullet.dds", scores);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string str() const { return path_.string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary | std::ios::trunc) << text;
  }

 private:
  std::filesystem::path path_;
};

// A score file as the game leaves it after its first run, with start levels up to `passed` open.
inline std::string ScoreFile(int passed) {
  std::string text = "[SCORE]\nM1=0\n";
  for (int level = 1; level <= 50; ++level) text += "M2-" + std::to_string(level) + "=0\n";
  return text + "[LEVEL]\nPASSED=" + std::to_string(passed) + "\n";
}

// The engine of the backend, noting when the first frame (the splash logo) has been shown.
class EngineProbe : public ForwardingEngine {
 public:
  using ForwardingEngine::ForwardingEngine;
  Clock::time_point firstFrame{};

  void EndFrame() override {
    inner_.EndFrame();
    if (firstFrame == Clock::time_point{}) firstFrame = Clock::now();
  }
};

// The platform of the backend, noting the splash wait (from the first look at the tick counter to
// the last one before the first pass: nothing else happens in between) and the first pass, and
// letting the benchmark look at the game at the top of every pass.
class PlatformProbe : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  Clock::time_point waitStart{};
  Clock::time_point waitEnd{};
  Clock::time_point firstPass{};
  std::function<void()> onPass;

  uint32_t GetTickCount() override {
    if (firstPass == Clock::time_point{} && waitStart == Clock::time_point{}) {
      waitStart = Clock::now();
    }
    uint32_t ticks = inner_.GetTickCount();
    if (firstPass == Clock::time_point{}) waitEnd = Clock::now();
    return ticks;
  }
  void BeginPass() override {
    if (firstPass == Clock::time_point{}) firstPass = Clock::now();
    inner_.BeginPass();
    if (onPass) onPass();
  }
};

}  // namespace bench
