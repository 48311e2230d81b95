// The INI files on real disk: what the score and options files rely on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "io/ini_utility.h"
#include "test_support.h"

namespace {

struct IniFiles : ::testing::Test {
  test::TempFolder folder;
  Paths paths{folder.str()};
  IniUtility ini{paths};
  std::filesystem::path File(const std::string& name) { return folder / name; }
};

TEST_F(IniFiles, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "files\\bullet.dds", 0), "");
  test::WriteFile(File("opt.ini"), "[OPTIONS]\nFS=True\n");
  EXPECT_EQ(ini.ReadIni("OTHER", "FS", "opt.ini", 0), "");
  EXPECT_EQ(ini.ReadIni("OPTIONS", "SND", "opt.ini", 0), "");
}

TEST_F(IniFiles, WriteCreatesFileSectionAndKeyAndReadsBack) {
  ini.WriteIni("SCORE", "M1", "0", "files\\bullet.dds", 0);
  EXPECT_EQ(test::ReadFile(File("files/bullet.dds")).find("[SCORE]"), 0u) << "no folder made?";
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "files\\bullet.dds", 0), "0");
}

TEST_F(IniFiles, WriteReplacesValueAndKeepsEveryOtherLine) {
  test::WriteFile(File("s.ini"),
                  "; kept comment\n[SCORE]\nM1=10\nM2-1=5\nNote=hello world\n[LEVEL]\nPASSED=3\n"
                  "[Other]\nx=y\n");
  ini.WriteIni("SCORE", "M1", "1250", "s.ini", 0);
  std::string text = test::ReadFile(File("s.ini"));
  EXPECT_NE(text.find("M1=1250\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("M1=10\n"), std::string::npos) << text;
  for (const char* kept :
       {"; kept comment", "M2-1=5", "Note=hello world", "[LEVEL]", "PASSED=3", "[Other]", "x=y"}) {
    EXPECT_NE(text.find(kept), std::string::npos) << kept << " lost:\n" << text;
  }
}

TEST_F(IniFiles, NamesAreCaseInsensitive) {
  test::WriteFile(File("s.ini"), "[score]\nm1=42\n");
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "s.ini", 0), "42");
  ini.WriteIni("Score", "M1", "43", "s.ini", 0);
  EXPECT_EQ(ini.ReadIni("score", "m1", "s.ini", 0), "43");
  // One value, not a second section or key beside the first.
  std::string text = test::ReadFile(File("s.ini"));
  EXPECT_EQ(text.find("42"), std::string::npos) << text;
}

TEST_F(IniFiles, CrlfAndByteOrderMarkAreRead) {
  test::WriteFile(File("a.ini"), "[OPTIONS]\r\nFS=TRUE\r\nSND=True\r\n");
  EXPECT_EQ(ini.ReadIni("OPTIONS", "FS", "a.ini", 0), "TRUE");
  EXPECT_EQ(ini.ReadIni("OPTIONS", "SND", "a.ini", 0), "True");
  test::WriteFile(File("b.ini"), "\xEF\xBB\xBF[SCORE]\r\nM1=7\r\n");
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "b.ini", 0), "7");
  // An indented file pasted after a mark: the name is still M1, and stays so once written back.
  test::WriteFile(File("c.ini"), "[SCORE]\n  \xEF\xBB\xBFM1=500\n");
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "c.ini", 0), "500");
  ini.WriteIni("SCORE", "M2-1", "3", "c.ini", 0);
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "c.ini", 0), "500");
}

TEST_F(IniFiles, GarbageLinesDoNotHideGoodOnes) {
  test::WriteFile(File("g.ini"),
                  "garbage without equals\n[SCORE\n=novalue\n[SCORE]\n###\nM1=9\n\x01\x02\x03\n"
                  "M2-1 = 4 \n");
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "g.ini", 0), "9");
  EXPECT_EQ(ini.ReadIni("SCORE", "M2-1", "g.ini", 0), "4");
  ini.WriteIni("SCORE", "M1", "10", "g.ini", 0);
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "g.ini", 0), "10");
  EXPECT_EQ(ini.ReadIni("SCORE", "M2-1", "g.ini", 0), "4");
}

TEST_F(IniFiles, AbsoluteNamesWithBackslashReachTheSameFile) {
  test::WriteFile(File("opt.ini"), "[OPTIONS]\nFS=true\n");
  EXPECT_EQ(ini.ReadIni("OPTIONS", "FS", folder.str() + "\\opt.ini", 0), "true");
}

TEST_F(IniFiles, WriteLeavesNoTemporaryFileBehind) {
  ini.WriteIni("SCORE", "M1", "1", "s.ini", 0);
  ini.WriteIni("SCORE", "M1", "2", "s.ini", 0);
  std::set<std::string> files;
  for (auto& entry : std::filesystem::directory_iterator(folder.path())) {
    files.insert(entry.path().filename().string());
  }
  EXPECT_EQ(files, (std::set<std::string>{"s.ini", "s.ini.lock"}));
}

