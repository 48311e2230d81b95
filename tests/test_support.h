// Helpers shared by the tests: a scratch application folder with placeholder asset files, a Game
// over the recording backend, and queries on the trace.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "asset_files.h"
#include "core/game.h"
#include "engine/recording/recording.h"

namespace test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes a text file, creating folders as needed.
void WriteFile(const std::filesystem::path& path, const std::string& text);
std::string ReadFile(const std::filesystem::path& path);
// The temporary files of saves left in a folder (names with ".tmp" in them).
std::vector<std::string> TemporaryFilesIn(const std::filesystem::path& folder);

// Runs a shell command; its exit status (-1 when it did not exit) and what it printed.
struct CommandResult {
  int status = -1;
  std::string output;
};
CommandResult RunCommand(const std::string& command);

// Forks `count` copies of this test that start `body(copy)` at the same moment and end with it;
// true when every copy ran and exited with 0.
bool RunCopiesTogether(int count, const std::function<void(int copy)>& body);

// A game over the recording backend in a scratch folder with all asset files present.
struct TestGame {
  explicit TestGame(bool withAssets = true);

  // Runs LoadTextures and CreateFonts (no splash wait, no sounds), then clears the trace.
  void LoadResources();
  // Starts a new game of this mode at this start level, with this highest level reached, then
  // clears the trace.
  void StartGame(bool survival, int16_t level, int16_t highest);
  // The calls so far as records, as trace lines, and the lines that start with a prefix such as
  // "Engine.DrawSprite".
  const std::vector<Call>& Records() const { return backend.Calls(); }
  std::vector<std::string> Lines() const { return backend.TraceLines(); }
  std::vector<std::string> Calls(std::string_view prefix) const;
  int Count(std::string_view prefix) const;
  void ClearTrace() { backend.ClearTrace(); }

  TempFolder folder;
  RecordingBackend backend;
  Game game;
};

// The whole game (start-up, the main loop for this many passes without keys, shutdown): its status
// and what it said on stderr.
struct GameRun {
  int status = -1;
  std::string errors;
};
GameRun RunGame(TestGame& t, int passes);

// A fixture with a game over the recording backend.
class GameTest : public ::testing::Test {
 protected:
  // A new game of this mode at this start level, which is also the highest reached.
  void Start(bool survival, int16_t level = 1) { t.StartGame(survival, level, level); }

  TestGame t;
};

// Splits a trace line into its words, keeping quoted strings whole (with their quotes).
std::vector<std::string> Words(const std::string& line);

}  // namespace test
