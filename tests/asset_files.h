// The game's asset files by name, for tests and benchmarks that run the game over the recording
// backend in a scratch folder (it only checks that the files are there).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace test {

// Every file name under files/ that the game loads (pictures and sounds, plus music.ogg).
const std::vector<std::string>& AssetFileNames();
// Creates every asset file (empty placeholders: the recording backend does not decode them).
void MakeAssetFiles(const std::filesystem::path& folder);

}  // namespace test
