// The SDL backend drawing into SDL's offscreen window with the software renderer, and sounding
// through SDL's dummy audio driver: what the frame shows is read back through TakeScreenshot.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "engine/sdl/sdl_backend.h"
#include "engine/sdl/sdl_platform.h"
#include "engine/sdl/sdl_text.h"

namespace fs = std::filesystem;

// fontconfig loses a little memory while it parses its configuration, once per process; that is
// its own, not ours (read by LeakSanitizer in the sanitizer build, unused otherwise).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

using Rgb = std::array<int, 3>;

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// An uncompressed 32-bit DDS from RGBA pixels.
void WriteDds(const fs::path& path, int width, int height, const std::vector<uint8_t>& rgba) {
  std::vector<uint8_t> bytes = {'D', 'D', 'S', ' '};
  for (uint32_t v : {124u, 0x100Fu, uint32_t(height), uint32_t(width), uint32_t(width * 4), 0u, 0u})
    Put32(bytes, v);
  for (int i = 0; i < 11; ++i) Put32(bytes, 0);
  for (uint32_t v : {32u, 0x41u, 0u, 32u, 0xFFu, 0xFF00u, 0xFF0000u, 0xFF000000u}) Put32(bytes, v);
  for (uint32_t v : {0x1000u, 0u, 0u, 0u, 0u}) Put32(bytes, v);
  bytes.insert(bytes.end(), rgba.begin(), rgba.end());
  WriteFile(path, bytes);
}

// A 16-bit mono WAV of `ms` milliseconds of a quiet tone.
void WriteWav(const fs::path& path, int ms) {
  const int rate = 22050, frames = rate * ms / 1000;
  std::vector<uint8_t> bytes = {'R', 'I', 'F', 'F'};
  Put32(bytes, 36 + frames * 2);
  for (char c : std::string("WAVEfmt ")) bytes.push_back(static_cast<uint8_t>(c));
  Put32(bytes, 16);
  for (uint8_t b : {1, 0, 1, 0}) bytes.push_back(b);  // PCM, mono
  Put32(bytes, rate);
  Put32(bytes, rate * 2);
  for (uint8_t b : {2, 0, 16, 0}) bytes.push_back(b);
  for (char c : std::string("data")) bytes.push_back(static_cast<uint8_t>(c));
  Put32(bytes, frames * 2);
  for (int i = 0; i < frames; ++i) {
    int16_t s = static_cast<int16_t>((i % 50 < 25) ? 1000 : -1000);
    bytes.push_back(static_cast<uint8_t>(s & 0xFF));
    bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
  }
  WriteFile(path, bytes);
}

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseOffscreenSdl(audioDriver_);
    folder_ = fs::temp_directory_path() /
              ("swayfire-sdl-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "files");
    system_ = std::make_unique<SdlSystem>();
    if (!system_->Ok()) GTEST_SKIP() << "no offscreen video: " << system_->Error();
    sdl_ = std::make_unique<SdlBackend>(Paths(folder_.string()));
    window_ = &sdl_->window;
    audio_ = &sdl_->audio;
    engine_ = &sdl_->engine;
    music_ = &sdl_->musicPlayer;
    engine_->Initialize(window_, folder_.string(), 640, 480, false, 0, 0, -1);
  }

  void TearDown() override {
    sdl_.reset();
    system_.reset();
    fs::remove_all(folder_);
  }

  // A solid picture with one magenta pixel at (1, 1), written as a 24-bit BMP.
  Texture SolidBmp(const std::string& name, Rgb colour, int size, int32_t key = 0) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, size, size, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, colour[0], colour[1], colour[2]));
    SDL_Rect spot = {1, 1, 1, 1};
    SDL_FillRect(s, &spot, SDL_MapRGB(s->format, 255, 0, 255));
    SDL_SaveBMP(s, (folder_ / "files" / name).c_str());
    SDL_FreeSurface(s);
    Texture texture;
    engine_->LoadTexture(texture, "files\\" + name, key);
    return texture;
  }

  // Takes a screenshot of the frame and keeps it for Pixel().
  void Capture() {
    engine_->TakeScreenshot();
    ASSERT_FALSE(engine_->LastScreenshot().empty());
    SDL_Surface* png = IMG_Load(engine_->LastScreenshot().c_str());
    ASSERT_NE(png, nullptr) << IMG_GetError();
    shot_.reset(SDL_ConvertSurfaceFormat(png, SDL_PIXELFORMAT_RGBA32, 0));
    SDL_FreeSurface(png);
    fs::remove(engine_->LastScreenshot());
  }
  Rgb Pixel(int x, int y) const {
    const uint8_t* p = static_cast<const uint8_t*>(shot_->pixels) + y * shot_->pitch + x * 4;
    return {p[0], p[1], p[2]};
  }
  void Draw(const Texture& t, float x, float y, float w, float h, float angle = 0,
            int16_t opacity = 100, float drawnW = 0, float drawnH = 0) {
    engine_->DrawSprite(t, x, y, w, h, angle, opacity, 0, 0, drawnW, drawnH, -1, -1);
  }

  const char* audioDriver_ = "dummy";
  fs::path folder_;
  std::unique_ptr<SdlSystem> system_;
  std::unique_ptr<SdlBackend> sdl_;
  SdlWindow* window_ = nullptr;
  SdlAudio* audio_ = nullptr;
  SdlEngine* engine_ = nullptr;
  SdlMusicPlayer* music_ = nullptr;
  struct FreeSurface {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
  };
  std::unique_ptr<SDL_Surface, FreeSurface> shot_;
};

