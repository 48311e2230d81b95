// swayfire-assetgen OUTPUT_DIR [PREVIEW_DIR]
// Writes every picture, sound and the music of the asset list (data/assets.def) into OUTPUT_DIR.
// With PREVIEW_DIR, also writes PNG copies of the pictures there, for looking at them.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
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

void Sound(const std::string& name, const Samples& samples) {
  WriteWav(out + "/" + name, samples, 1, kSampleRate);
}

void WriteDxt1(const std::string& path, const Image& img) {
  WriteDdsCompressed(path, img, Dxt::kDxt1);
}
void WriteDxt5(const std::string& path, const Image& img) {
  WriteDdsCompressed(path, img, Dxt::kDxt5);
}
void WriteJpeg92(const std::string& path, const Image& img) {
  WriteJpeg(path, img, 92);
}

// The music in stereo, written in the format its file name ends with.
void Music(const std::string& name, const Samples& samples) {
  if (name.ends_with(".ogg")) {
    // Quality 0.3 (about 110 kbit/s): no audible loss on the synths' highs, a tenth of the WAV.
    WriteOggVorbis(out + "/" + name, samples, 2, kSampleRate, 0.3f);
    // Earlier versions wrote the music as WAV; a copy left behind would stand in for a bad .ogg.
    std::filesystem::remove(out + "/music.wav");
  } else if (name.ends_with(".wav")) {
    WriteWav(out + "/" + name, samples, 2, kSampleRate);
  } else {
    throw std::runtime_error("no writer for the music file " + name);
  }
}

// Every file of the asset list (assets.def), made as its line says.
void Generate() {
#define PICTURE(file, texture, colorKey, madeBy, writtenBy) Picture(file, madeBy, writtenBy);
#define SOUND(file, madeBy, ...) Sound(file, madeBy);
#define MUSIC(file, madeBy) Music(file, madeBy);
#include "assets.def"
  const Image atlas = MakeFontAtlas();
  std::printf("font: \"REVIVAL \" advances %d px, digits %d..%d px\n",
              AtlasAdvance(atlas, "REVIVAL "), AtlasAdvance(atlas, "1"), AtlasAdvance(atlas, "0"));
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
