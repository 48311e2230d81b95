// Finding the music track among its other extensions, as both backends do: the first file that
// exists and plays wins, and a failure names what was looked for or why each file failed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/common/data_files.h"
#include "engine/engine.h"

namespace {

class MusicFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("swayfire-music-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Touch(const std::string& name) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path) << "x";
    return path;
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

std::string Message(const std::function<void()>& call) {
  try {
    call();
  } catch (const EngineError& error) {
    return error.what();
  }
  return "";
}

TEST_F(MusicFiles, AMissingTrackNamesEveryExtensionTried) {
  const std::string path = Path("music.wma");
  const auto never = [](const std::string&, std::string&) { return true; };
  EXPECT_EQ(
      Message([&] {
        LoadMusicTrack(path, {".ogg", ".flac", ".mp3", ".wav"}, never);
      }),
      "cannot find the music \"" + path + "\" (nor the same name as .ogg, .flac, .mp3 or .wav)");
  EXPECT_EQ(Message([&] {
              LoadMusicTrack(path, {".ogg", ".wav"}, never);
            }),
            "cannot find the music \"" + path + "\" (nor the same name as .ogg or .wav)");
}

TEST_F(MusicFiles, TheFirstFileThatPlaysWinsAndFailuresAreNamed) {
  const std::string path = Path("music.wma");
  const std::string ogg = Touch("music.ogg");
  const std::string wav = Touch("music.wav");
  std::vector<std::string> tried;
  LoadMusicTrack(path, {".ogg", ".wav"}, [&](const std::string& file, std::string& error) {
    tried.push_back(file);
    error = "not a track";
    return file == wav;
  });
  EXPECT_EQ(tried, (std::vector<std::string>{ogg, wav}));  // the .wma itself is not there

  EXPECT_EQ(
      Message([&] {
        LoadMusicTrack(path, {".ogg", ".wav"}, [](const std::string&, std::string& error) {
          error = "not a track";
          return false;
        });
      }),
      "cannot play the music \"" + path + "\"; " + ogg + ": not a track; " + wav + ": not a track");
}

}  // namespace