const Rgb kBlack = {0, 0, 0};
const Rgb kWhite = {255, 255, 255};

}  // namespace

TEST_F(SdlBackendTest, SpriteRegionPlacementStretchAndClipping) {
  Texture white = SolidBmp("white.bmp", kWhite, 8);
  engine_->BeginFrame(0, 0, 0);
  Draw(white, 10, 20, 4, 3);                      // the 4 x 3 region, natural size
  Draw(white, 100, 100, 4, 4, 0, 100, 16, 8);     // stretched to 16 x 8
  Draw(white, 200, 200, 16, 16);                  // larger than the picture: only its 8 x 8 exist
  Draw(white, 300, 300, 16, 16, 0, 100, 32, 32);  // ... and stretched alike: 16 x 16 drawn
  Capture();
  EXPECT_EQ(Pixel(10, 20), kWhite);
  EXPECT_EQ(Pixel(13, 22), kWhite);
  EXPECT_EQ(Pixel(14, 22), kBlack);
  EXPECT_EQ(Pixel(13, 23), kBlack);
  EXPECT_EQ(Pixel(115, 107), kWhite);
  EXPECT_EQ(Pixel(116, 107), kBlack);
  EXPECT_EQ(Pixel(207, 207), kWhite);
  EXPECT_EQ(Pixel(208, 200), kBlack);
  EXPECT_EQ(Pixel(315, 315), kWhite);
  EXPECT_EQ(Pixel(316, 300), kBlack);
  EXPECT_EQ(Pixel(300, 316), kBlack);
}

