// The engine component as the game sees it: drawing, keys, sounds (Engine), INI files and a
// distance (Utility), one music track (MusicPlayer), and the few platform services around them
// (Platform). Game logic talks only to these interfaces. Three backends implement them:
// src/engine/sdl (the desktop), src/engine/web (the browser) and src/engine/recording (headless:
// tests, golden replays, swayfire-headless, benchmarks); what they do alike is in
// src/engine/common.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

// A failure the engine reports. The shell ends the program with its message and a non-zero status.
class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A loaded picture. Backends derive from it; `file` is the name it was loaded from (as the game
// gave it, e.g. "files\logo.jpg"), which the headless trace prints in place of the texture.
struct TextureData {
  explicit TextureData(std::string file_name) : file(std::move(file_name)) {}
  virtual ~TextureData() = default;
  std::string file;
};
using Texture = std::shared_ptr<TextureData>;

// Opaque handle of the game's one window (frmMain), handed to Engine::Initialize.
using WindowHandle = void*;

// 32-bit ARGB text colour: alpha in the top byte, then red, green, blue. -1 is opaque white.
inline int32_t packColor(int alpha, int red, int green, int blue) {
  return static_cast<int32_t>(
      (static_cast<uint32_t>(alpha & 255) << 24) | (static_cast<uint32_t>(red & 255) << 16) |
      (static_cast<uint32_t>(green & 255) << 8) | static_cast<uint32_t>(blue & 255));
}

// Keyboard scan codes the game uses.
namespace Key {
inline constexpr int16_t Escape = 1;
inline constexpr int16_t W = 17;
inline constexpr int16_t E = 18;
inline constexpr int16_t R = 19;
inline constexpr int16_t T = 20;
inline constexpr int16_t P = 25;
inline constexpr int16_t Enter = 28;
inline constexpr int16_t A = 30;
inline constexpr int16_t S = 31;
inline constexpr int16_t D = 32;
inline constexpr int16_t H = 35;
inline constexpr int16_t Space = 57;
inline constexpr int16_t Up = 200;
inline constexpr int16_t Left = 203;
inline constexpr int16_t Right = 205;
inline constexpr int16_t Down = 208;
}  // namespace Key

class Engine {
 public:
  virtual ~Engine() = default;

  // Binds the engine to the window: a 640 x 480 drawing surface, windowed or full screen.
  virtual void Initialize(WindowHandle window, const std::string& appFolder, float width,
                          float height, bool fullScreen, int16_t a, int16_t b, int16_t c) = 0;
  // True while the key is held.
  virtual bool IsKeyDown(int16_t scanCode) = 0;
  // True once per press: a key-down seen in the latest pump of events, consumed when read.
  virtual bool IsKeyHit(int16_t scanCode) = 0;
  virtual void LoadSound(const std::string& name, const std::string& file) = 0;
  // Plays the named sound once, mixed with others; volume in percent. An unknown name plays
  // nothing.
  virtual void PlaySound(const std::string& name, int16_t a, int16_t volume, int16_t c,
                         int16_t d) = 0;
  // Loads a picture into `texture`; pixels of the colour key (RGB, 0 = none) become transparent.
  virtual void LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) = 0;
  // Draws the width x height region at the texture's top-left corner at (x, y), stretched to the
  // drawn size unless that is 0 x 0, rotated about its centre (degrees), times the tint, at the
  // opacity (percent). A size or opacity of 0 or less shows nothing.
  virtual void DrawSprite(const Texture& texture, float x, float y, float width, float height,
                          float angle, int16_t opacity, float a, float b, float drawnWidth,
                          float drawnHeight, float c, float d) = 0;
  // Text from the bitmap-font atlas, top-left at (x, y).
  virtual void DrawBitmapText(const Texture& fontTexture, const std::string& text, float x, float y,
                              float scale, float angle, int16_t opacity, float red, float green,
                              float blue) = 0;
  virtual void BeginFrame(int16_t a, int16_t b, int16_t c) = 0;
  // The tint of every later DrawSprite, kept across frames; (255, 255, 255) is none.
  virtual void SetColor(int16_t red, int16_t green, int16_t blue) = 0;
  virtual void TakeScreenshot() = 0;
  // Shows the frame built since the last one, paces the passes, processes window events.
  virtual void EndFrame() = 0;
  virtual void CreateFont(const std::string& name, const std::string& face, int16_t size, int16_t a,
                          int16_t b) = 0;
  // Text in the box; alignment 0 left, 1 centred, 2 right. Colour is ARGB.
  virtual void DrawText(const std::string& font, float x, float y, float width, float height,
                        const std::string& text, int32_t color, int16_t alignment) = 0;
  virtual void Shutdown() = 0;
};

