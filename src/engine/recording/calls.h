// The typed record of one Engine, Utility or MusicPlayer call taken by the recording backend: one
// struct per operation, its arguments as named fields in the order the operation takes them, and
// `result` where the operation returns one. The trace text is written from these records (see
// FormatCall in trace.h); tests and benchmarks read the fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <variant>
#include <vector>

#include "engine/engine.h"

namespace call {

// Each record names its operation as the trace writes it and lists its arguments in order (an
// operation without arguments has no Args).
struct Initialize {
  static constexpr std::string_view kName = "Engine.Initialize";
  std::string window;  // always "frmMain"
  std::string appFolder;
  float width, height;
  bool fullScreen;
  int16_t a, b, c;
  auto Args() const { return std::tie(window, appFolder, width, height, fullScreen, a, b, c); }
};
struct IsKeyDown {
  static constexpr std::string_view kName = "Engine.IsKeyDown";
  int16_t scanCode;
  bool result;
  auto Args() const { return std::tie(scanCode); }
};
struct IsKeyHit {
  static constexpr std::string_view kName = "Engine.IsKeyHit";
  int16_t scanCode;
  bool result;
  auto Args() const { return std::tie(scanCode); }
};
struct LoadSound {
  static constexpr std::string_view kName = "Engine.LoadSound";
  std::string name, file;
  auto Args() const { return std::tie(name, file); }
};
struct PlaySound {
  static constexpr std::string_view kName = "Engine.PlaySound";
  std::string name;
  int16_t a, volume, c, d;
  auto Args() const { return std::tie(name, a, volume, c, d); }
};
struct LoadTexture {
  static constexpr std::string_view kName = "Engine.LoadTexture";
  std::string file;
  int32_t colorKey;
  auto Args() const { return std::tie(file, colorKey); }
};
struct DrawSprite {
  static constexpr std::string_view kName = "Engine.DrawSprite";
  Texture texture;  // written as the file it was loaded from
  float x, y, width, height, angle;
  int16_t opacity;
  float a, b, drawnWidth, drawnHeight, c, d;
  auto Args() const {
    return std::tie(texture, x, y, width, height, angle, opacity, a, b, drawnWidth, drawnHeight, c,
                    d);
  }
};
struct DrawBitmapText {
  static constexpr std::string_view kName = "Engine.DrawBitmapText";
  Texture fontTexture;
  std::string text;
  float x, y, scale, angle;
  int16_t opacity;
  float red, green, blue;
  auto Args() const {
    return std::tie(fontTexture, text, x, y, scale, angle, opacity, red, green, blue);
  }
};
struct BeginFrame {
  static constexpr std::string_view kName = "Engine.BeginFrame";
  int16_t a, b, c;
  auto Args() const { return std::tie(a, b, c); }
};
struct SetColor {
  static constexpr std::string_view kName = "Engine.SetColor";
  int16_t red, green, blue;
  auto Args() const { return std::tie(red, green, blue); }
};
struct TakeScreenshot {
  static constexpr std::string_view kName = "Engine.TakeScreenshot";
};
struct EndFrame {
  static constexpr std::string_view kName = "Engine.EndFrame";
};
struct CreateFont {
  static constexpr std::string_view kName = "Engine.CreateFont";
  std::string name, face;
  int16_t size, a, b;
  auto Args() const { return std::tie(name, face, size, a, b); }
};
struct DrawText {
  static constexpr std::string_view kName = "Engine.DrawText";
  std::string font;
  float x, y, width, height;
  std::string text;
  int32_t color;  // ARGB
  int16_t alignment;
  auto Args() const { return std::tie(font, x, y, width, height, text, color, alignment); }
};
struct Shutdown {
  static constexpr std::string_view kName = "Engine.Shutdown";
};

struct Setup {
  static constexpr std::string_view kName = "Utility.Setup";
  int16_t value;
  auto Args() const { return std::tie(value); }
};
struct ReadIni {
  static constexpr std::string_view kName = "Utility.ReadIni";
  std::string section, key, file;
  int16_t a;
  std::string result;
  auto Args() const { return std::tie(section, key, file, a); }
};
struct WriteIni {
  static constexpr std::string_view kName = "Utility.WriteIni";
  std::string section, key, value, file;
  int16_t a;
  auto Args() const { return std::tie(section, key, value, file, a); }
};
struct Distance {
  static constexpr std::string_view kName = "Utility.Distance";
  float x1, y1, x2, y2;
  float result;
  auto Args() const { return std::tie(x1, y1, x2, y2); }
};

struct MusicLoad {
  static constexpr std::string_view kName = "MusicPlayer.Load";
  std::string file;
  int16_t a;
  auto Args() const { return std::tie(file, a); }
};
struct MusicGetPosition {
  static constexpr std::string_view kName = "MusicPlayer.GetPosition";
  int32_t result;
};
struct MusicGetLength {
  static constexpr std::string_view kName = "MusicPlayer.GetLength";
  int32_t result;
};
struct MusicSetVolume {
  static constexpr std::string_view kName = "MusicPlayer.SetVolume";
  int16_t volume;
  auto Args() const { return std::tie(volume); }
};
struct MusicPlay {
  static constexpr std::string_view kName = "MusicPlayer.Play";
  int16_t a;
  auto Args() const { return std::tie(a); }
};

}  // namespace call

using Call =
    std::variant<call::Initialize, call::IsKeyDown, call::IsKeyHit, call::LoadSound,
                 call::PlaySound, call::LoadTexture, call::DrawSprite, call::DrawBitmapText,
                 call::BeginFrame, call::SetColor, call::TakeScreenshot, call::EndFrame,
                 call::CreateFont, call::DrawText, call::Shutdown, call::Setup, call::ReadIni,
                 call::WriteIni, call::Distance, call::MusicLoad, call::MusicGetPosition,
                 call::MusicGetLength, call::MusicSetVolume, call::MusicPlay>;

// The operation's name as the trace writes it, e.g. "Engine.DrawSprite".
inline std::string_view CallName(const Call& call) {
  return std::visit([](const auto& c) { return c.kName; }, call);
}

// The records of one operation among many, in order: CallsOf<call::DrawText>(calls).
template <typename T>
std::vector<T> CallsOf(const std::vector<Call>& calls) {
  std::vector<T> found;
  for (const Call& c : calls) {
    if (const T* one = std::get_if<T>(&c)) found.push_back(*one);
  }
  return found;
}