TEST_F(SdlBackendTest, TintOpacityAndNothingForEmptySizes) {
  Texture white = SolidBmp("white.bmp", kWhite, 8);
  engine_->SetColor(0, 255, 300);  // clamped to 255
  engine_->EndFrame();             // the tint outlives the frame
  engine_->BeginFrame(0, 0, 0);
  Draw(white, 10, 10, 8, 8);
  Draw(white, 30, 10, 8, 8, 0, 50);
  Draw(white, 50, 10, 8, 8, 0, 0);           // opacity 0
  Draw(white, 70, 10, 0, 8);                 // no width
  Draw(white, 90, 10, 8, 8, 0, 100, -8, 8);  // negative drawn size
  Capture();
  EXPECT_EQ(Pixel(13, 13), (Rgb{0, 255, 255}));
  EXPECT_NEAR(Pixel(33, 13)[1], 128, 2);
  EXPECT_EQ(Pixel(33, 13)[0], 0);
  EXPECT_EQ(Pixel(53, 13), kBlack);
  EXPECT_EQ(Pixel(73, 13), kBlack);
  EXPECT_EQ(Pixel(85, 13), kBlack);
  EXPECT_EQ(Pixel(93, 13), kBlack);

  // BeginFrame clears to black.
  engine_->BeginFrame(0, 0, 0);
  Capture();
  EXPECT_EQ(Pixel(13, 13), kBlack);
}

TEST_F(SdlBackendTest, RotationTurnsAboutTheCentre) {
  Texture white = SolidBmp("white.bmp", kWhite, 16);
  engine_->BeginFrame(0, 0, 0);
  Draw(white, 100, 100, 16, 2, 90);  // a flat bar turned upright about (108, 101)
  Capture();
  EXPECT_EQ(Pixel(108, 94), kWhite);
  EXPECT_EQ(Pixel(108, 107), kWhite);
  EXPECT_EQ(Pixel(101, 101), kBlack);
  EXPECT_EQ(Pixel(114, 101), kBlack);
}

TEST_F(SdlBackendTest, ColourKeyMakesThosePixelsTransparent) {
  Texture keyed = SolidBmp("keyed.bmp", {0, 0, 200}, 4, 0xFF00FF);
  Texture plain = SolidBmp("plain.bmp", {0, 0, 200}, 4, 0);
  engine_->BeginFrame(0, 0, 0);
  Draw(keyed, 0, 0, 4, 4);
  Draw(plain, 10, 0, 4, 4);
  Capture();
  EXPECT_EQ(Pixel(0, 0), (Rgb{0, 0, 200}));
  EXPECT_EQ(Pixel(1, 1), kBlack);
  EXPECT_EQ(Pixel(11, 1), (Rgb{255, 0, 255}));
}

TEST_F(SdlBackendTest, DdsPicturesKeepTheirAlpha) {
  // 2 x 1: opaque red, half-transparent green.
  WriteDds(folder_ / "files" / "two.dds", 2, 1, {255, 0, 0, 255, 0, 255, 0, 128});
  Texture two;
  engine_->LoadTexture(two, "files\\two.dds", 0);
  engine_->BeginFrame(0, 0, 0);
  Draw(two, 0, 0, 2, 1);
  Capture();
  EXPECT_EQ(Pixel(0, 0), (Rgb{255, 0, 0}));
  EXPECT_NEAR(Pixel(1, 0)[1], 128, 2);
}

TEST_F(SdlBackendTest, PictureFailuresNameTheFileAndTheReason) {
  Texture texture;
  const std::string missing = (folder_ / "files" / "missing.bmp").string();
  try {
    engine_->LoadTexture(texture, "files\\missing.bmp", 0);
    FAIL() << "no error";
  } catch (const EngineError& error) {
    EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("not found"), std::string::npos) << error.what();
  }
  WriteFile(folder_ / "files" / "broken.dds", {'D', 'D', 'S', ' ', 1, 2, 3});
  WriteFile(folder_ / "files" / "broken.jpg", {0xFF, 0xD8, 0xFF, 0, 1, 2});
  for (const char* name : {"files\\broken.dds", "files\\broken.jpg"}) {
    EXPECT_THROW(engine_->LoadTexture(texture, name, 0), EngineError) << name;
  }
  EXPECT_EQ(texture, nullptr);
}

