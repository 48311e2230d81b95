// swayfire-icons OUTPUT_DIR NAME
// Writes the game's icon into OUTPUT_DIR/hicolor/<N>x<N>/apps/NAME.png at the sizes desktops ask
// for, ready to be installed under share/icons.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/common/icon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR NAME\n", argv[0]);
    return 2;
  }
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string side = std::to_string(size);
    const std::filesystem::path folder =
        std::filesystem::path(argv[1]) / "hicolor" / (side + "x" + side) / "apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<uint8_t> pixels = DrawIcon(size);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), size, size, 32,
                                                              size * 4, SDL_PIXELFORMAT_RGBA32);
    const std::string path = (folder / (std::string(argv[2]) + ".png")).string();
    if (surface == nullptr || IMG_SavePNG(surface, path.c_str()) != 0) {
      std::fprintf(stderr, "swayfire-icons: cannot write %s: %s\n", path.c_str(), SDL_GetError());
      SDL_FreeSurface(surface);
      return 1;
    }
    SDL_FreeSurface(surface);
  }
  return 0;
}