TEST_F(IniFiles, FailedWriteKeepsTheOldFileWhole) {
  test::WriteFile(File("s.ini"), "[SCORE]\nM1=5\nM2-1=7\n");
  // Something in the way of the temporary file makes the write fail, even for root.
  std::filesystem::create_directories(File("s.ini.lock"));
  ini.WriteIni("SCORE", "M1", "6", "s.ini", 0);
  EXPECT_EQ(test::ReadFile(File("s.ini")), "[SCORE]\nM1=5\nM2-1=7\n");
}

TEST_F(IniFiles, UnreachableFolderIsNotAFailure) {
  test::WriteFile(File("blocked"), "a file where a folder should be");
  ini.WriteIni("SCORE", "M1", "6", "blocked\\s.ini", 0);
  EXPECT_EQ(ini.ReadIni("SCORE", "M1", "blocked\\s.ini", 0), "");
}

// Players link their score file into a synced folder: a save goes through the link to the file
// it names (relative links and links to links too), which keeps its permission bits, and the link
// stays a link. No temporary file is left on either side.
TEST_F(IniFiles, AScoreFileThatIsALinkStaysOneAndTheFileItNamesGetsTheScores) {
  namespace fs = std::filesystem;
  test::WriteFile(File("synced/scores.ini"), "[SCORE]\nM1=5\n");
  fs::permissions(File("synced/scores.ini"), fs::perms::owner_read | fs::perms::owner_write);
  fs::create_directories(File("files"));
  fs::create_symlink("../synced/scores.ini", File("synced/hop.ini"));
  fs::create_symlink("../synced/hop.ini", File("files/bullet.dds"));

  ini.WriteIni("SCORE", "M1", "250", "files\\bullet.dds", 0);
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(File("files/bullet.dds"))));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(File("synced/hop.ini"))));
  EXPECT_EQ(test::ReadFile(File("synced/scores.ini")), "[SCORE]\nM1=250\n");
  struct stat mode {};
  ASSERT_EQ(::stat(File("synced/scores.ini").c_str(), &mode), 0);
  EXPECT_EQ(mode.st_mode & 07777, 0600u);
  for (const char* folderName : {"files", "synced"}) {
    for (const auto& entry : fs::directory_iterator(File(folderName))) {
      EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
  }

  // A link to a file that is not there yet: the file is made where the link points.
  fs::create_symlink("../synced/later.ini", File("files/later.ini"));
  ini.WriteIni("LEVEL", "PASSED", "3", "files\\later.ini", 0);
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(File("files/later.ini"))));
  EXPECT_EQ(ini.ReadIni("LEVEL", "PASSED", "synced/later.ini", 0), "3");
}

// What the README shows for opt.ini is what a player copies: every key of it must read back as
// the README says it does.
TEST_F(IniFiles, TheReadmeOptionsExampleReadsAsItSays) {
  const std::string readme =
      test::ReadFile(std::filesystem::path(SWAYFIRE_SOURCE_DIR) / "README.md");
  const size_t options = readme.find("## Options");
  ASSERT_NE(options, std::string::npos);
  const size_t start = readme.find("```ini\n", options);
  ASSERT_NE(start, std::string::npos);
  const size_t end = readme.find("```", start + 7);
  ASSERT_NE(end, std::string::npos);
  test::WriteFile(File("opt.ini"), readme.substr(start + 7, end - start - 7));
  EXPECT_EQ(ini.ReadIni("OPTIONS", "FS", "opt.ini", 0), "False");
  EXPECT_EQ(ini.ReadIni("OPTIONS", "SND", "opt.ini", 0), "True");
}

TEST(IniText, StoreIntoEmptyTextMakesOneSection) {
  std::string text = IniStore("", "SCORE", "M1", "0");
  EXPECT_EQ(IniLookup(text, "SCORE", "M1"), "0");
  EXPECT_EQ(text, "[SCORE]\nM1=0\n");
}

TEST(IniText, DuplicateKeysReadOneValue) {
  std::string value = IniLookup("[S]\nk=1\nk=2\n", "S", "k");
  EXPECT_TRUE(value == "1" || value == "2") << value;
}

TEST(IniUtilityDistance, IsZeroForOnePointAndGrowsWithSeparation) {
  Paths paths(".");
  IniUtility ini(paths);
  EXPECT_EQ(ini.Distance(5, 5, 5, 5), 0.0f);
  EXPECT_FLOAT_EQ(ini.Distance(0, 0, 3, 4), 5.0f);
  EXPECT_LT(ini.Distance(0, 0, 1, 0), ini.Distance(0, 0, 2, 0));
}

}  // namespace