TEST_F(SdlBackendTest, BitmapTextDrawsGlyphsFromTheAtlas) {
  // An atlas whose 'A' is a 10 x 32 block at column 4 of its cell; everything else empty.
  std::vector<uint8_t> atlas(512 * 256 * 4, 0);
  const int cellX = ('A' - 32) % 16 * 32, cellY = ('A' - 32) / 16 * 32;
  for (int y = cellY; y < cellY + 32; ++y) {
    for (int x = cellX + 4; x < cellX + 14; ++x) {
      uint8_t* p = &atlas[(y * 512 + x) * 4];
      p[0] = p[1] = p[2] = p[3] = 255;
    }
  }
  WriteDds(folder_ / "files" / "font_default.dds", 512, 256, atlas);
  Texture font;
  engine_->LoadTexture(font, "files\\font_default.dds", 0);
  engine_->SetColor(0, 0, 0);  // the sprite tint does not colour bitmap text
  engine_->BeginFrame(0, 0, 0);
  engine_->DrawBitmapText(font, "A a", 50, 60, 1, 0, 100, 255, 0, 0);
  engine_->DrawBitmapText(font, "A", 50, 200, 2, 0, 100, 0, 0, 255);
  Capture();
  EXPECT_EQ(Pixel(50, 60), (Rgb{255, 0, 0}));
  EXPECT_EQ(Pixel(59, 91), (Rgb{255, 0, 0}));
  EXPECT_EQ(Pixel(60, 70), kBlack);
  // Advance 12 for 'A', 18 for the space: the lower-case a starts at 80.
  EXPECT_EQ(Pixel(79, 70), kBlack);
  EXPECT_EQ(Pixel(80, 70), (Rgb{255, 0, 0}));
  EXPECT_EQ(Pixel(89, 70), (Rgb{255, 0, 0}));
  // Scale 2: 20 x 64.
  EXPECT_EQ(Pixel(69, 263), (Rgb{0, 0, 255}));
  EXPECT_EQ(Pixel(70, 263), kBlack);
  EXPECT_EQ(Pixel(69, 264), kBlack);
}

TEST_F(SdlBackendTest, TrueTypeTextAlignsAndIsRenderedOnce) {
  ASSERT_FALSE(FindFontFile("Tahoma").empty());
  engine_->CreateFont("score", "Tahoma", 14, 0, 0);
  auto inkColumns = [&](int top, int bottom) {
    int left = 640, right = -1;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < 640; ++x)
        if (Pixel(x, y)[0] > 128) left = std::min(left, x), right = std::max(right, x);
    return std::pair{left, right};
  };
  for (int frame = 0; frame < 3; ++frame) {
    engine_->BeginFrame(0, 0, 0);
    engine_->DrawText("score", 100, 10, 200, 30, "SCORE 88", -1, 0);
    engine_->DrawText("score", 100, 50, 200, 30, "SCORE 88", packColor(255, 255, 0, 0), 2);
    engine_->DrawText("score", 100, 90, 200, 30, "SCORE 88", packColor(255, 255, 255, 255), 1);
    engine_->DrawText("score", 100, 130, 200, 30, "SCORE 88", packColor(0, 255, 255, 255), 0);
    engine_->DrawText("nofont", 100, 170, 200, 30, "SCORE 88", -1, 0);
    engine_->EndFrame();
  }
  Capture();
  auto [left, right] = inkColumns(10, 40);
  EXPECT_GE(left, 100);
  EXPECT_LT(left, 104);
  const int width = right - left;
  EXPECT_GT(width, 50);  // 14 pt at 96 dpi: about 19 px high, so wider than 50
  auto [rLeft, rRight] = inkColumns(50, 80);
  EXPECT_GT(rRight, 295);
  EXPECT_LE(rRight, 300);
  EXPECT_EQ(Pixel(rLeft, 65)[1] + Pixel(rRight - 1, 65)[1], 0);  // red text: no green
  auto [cLeft, cRight] = inkColumns(90, 120);
  EXPECT_NEAR((cLeft + cRight) / 2.0, 200, 3);
  EXPECT_EQ(inkColumns(130, 200).second, -1);  // transparent, and an unknown font
  // Three frames of the same string in three colours: rendered once.
  EXPECT_EQ(engine_->Text().Renders(), 1u);
}

