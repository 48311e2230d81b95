// An Engine, a Utility and a Platform that pass every call on to other ones. The replay layer
// derives from them to look at, or answer itself, the calls a replay keeps, while the backend does
// the rest.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/engine.h"

class ForwardingEngine : public Engine {
 public:
  explicit ForwardingEngine(Engine& inner) : inner_(inner) {}

  void Initialize(WindowHandle window, const std::string& appFolder, float width, float height,
                  bool fullScreen, int16_t a, int16_t b, int16_t c) override {
    inner_.Initialize(window, appFolder, width, height, fullScreen, a, b, c);
  }
  bool IsKeyDown(int16_t scanCode) override { return inner_.IsKeyDown(scanCode); }
  bool IsKeyHit(int16_t scanCode) override { return inner_.IsKeyHit(scanCode); }
  void LoadSound(const std::string& name, const std::string& file) override {
    inner_.LoadSound(name, file);
  }
  void PlaySound(const std::string& name, int16_t a, int16_t volume, int16_t c,
                 int16_t d) override {
    inner_.PlaySound(name, a, volume, c, d);
  }
  void LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) override {
    inner_.LoadTexture(texture, file, colorKey);
  }
  void DrawSprite(const Texture& texture, float x, float y, float width, float height, float angle,
                  int16_t opacity, float a, float b, float drawnWidth, float drawnHeight, float c,
                  float d) override {
    inner_.DrawSprite(texture, x, y, width, height, angle, opacity, a, b, drawnWidth, drawnHeight,
                      c, d);
  }
  void DrawBitmapText(const Texture& fontTexture, const std::string& text, float x, float y,
                      float scale, float angle, int16_t opacity, float red, float green,
                      float blue) override {
    inner_.DrawBitmapText(fontTexture, text, x, y, scale, angle, opacity, red, green, blue);
  }
  void BeginFrame(int16_t a, int16_t b, int16_t c) override { inner_.BeginFrame(a, b, c); }
  void SetColor(int16_t red, int16_t green, int16_t blue) override {
    inner_.SetColor(red, green, blue);
  }
  void TakeScreenshot() override { inner_.TakeScreenshot(); }
  void EndFrame() override { inner_.EndFrame(); }
  void CreateFont(const std::string& name, const std::string& face, int16_t size, int16_t a,
                  int16_t b) override {
    inner_.CreateFont(name, face, size, a, b);
  }
  void DrawText(const std::string& font, float x, float y, float width, float height,
                const std::string& text, int32_t color, int16_t alignment) override {
    inner_.DrawText(font, x, y, width, height, text, color, alignment);
  }
  void Shutdown() override { inner_.Shutdown(); }

 protected:
  Engine& inner_;
};

class ForwardingUtility : public Utility {
 public:
  explicit ForwardingUtility(Utility& inner) : inner_(inner) {}

  void Setup(int16_t value) override { inner_.Setup(value); }
  std::string ReadIni(const std::string& section, const std::string& key, const std::string& file,
                      int16_t a) override {
    return inner_.ReadIni(section, key, file, a);
  }
  void WriteIni(const std::string& section, const std::string& key, const std::string& value,
                const std::string& file, int16_t a) override {
    inner_.WriteIni(section, key, value, file, a);
  }
  void WriteIniUnless(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& file,
                      const std::function<bool(const std::string& stored)>& keep) override {
    inner_.WriteIniUnless(section, key, value, file, keep);
  }
  float Distance(float x1, float y1, float x2, float y2) override {
    return inner_.Distance(x1, y1, x2, y2);
  }

 protected:
  Utility& inner_;
};

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

  WindowHandle MainWindow() override { return inner_.MainWindow(); }
  void SetCaption(const std::string& caption) override { inner_.SetCaption(caption); }
  void SetCloseHandler(std::function<void(int16_t& cancel)> handler) override {
    inner_.SetCloseHandler(std::move(handler));
  }
  void UnloadWindow() override { inner_.UnloadWindow(); }
  bool WindowUnloaded() override { return inner_.WindowUnloaded(); }
  uint32_t GetTickCount() override { return inner_.GetTickCount(); }
  double TimeOfDay() override { return inner_.TimeOfDay(); }
  void DoEvents() override { inner_.DoEvents(); }
  void Beep() override { inner_.Beep(); }
  void Sleep(uint32_t milliseconds) override { inner_.Sleep(milliseconds); }
  void ReportFatal(const std::string& message) override { inner_.ReportFatal(message); }
  void ShowWarning(const std::string& title, const std::string& text) override {
    inner_.ShowWarning(title, text);
  }
  void BeginPass() override { inner_.BeginPass(); }
  bool LostFocus() override { return inner_.LostFocus(); }
  std::string AppFolder() override { return inner_.AppFolder(); }
  std::string ExeName() override { return inner_.ExeName(); }
  int VersionMajor() override { return inner_.VersionMajor(); }
  int VersionMinor() override { return inner_.VersionMinor(); }

 protected:
  Platform& inner_;
};
