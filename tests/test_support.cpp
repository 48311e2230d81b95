#include "test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

#include "shell/shell.h"

namespace test {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  std::random_device seed;
  path_ = std::filesystem::temp_directory_path() /
          ("swayfire-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(seed()));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::string> TemporaryFilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".tmp") != std::string::npos) found.push_back(name);
  }
  return found;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

TestGame::TestGame(bool withAssets)
    : backend(RecordingBackend::Options{folder.str(), 43200, true}),
      game(backend.engine(), backend.utility(), backend.musicPlayer(), backend.platform()) {
  if (withAssets) MakeAssetFiles(folder.path());
}

GameRun RunGame(TestGame& t, int passes) {
  t.backend.SetScript({}, passes);
  testing::internal::CaptureStderr();
  GameRun run;
  run.status = Main(t.game);
  run.errors = testing::internal::GetCapturedStderr();
  return run;
}

void TestGame::LoadResources() {
  LoadTextures(game);
  CreateFonts(game);
  ClearTrace();
}

void TestGame::StartGame(bool survival, int16_t level, int16_t highest) {
  game.SurvivalMode = survival;
  game.Level = level;
  game.HighestLevel = highest;
  NewGame(game);
  ClearTrace();
}

std::vector<std::string> TestGame::Calls(std::string_view prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : Lines()) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

int TestGame::Count(std::string_view prefix) const {
  return static_cast<int>(Calls(prefix).size());
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      word.push_back(c);
      if (c == '\\' && i + 1 < line.size()) {
        word.push_back(line[++i]);
      } else if (c == '"') {
        quoted = false;
      }
    } else if (c == ' ') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      if (c == '"') quoted = true;
      word.push_back(c);
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

}  // namespace test
