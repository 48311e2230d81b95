// The io layer's Windows files, cross-built and run under Wine: the atomic write over an existing
// file, a read-only file left alone, a folder named with non-ASCII letters, writers taking turns,
// the folder choice and the per-user folder, and score files with the same bytes as on Linux.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

#include "io/atomic_file.h"
#include "io/folders.h"
#include "io/ini_utility.h"
#include "io/paths.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& name) {
  std::ifstream in(FilePath(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& name, const std::string& text) {
  std::ofstream out(FilePath(name), std::ios::binary | std::ios::trunc);
  out << text;
}

// Files of saves left behind in the folder (names with ".tmp" in them).
int TemporaryFiles(const std::string& folder) {
  int found = 0;
  for (const auto& entry : fs::directory_iterator(FilePath(folder))) {
    if (entry.path().filename().wstring().find(L".tmp") != std::wstring::npos) ++found;
  }
  return found;
}

class WindowsIo : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    // "Jörg's Spiele ü" : a folder name outside any one-byte code page's ASCII.
    folder_ = FileName(fs::temp_directory_path()) + "/swayfire-io-" + std::to_string(seed()) +
              "/J\xc3\xb6rg's Spiele \xc3\xbc";
    fs::create_directories(FilePath(folder_));
  }
  void TearDown() override {
    std::error_code ec;
    for (const auto& entry :
         fs::recursive_directory_iterator(FilePath(folder_).parent_path(), ec)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(FilePath(folder_).parent_path(), ec);
  }
  std::string folder_;
};

TEST_F(WindowsIo, AtomicWriteReplacesAnExistingFileInANonAsciiFolder) {
  const std::string file = folder_ + "/bullet.dds";
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, "[SCORES]\nM1=1\n", error)) << error;
  ASSERT_TRUE(WriteFileAtomically(file, "[SCORES]\nM1=2\n", error)) << error;
  EXPECT_EQ(ReadAll(file), "[SCORES]\nM1=2\n");
  EXPECT_EQ(TemporaryFiles(folder_), 0);
}

TEST_F(WindowsIo, AReadOnlyFileIsLeftAloneAndTheFailureIsTold) {
  const std::string file = folder_ + "/bullet.dds";
  WriteAll(file, "[SCORES]\nM1=7\n");
  ASSERT_TRUE(SetFileAttributesW(FilePath(file).c_str(), FILE_ATTRIBUTE_READONLY));
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(file, "[SCORES]\nM1=8\n", error));
  EXPECT_NE(error.find("bullet.dds"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(file), "[SCORES]\nM1=7\n");
  EXPECT_EQ(TemporaryFiles(folder_), 0);
}

TEST_F(WindowsIo, AWriteInAFolderThatIsNotThereFailsWithAReason) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(folder_ + "/missing/bullet.dds", "x", error));
  EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}

// What a killed save left behind goes with the next save; a folder in the file's place is refused.
TEST_F(WindowsIo, LeftoversOfKilledSavesGoAndAFolderIsNeverReplaced) {
  const std::string file = folder_ + "/bullet.dds";
  WriteAll(file + ".tmp-abc123", "[SCORES]\nM1=hal");
  WriteAll(file + ".tmp", "[SCORES]\n");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, "[SCORES]\nM1=3\n", error)) << error;
  EXPECT_EQ(ReadAll(file), "[SCORES]\nM1=3\n");
  EXPECT_EQ(TemporaryFiles(folder_), 0);
  fs::create_directories(FilePath(folder_ + "/opt.ini"));
  EXPECT_FALSE(WriteFileAtomically(folder_ + "/opt.ini", "[OPTIONS]\n", error));
  EXPECT_TRUE(fs::is_directory(FilePath(folder_ + "/opt.ini")));
}