TEST_F(SdlBackendTest, ScreenshotsAreNamedByTheTimeAndSizedAsTheFrame) {
  engine_->TakeScreenshot();
  const fs::path shot = engine_->LastScreenshot();
  ASSERT_FALSE(shot.empty());
  EXPECT_EQ(shot.parent_path(), folder_);
  EXPECT_TRUE(
      std::regex_match(shot.filename().string(), std::regex(R"(swayfire-\d{8}-\d{6}-\d{3}\.png)")))
      << shot;
  SDL_Surface* png = IMG_Load(shot.c_str());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->w, 640);
  EXPECT_EQ(png->h, 480);
  SDL_FreeSurface(png);
}

TEST_F(SdlBackendTest, KeysFromEventsHitOncePerPress) {
  auto push = [](Uint32 type, SDL_Scancode key, bool repeat = false, Uint16 mod = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.scancode = key;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat ? 1 : 0;
    SDL_PushEvent(&event);
  };
  push(SDL_KEYDOWN, SDL_SCANCODE_A);
  push(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
  engine_->EndFrame();
  EXPECT_TRUE(engine_->IsKeyDown(Key::A));
  EXPECT_TRUE(engine_->IsKeyHit(Key::A));
  EXPECT_FALSE(engine_->IsKeyHit(Key::A));  // consumed
  push(SDL_KEYDOWN, SDL_SCANCODE_A, true);  // a key repeat is no new press
  engine_->EndFrame();
  EXPECT_FALSE(engine_->IsKeyHit(Key::A));
  EXPECT_FALSE(engine_->IsKeyHit(Key::Space));  // not read in time: dropped
  EXPECT_TRUE(engine_->IsKeyDown(Key::Space));
  push(SDL_KEYUP, SDL_SCANCODE_A);
  push(SDL_KEYDOWN, SDL_SCANCODE_RETURN, false, KMOD_LALT);  // Alt+Enter is the window's
  SdlPlatform& platform = sdl_->platform;
  platform.DoEvents();
  EXPECT_FALSE(engine_->IsKeyDown(Key::A));
  EXPECT_FALSE(engine_->IsKeyHit(Key::Enter));
  EXPECT_FALSE(engine_->IsKeyDown(Key::Enter));
}

// F11 and Alt+Enter pressed faster than the display switches: at most one switch a pump, none
// sooner than a moment after the last, to the mode the last press asked for.
TEST_F(SdlBackendTest, FullScreenPressesMakeOneSwitchAtATimeToTheLastWish) {
  auto press = [](SDL_Scancode key, Uint16 mod = 0) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = key;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
  };
  SdlPlatform& platform = sdl_->platform;
  ASSERT_FALSE(window_->FullScreen());
  for (int i = 0; i < 3; ++i) press(SDL_SCANCODE_F11);
  platform.DoEvents();
  EXPECT_TRUE(window_->FullScreen());
  EXPECT_FALSE(engine_->IsKeyDown(Key::Enter));

  press(SDL_SCANCODE_F11);
  press(SDL_SCANCODE_RETURN, KMOD_LALT);  // an even number: no switch
  platform.DoEvents();
  EXPECT_TRUE(window_->FullScreen());
  press(SDL_SCANCODE_RETURN, KMOD_RALT);  // too soon after the last switch: waits for it to settle
  platform.DoEvents();
  EXPECT_TRUE(window_->FullScreen());
  SDL_Delay(FullScreenSwitch::kSettleMilliseconds);
  platform.DoEvents();
  EXPECT_FALSE(window_->FullScreen());
  EXPECT_FALSE(engine_->IsKeyHit(Key::Enter));  // the game never sees them
}

