// Support for the benchmarks that run the whole game (Main) over the recording backend: a scratch
// application folder, and engine and platform objects that pass every call on to the backend while
// noting the moments the benchmarks report (the first frame, the splash wait, the first pass).
#pragma once

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "engine/engine.h"
#include "engine/paths.h"
#include "shell/game.h"

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
    std::filesystem::create_directories(path_ / "files");
    for (const char* name : {"logo.jpg",
                             "Font_Blue.bmp",
                             "font_default.dds",
                             "background.bmp",
                             "player_0.bmp",
                             "player_7.bmp",
                             "player_8.bmp",
                             "player_9.bmp",
                             "player_10.bmp",
                             "bonus.bmp",
                             "mainmenu_background.bmp",
                             "arrow.dds",
                             "menu-gametitle.dds",
                             "keys-fire.dds",
                             "keys-move.dds",
                             "hpbar.dds",
                             "menu_opt.wav",
                             "enter.wav",
                             "hs_name.wav",
                             "won.wav",
                             "fire.wav",
                             "bonus.wav",
                             "ai_die.wav",
                             "music.wav",
                             "hit_01.wav",
                             "hit_02.wav",
                             "hit_03.wav",
                             "hit_04.wav",
                             "hit_05.wav"}) {
      Write("files/" + std::string(name), "");
    }
    for (int i = 1; i <= 10; ++i) Write("files/ai_" + std::to_string(i) + ".bmp", "");
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
class EngineProbe : public Engine {
 public:
  explicit EngineProbe(Engine& inner) : in_(inner) {}
  Clock::time_point firstFrame{};

  void Initialize(WindowHandle w, const std::string& f, float wd, float h, bool fs, int16_t a,
                  int16_t b, int16_t c) override {
    in_.Initialize(w, f, wd, h, fs, a, b, c);
  }
  bool IsKeyDown(int16_t k) override { return in_.IsKeyDown(k); }
  bool IsKeyHit(int16_t k) override { return in_.IsKeyHit(k); }
  void LoadSound(const std::string& n, const std::string& f) override { in_.LoadSound(n, f); }
  void PlaySound(const std::string& n, int16_t a, int16_t v, int16_t c, int16_t d) override {
    in_.PlaySound(n, a, v, c, d);
  }
  void LoadTexture(Texture& t, const std::string& f, int32_t k) override {
    in_.LoadTexture(t, f, k);
  }
  void DrawSprite(const Texture& t, float x, float y, float w, float h, float angle, int16_t o,
                  float a, float b, float dw, float dh, float c, float d) override {
    in_.DrawSprite(t, x, y, w, h, angle, o, a, b, dw, dh, c, d);
  }
  void DrawBitmapText(const Texture& t, const std::string& s, float x, float y, float scale,
                      float angle, int16_t o, float r, float g, float b) override {
    in_.DrawBitmapText(t, s, x, y, scale, angle, o, r, g, b);
  }
  void BeginFrame(int16_t a, int16_t b, int16_t c) override { in_.BeginFrame(a, b, c); }
  void SetColor(int16_t r, int16_t g, int16_t b) override { in_.SetColor(r, g, b); }
  void TakeScreenshot() override { in_.TakeScreenshot(); }
  void EndFrame() override {
    in_.EndFrame();
    if (firstFrame == Clock::time_point{}) firstFrame = Clock::now();
  }
  void CreateFont(const std::string& n, const std::string& f, int16_t s, int16_t a,
                  int16_t b) override {
    in_.CreateFont(n, f, s, a, b);
  }
  void DrawText(const std::string& f, float x, float y, float w, float h, const std::string& s,
                int32_t c, int16_t a) override {
    in_.DrawText(f, x, y, w, h, s, c, a);
  }
  void Shutdown() override { in_.Shutdown(); }

 private:
  Engine& in_;
};

// The platform of the backend, noting the splash wait (from the first look at the tick counter to
// the last one before the first pass: nothing else happens in between) and the first pass, and
// letting the benchmark look at the game at the top of every pass.
class PlatformProbe : public Platform {
 public:
  explicit PlatformProbe(Platform& inner) : in_(inner) {}
  Clock::time_point waitStart{};
  Clock::time_point waitEnd{};
  Clock::time_point firstPass{};
  std::function<void()> onPass;

  WindowHandle MainWindow() override { return in_.MainWindow(); }
  void SetCaption(const std::string& c) override { in_.SetCaption(c); }
  void SetCloseHandler(std::function<void(int16_t&)> h) override {
    in_.SetCloseHandler(std::move(h));
  }
  void UnloadWindow() override { in_.UnloadWindow(); }
  bool WindowUnloaded() override { return in_.WindowUnloaded(); }
  uint32_t GetTickCount() override {
    if (firstPass == Clock::time_point{} && waitStart == Clock::time_point{}) {
      waitStart = Clock::now();
    }
    uint32_t ticks = in_.GetTickCount();
    if (firstPass == Clock::time_point{}) waitEnd = Clock::now();
    return ticks;
  }
  double TimeOfDay() override { return in_.TimeOfDay(); }
  void DoEvents() override { in_.DoEvents(); }
  void Beep() override { in_.Beep(); }
  void Sleep(uint32_t ms) override { in_.Sleep(ms); }
  void ReportFatal(const std::string& m) override { in_.ReportFatal(m); }
  void BeginPass() override {
    if (firstPass == Clock::time_point{}) firstPass = Clock::now();
    in_.BeginPass();
    if (onPass) onPass();
  }
  std::string AppFolder() override { return in_.AppFolder(); }
  std::string ExeName() override { return in_.ExeName(); }
  int VersionMajor() override { return in_.VersionMajor(); }
  int VersionMinor() override { return in_.VersionMinor(); }

 private:
  Platform& in_;
};

}  // namespace bench