TEST_F(WindowsIo, WritersTakeTurns) {
  const std::string file = folder_ + "/bullet.dds";
  AtomicFileWriter first(file);
  std::string error;
  ASSERT_TRUE(first.Begin(error)) << error;
  std::atomic<bool> secondBegan{false};
  std::thread other([&] {
    AtomicFileWriter second(file);
    std::string otherError;
    const bool began = second.Begin(otherError);
    secondBegan = true;
    // The second writer reads what the first one left, as a score save does under its turn.
    if (began) second.Commit(ReadAll(file) + "second\n", otherError);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(secondBegan) << "the second writer did not wait for its turn";
  ASSERT_TRUE(first.Commit("first\n", error)) << error;
  other.join();
  EXPECT_EQ(ReadAll(file), "first\nsecond\n");
}

TEST_F(WindowsIo, ScoreAndOptionsFilesHaveLinuxLineEndsAndCrlfFilesStillRead) {
  Paths paths(folder_);
  IniUtility ini(paths, false);
  ini.WriteIni("SCORES", "M1", "1234", "files\\bullet.dds", 0);
  EXPECT_EQ(ReadAll(folder_ + "/files/bullet.dds"), "[SCORES]\nM1=1234\n");
  WriteAll(folder_ + "/opt.ini", "[OPTIONS]\r\nFS=True\r\nSND=False\r\n");
  EXPECT_EQ(ini.ReadIni("OPTIONS", "SND", "opt.ini", 0), "False");
  ini.WriteIni("OPTIONS", "FS", "False", "opt.ini", 0);
  EXPECT_EQ(ini.ReadIni("OPTIONS", "FS", "opt.ini", 0), "False");
  EXPECT_EQ(ini.ReadIni("OPTIONS", "SND", "opt.ini", 0), "False");
}

TEST_F(WindowsIo, FoldersStayBesideTheGameWhenItsFolderCanBeWritten) {
  fs::create_directories(FilePath(folder_ + "/files"));
  const FolderProbe disk = FolderProbe::Disk();
  EXPECT_TRUE(disk.isFolder(folder_ + "/files"));
  EXPECT_TRUE(disk.canWrite(folder_));
  EXPECT_FALSE(disk.canWrite(folder_ + "/not-there"));
  const FolderChoice choice = ChooseFolders(
      folder_, {}, [] { return std::string("unused"); }, disk);
  EXPECT_TRUE(choice.error.empty()) << choice.error;
  EXPECT_TRUE(choice.folders.portable);
  EXPECT_EQ(choice.folders.app, folder_);
  // No probe file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(FilePath(folder_)), fs::directory_iterator()), 1);
}

TEST_F(WindowsIo, ThePlayersFolderIsInRoamingAppDataAndGetsLinuxBytes) {
  const std::string user = UserFolder(nullptr);
  ASSERT_FALSE(user.empty());
  EXPECT_EQ(user.substr(user.size() - 9), "/Swayfire") << user;
  EXPECT_TRUE(FilePath(user).is_absolute()) << user;

  const Folders folders{folder_ + "/user", folder_, false};
  EXPECT_EQ(PrepareUserFolder(folders), "");
  EXPECT_EQ(ReadAll(folder_ + "/user/opt.ini"), kDefaultOptions);
  WriteAll(folder_ + "/user/opt.ini", "[OPTIONS]\nFS=True\n");
  EXPECT_EQ(PrepareUserFolder(folders), "");
  EXPECT_EQ(ReadAll(folder_ + "/user/opt.ini"), "[OPTIONS]\nFS=True\n");
}

TEST(WindowsPaths, TheExecutablesFolderHoldsTheTestProgram) {
  const std::string folder = ExecutableFolder();
  EXPECT_EQ(folder.find('\\'), std::string::npos) << folder;
  EXPECT_TRUE(fs::exists(FilePath(folder + "/swayfire_windows_tests.exe"))) << folder;
  EXPECT_EQ(ExecutableName(), "swayfire_windows_tests");
}

}  // namespace
