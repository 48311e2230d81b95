#include "asset_files.h"

#include <fstream>

namespace test {

const std::vector<std::string>& AssetFileNames() {
  static const std::vector<std::string> names = {
#define PICTURE(file, ...) file,
#define SOUND(file, ...) file,
#define MUSIC(file, ...) file,
#include "assets.def"
  };
  return names;
}

void MakeAssetFiles(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "files");
  for (const std::string& name : AssetFileNames()) {
    std::ofstream(folder / "files" / name, std::ios::binary | std::ios::trunc);
  }
}

}  // namespace test