// A message box (a score that cannot be saved) takes the keyboard and the focus while it is open.
// Once it is closed no key stays held, and its taking the focus does not pause the game, which
// goes on; a later switch to another window still does.
TEST_F(SdlBackendTest, AClosedMessageBoxLeavesNoKeyHeldAndDoesNotPause) {
  SdlPlatform platform(*window_, *audio_, folder_.string());
  SDL_Event press{};
  press.type = SDL_KEYDOWN;
  press.key.keysym.scancode = SDL_SCANCODE_A;
  SDL_PushEvent(&press);
  engine_->EndFrame();
  ASSERT_TRUE(engine_->IsKeyDown(Key::A));

  window_->MessageBoxClosed();
  EXPECT_FALSE(engine_->IsKeyDown(Key::A));
  SDL_Event focus{};
  focus.type = SDL_WINDOWEVENT;
  focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  focus.window.windowID = SDL_GetWindowID(window_->Get());
  SDL_PushEvent(&focus);
  engine_->EndFrame();
  EXPECT_FALSE(platform.LostFocus());

  SDL_PushEvent(&focus);
  engine_->EndFrame();
  EXPECT_TRUE(platform.LostFocus());
}

TEST_F(SdlBackendTest, CloseRequestsGoThroughTheHandler) {
  Texture white = SolidBmp("white.bmp", kWhite, 8);
  SdlPlatform& platform = sdl_->platform;
  int calls = 0;
  bool cancel = true;
  platform.SetCloseHandler([&](int16_t& c) {
    ++calls;
    if (cancel) c = 1;
  });
  // The close button sends a window close and a quit: one request.
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  close.window.windowID = SDL_GetWindowID(window_->Get());
  SDL_PushEvent(&close);
  SDL_PushEvent(&quit);
  engine_->EndFrame();
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(platform.WindowUnloaded());

  cancel = false;
  SDL_PushEvent(&quit);
  platform.DoEvents();
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(platform.WindowUnloaded());
  EXPECT_EQ(window_->Get(), nullptr);
  // Without a window the engine goes on harmlessly: loading still checks files, drawing shows
  // nothing, and textures from before let go of themselves safely.
  Texture later = SolidBmp("later.bmp", kWhite, 8);
  EXPECT_NE(later, nullptr);
  EXPECT_THROW(engine_->LoadTexture(later, "files\\none.bmp", 0), EngineError);
  engine_->BeginFrame(0, 0, 0);
  Draw(white, 0, 0, 8, 8);
  engine_->EndFrame();
  white.reset();
  platform.UnloadWindow();
  EXPECT_EQ(calls, 2);
}

