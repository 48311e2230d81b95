#include "asset_files.h"

#include <fstream>

namespace test {

const std::vector<std::string>& AssetFileNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list = {"logo.jpg",
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
                                     "music.ogg"};
    for (int i = 1; i <= 10; ++i) list.push_back("ai_" + std::to_string(i) + ".bmp");
    for (int i = 1; i <= 5; ++i) list.push_back("hit_0" + std::to_string(i) + ".wav");
    return list;
  }();
  return names;
}

void MakeAssetFiles(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "files");
  for (const std::string& name : AssetFileNames()) {
    std::ofstream(folder / "files" / name, std::ios::binary | std::ios::trunc);
  }
}

}  // namespace test
