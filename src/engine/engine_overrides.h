// The overrides of the engine's interfaces, declared once for every class that implements them:
// a backend writes ENGINE_WINDOW_AND_DRAWING_OVERRIDES (the Engine but its keys and sound effects,
// which engine/common answers alike), UTILITY_OVERRIDES or MUSIC_PLAYER_OVERRIDES in its class and
// defines the functions in its own files, so a change of an interface is made here alone.
#pragma once

#include "engine/engine.h"

#define ENGINE_WINDOW_AND_DRAWING_OVERRIDES                                                     \
  void Initialize(WindowHandle window, const std::string& appFolder, float width, float height, \
                  bool fullScreen, int16_t a, int16_t b, int16_t c) override;                   \
  void LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) override;       \
  void DrawSprite(const Texture& texture, float x, float y, float width, float height,          \
                  float angle, int16_t opacity, float a, float b, float drawnWidth,             \
                  float drawnHeight, float c, float d) override;                                \
  void DrawBitmapText(const Texture& fontTexture, const std::string& text, float x, float y,    \
                      float scale, float angle, int16_t opacity, float red, float green,        \
                      float blue) override;                                                     \
  void BeginFrame(int16_t a, int16_t b, int16_t c) override;                                    \
  void SetColor(int16_t red, int16_t green, int16_t blue) override;                             \
  void TakeScreenshot() override;                                                               \
  void EndFrame() override;                                                                     \
  void CreateFont(const std::string& name, const std::string& face, int16_t size, int16_t a,    \
                  int16_t b) override;                                                          \
  void DrawText(const std::string& font, float x, float y, float width, float height,           \
                const std::string& text, int32_t color, int16_t alignment) override;            \
  void Shutdown() override

#define UTILITY_OVERRIDES                                                                          \
  void Setup(int16_t value) override;                                                              \
  std::string ReadIni(const std::string& section, const std::string& key, const std::string& file, \
                      int16_t a) override;                                                         \
  void WriteIni(const std::string& section, const std::string& key, const std::string& value,      \
                const std::string& file, int16_t a) override;                                      \
  void WriteIniUnless(const std::string& section, const std::string& key,                         \
                      const std::string& value, const std::string& file,                           \
                      const std::function<bool(const std::string& stored)>& keep) override;        \
  float Distance(float x1, float y1, float x2, float y2) override

#define MUSIC_PLAYER_OVERRIDES                            \
  void Load(const std::string& file, int16_t a) override; \
  int32_t GetPosition() override;                         \
  int32_t GetLength() override;                           \
  void SetVolume(int16_t volume) override;                \
  void Play(int16_t a) override