class Utility {
 public:
  virtual ~Utility() = default;
  virtual void Setup(int16_t value) = 0;
  // The value under section and key of an INI file; "" when the file, section or key is missing.
  virtual std::string ReadIni(const std::string& section, const std::string& key,
                              const std::string& file, int16_t a) = 0;
  // Stores the value, creating the file, section or key as needed. The write is atomic.
  virtual void WriteIni(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file, int16_t a) = 0;
  // WriteIni for a value that must only get better (a record): `keep` is given the value the file
  // holds at that moment ("" when none) and says whether it stays instead. Looking and writing are
  // one step, which no other writer of the file (another copy of the game) comes between. A trace
  // of the calls shows it as the WriteIni it asks for.
  virtual void WriteIniUnless(const std::string& section, const std::string& key,
                              const std::string& value, const std::string& file,
                              const std::function<bool(const std::string& stored)>& keep) = 0;
  virtual float Distance(float x1, float y1, float x2, float y2) = 0;
};

class MusicPlayer {
 public:
  virtual ~MusicPlayer() = default;
  virtual void Load(const std::string& file, int16_t a) = 0;
  // Position and length in milliseconds; with nothing loaded both are 0.
  virtual int32_t GetPosition() = 0;
  virtual int32_t GetLength() = 0;
  virtual void SetVolume(int16_t volume) = 0;
  // Starts the track from its beginning; with nothing loaded, plays nothing.
  virtual void Play(int16_t a) = 0;
};

// The services of the operating system around the engine: the window frmMain, clocks, beep,
// folders.
class Platform {
 public:
  virtual ~Platform() = default;

  // The window frmMain: its handle for Engine::Initialize, its caption, and its close handler,
  // which receives every close request (window close button, SIGINT, SIGTERM). When the handler
  // leaves Cancel at 0 the window is unloaded and WindowUnloaded() becomes true.
  virtual WindowHandle MainWindow() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetCloseHandler(std::function<void(int16_t& cancel)> handler) = 0;
  // Unloads frmMain at shutdown: runs the close handler, then closes the window.
  virtual void UnloadWindow() = 0;
  virtual bool WindowUnloaded() = 0;

  // Milliseconds since an arbitrary start, wrapping like a 32-bit counter.
  virtual uint32_t GetTickCount() = 0;
  // Seconds since local midnight, with fraction.
  virtual double TimeOfDay() = 0;
  // Processes pending window messages once.
  virtual void DoEvents() = 0;
  virtual void Beep() = 0;
  // Waits about this many milliseconds without using the processor (the splash wait uses it).
  virtual void Sleep(uint32_t milliseconds) = 0;
  // Tells the player that the program cannot go on: a line on standard error, and a message box
  // when there is a display.
  virtual void ReportFatal(const std::string& message) = 0;
  // Tells the player of a trouble the game goes on without (a score that cannot be saved): a
  // message box with the title and text where there is a window, which holds the game until it is
  // closed; the game then goes on at its normal pace. The caller says it on standard error too.
  virtual void ShowWarning(const std::string& title, const std::string& text) = 0;
  // Called by the main loop at the top of every pass, before anything else of that pass.
  virtual void BeginPass() = 0;
  // True once when the window lost the focus (the player switched to another window) in the
  // latest processing of window messages; consumed when read. Every held key has been let go.
  // A platform without a window never loses the focus.
  virtual bool LostFocus() { return false; }

  // The application folder, where the options file, the score file and screenshots live (no
  // trailing separator): the executable's folder when the game runs from a folder it can write
  // (the build folder), the player's own folder (~/.local/share/swayfire) when it is installed,
  // /save in the browser. The game's pictures and sounds are looked for beside it or in the
  // installed data folder. Then the executable's file name without extension, and its version.
  virtual std::string AppFolder() = 0;
  virtual std::string ExeName() = 0;
  virtual int VersionMajor() = 0;
  virtual int VersionMinor() = 0;
};
