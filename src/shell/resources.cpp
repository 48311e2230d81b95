#include <string>
#include <vector>

#include "render/drawing.h"
#include "shell/shell.h"

namespace {

// The pictures and sounds of the asset list (assets.def), in its order.
struct PictureFile {
  const char* file;
  Texture& texture;
  int32_t colorKey;
};

std::vector<PictureFile> Pictures(Game& game) {
  return {
#define PICTURE(file, texture, colorKey, ...) {"files\\" file, game.texture, colorKey},
#include "assets.def"
  };
}

struct SoundFile {
  const char* file;
  std::vector<const char*> names;  // "fire" and "fire2" share one file
};

const std::vector<SoundFile> kSounds = {
#define SOUND(file, madeBy, ...) {"files\\" file, {__VA_ARGS__}},
#include "assets.def"
};

constexpr uint32_t kSplashMilliseconds = 2000;
// The splash wait sleeps this long between two looks at the window, so it stays responsive
// without keeping a core busy.
constexpr uint32_t kSplashNap = 10;

}  // namespace

void LoadTextures(Game& game) {
  Engine& engine = game.engine;
  const std::vector<PictureFile> pictures = Pictures(game);
  for (size_t i = 0; i < pictures.size(); ++i) {
    const PictureFile& picture = pictures[i];
    engine.LoadTexture(picture.texture, picture.file, picture.colorKey);
    if (i == 0) {
      // The splash logo: on screen at once, while the others load.
      DrawSprite(engine, picture.texture, {.size = {640.0f, 480.0f}});
      game.platform.DoEvents();
      engine.EndFrame();
    }
  }
}

void CreateFonts(Game& game) {
  game.engine.CreateFont("smalltext", "Verdana", 7, 0, 0);
  game.engine.CreateFont("score", "Tahoma", 14, 0, 0);
  game.engine.CreateFont("xl", "Tahoma", 72, 0, 0);
}

void LoadSounds(Game& game) {
  if (game.utility.ReadIni("OPTIONS", "SND", "opt.ini", 0) == "True") {
    for (const SoundFile& sound : kSounds) {
      for (const char* name : sound.names) game.engine.LoadSound(name, sound.file);
    }
    game.musicPlayer.Load("files\\music.wma", 0);
    game.musicPlayer.Play(-1);
    game.musicPlayer.SetVolume(90);
  }

  // Hold the splash for two seconds, looking after the window meanwhile.
  Platform& platform = game.platform;
  const uint32_t start = platform.GetTickCount();
  while (platform.GetTickCount() - start <= kSplashMilliseconds) {
    platform.DoEvents();
    if (platform.WindowUnloaded()) return;
    platform.Sleep(kSplashNap);
  }
}

void ReleaseTextures(Game& game) {
  for (const PictureFile& picture : Pictures(game)) picture.texture.reset();
}
