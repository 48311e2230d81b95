// swayfire-assetgen OUTPUT_DIR [PREVIEW_DIR]
// Writes every picture, sound and the music the game loads into OUTPUT_DIR. With PREVIEW_DIR,
// also writes PNG copies of the pictures there, for looking at them.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "assets.h"
#include "writers.h"

namespace {

std::string out, preview;

void Picture(const std::string& name, const Image& img,
             void (*write)(const std::string&, const Image&)) {
  write(out + "/" + name, img);
  if (!preview.empty()) WritePng(preview + "/" + name + ".png", img);
}

void Sound(const std::string& name, const Samples& samples, int channels = 1) {
  WriteWav(out + "/" + name, samples, channels, kSampleRate);
}

void WriteDxt1(const std::string& path, const Image& img) {
  WriteDdsCompressed(path, img, Dxt::kDxt1);
}
void WriteDxt5(const std::string& path, const Image& img) {
  WriteDdsCompressed(path, img, Dxt::kDxt5);
}
void WriteLogo(const std::string& path, const Image& img) {
  WriteJpeg(path, img, 92);
}

void Generate() {
  const Image atlas = MakeFontAtlas();
  Picture("font_default.dds", atlas, WriteDdsRgba);
  std::printf("font: \"REVIVAL \" advances %d px, digits %d..%d px\n",
              AtlasAdvance(atlas, "REVIVAL "), AtlasAdvance(atlas, "1"), AtlasAdvance(atlas, "0"));
  Picture("Font_Blue.bmp", MakeBlueFont(), WriteBmp24);
  for (int i : {10, 9, 8, 7, 0})
    Picture("player_" + std::to_string(i) + ".bmp", MakeShip(i), WriteBmp32);
  for (int i = 1; i <= 10; ++i)
    Picture("ai_" + std::to_string(i) + ".bmp", MakeDrone(i), WriteBmp32);
  Picture("bonus.bmp", MakeGem(), WriteBmp32);
  Picture("arrow.dds", MakeArrow(), WriteDdsRgba);
  Picture("hpbar.dds", MakeHealthBar(), WriteDxt1);
  Picture("background.bmp", MakeGameBackground(), WriteBmp24);
  Picture("mainmenu_background.bmp", MakeMenuBackground(), WriteBmp24);
  Picture("menu-gametitle.dds", MakeTitle(), WriteDdsRgba);
  Picture("logo.jpg", MakeLogo(), WriteLogo);
  Picture("keys-fire.dds", MakeKeysFire(), WriteDxt5);
  Picture("keys-move.dds", MakeKeysMove(), WriteDxt5);
  Sound("menu_opt.wav", MakeMenuClick());
  Sound("enter.wav", MakeEnterChime());
  Sound("hs_name.wav", MakeHighScoreFanfare());
  Sound("won.wav", MakeLevelWonJingle());
  Sound("fire.wav", MakeFireZap());
  Sound("bonus.wav", MakeBonusPickup());
  for (int i = 1; i <= 5; ++i) Sound("hit_0" + std::to_string(i) + ".wav", MakeHit(i));
  Sound("ai_die.wav", MakeEnemyExplosion());
  // Quality 0.3 (about 110 kbit/s): no audible loss on the synths' highs, a tenth of the WAV.
  WriteOggVorbis(out + "/music.ogg", MakeMusic(), 2, kSampleRate, 0.3f);
  // Earlier versions wrote the music as WAV; a copy left behind would stand in for a bad .ogg.
  std::filesystem::remove(out + "/music.wav");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [PREVIEW_DIR]\n", argv[0]);
    return 2;
  }
  out = argv[1];
  if (argc > 2) preview = argv[2];
  try {
    std::filesystem::create_directories(out);
    if (!preview.empty()) std::filesystem::create_directories(preview);
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
    Generate();
    IMG_Quit();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "swayfire-assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