TEST_F(SdlBackendTest, MusicFallsBackToAnotherExtensionAndReportsItsEnd) {
  EXPECT_EQ(music_->GetPosition(), 0);  // nothing loaded
  EXPECT_EQ(music_->GetLength(), 0);
  music_->Play(-1);

  WriteFile(folder_ / "files" / "music.wma", {'n', 'o', 't', ' ', 'w', 'm', 'a'});
  WriteWav(folder_ / "files" / "music.wav", 150);
  music_->Load("files\\music.wma", 0);
  ASSERT_TRUE(audio_->IsOpen());
  EXPECT_EQ(fs::path(music_->LoadedFile()).filename(), "music.wav");
  EXPECT_NEAR(music_->GetLength(), 150, 2);
  EXPECT_EQ(music_->GetPosition(), music_->GetLength());  // not playing: due to start
  music_->Play(-1);
  music_->SetVolume(90);
  EXPECT_LT(music_->GetPosition(), music_->GetLength());
  // It plays once and then reports its end, for the main loop to start it again.
  for (int i = 0; i < 300 && music_->GetPosition() < music_->GetLength(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(music_->GetPosition(), music_->GetLength());

  try {
    music_->Load("files\\other.wma", 0);
    FAIL() << "no error";
  } catch (const EngineError& error) {
    EXPECT_NE(std::string(error.what()).find("other.wma"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find(".ogg"), std::string::npos) << error.what();
  }
  EXPECT_EQ(music_->GetLength(), 0);
}

TEST_F(SdlBackendTest, SoundsPlayByNameAndMissingFilesFail) {
  WriteWav(folder_ / "files" / "fire.wav", 300);
  engine_->LoadSound("fire", "files\\fire.wav");
  engine_->LoadSound("fire2", "files\\fire.wav");
  EXPECT_THROW(engine_->LoadSound("hit", "files\\hit.wav"), EngineError);
  engine_->PlaySound("nothing", 0, 100, 0, 0);
  EXPECT_EQ(Mix_Playing(-1), 0);
  for (int i = 0; i < 70; ++i) engine_->PlaySound(i % 2 ? "fire" : "fire2", 0, 100, 0, 0);
  EXPECT_GE(Mix_Playing(-1), SdlAudio::kChannels);  // a screen full of hits at once
  EXPECT_EQ(MixerVolume(90), 115);
  EXPECT_EQ(MixerVolume(150), MIX_MAX_VOLUME);
  EXPECT_EQ(MixerVolume(-5), 0);
}

class SilentSdlBackendTest : public SdlBackendTest {
 protected:
  SilentSdlBackendTest() { audioDriver_ = "no-such-driver"; }
};

TEST_F(SilentSdlBackendTest, WithoutASoundDeviceEverythingIsHarmless) {
  WriteWav(folder_ / "files" / "fire.wav", 100);
  WriteWav(folder_ / "files" / "music.ogg", 100);
  engine_->LoadSound("fire", "files\\fire.wav");
  EXPECT_FALSE(audio_->IsOpen());
  engine_->PlaySound("fire", 0, 100, 0, 0);
  music_->Load("files\\music.wma", 0);
  music_->Play(-1);
  music_->SetVolume(90);
  EXPECT_EQ(music_->GetPosition(), 0);
  EXPECT_EQ(music_->GetLength(), 0);
  sdl_->platform.Beep();
  // Missing files are still reported.
  EXPECT_THROW(engine_->LoadSound("hit", "files\\hit.wav"), EngineError);
  EXPECT_THROW(music_->Load("files\\none.wma", 0), EngineError);
}

TEST_F(SdlBackendTest, TheFrameStaysSharpAtAnyWindowSize) {
  EXPECT_NE(SDL_GetWindowFlags(window_->Get()) & SDL_WINDOW_ALLOW_HIGHDPI, 0u);
  // 1000 x 750 is 1.5625 times the frame: smoothing would show greys between the pixels.
  SDL_SetWindowSize(window_->Get(), 1000, 750);
  engine_->EndFrame();
  Texture white = SolidBmp("white.bmp", kWhite, 8);
  engine_->BeginFrame(0, 0, 0);
  for (int y = 0; y < 40; ++y) {
    for (int x = y % 2; x < 40; x += 2) Draw(white, x, y, 1, 1);  // a checkerboard of pixels
  }
  engine_->EndFrame();
  SDL_Surface* shown = SDL_GetWindowSurface(window_->Get());
  ASSERT_NE(shown, nullptr) << SDL_GetError();
  ASSERT_EQ(shown->w, 1000);
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(shown, SDL_PIXELFORMAT_RGBA32, 0);
  ASSERT_NE(rgba, nullptr);
  int white_ = 0, black = 0, other = 0;
  for (int y = 0; y < 62; ++y) {
    for (int x = 0; x < 62; ++x) {
      const uint8_t* p = static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch + x * 4;
      const Rgb c = {p[0], p[1], p[2]};
      (c == kWhite ? white_ : c == kBlack ? black : other)++;
    }
  }
  SDL_FreeSurface(rgba);
  EXPECT_EQ(other, 0);
  EXPECT_GT(white_, 62 * 62 / 3);
  EXPECT_GT(black, 62 * 62 / 3);
}
