// The score file where other programs and people reach it too: another copy of the game saving the
// same record, the folder deleted while the game runs, a pipe or an oversized file in its place,
// links planted beside it, a file the player made read-only, and files from other editors (UTF-16,
// byte-order marks, comments, lines the game cannot read). Nothing is lost and nothing waits.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../fuzz/ini_checks.h"
#include "core/score_file.h"
#include "io/ini_utility.h"
#include "io/paths.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::string Value(const fs::path& file, const std::string& section, const std::string& key) {
  return fuzzcheck::PlainLookup(fuzzcheck::PlainEntries(test::ReadFile(file)), section, key);
}

// Two copies of the game on one folder: one keeps saving a better record than the other, both
// saving at the same moments; the better one stays in the file every time. A reset still clears.
TEST(SharedFiles, TwoCopiesSavingOneRecordKeepTheBetterScore) {
  for (int round = 0; round < 3; ++round) {
    test::TempFolder folder;
    const fs::path file = folder / "files" / "bullet.dds";
    test::WriteFile(file, "[SCORE]\nM1=0\nM2-5=0\n[LEVEL]\nPASSED=1\n");
    constexpr int16_t kScores[] = {626, 368};
    EXPECT_TRUE(test::RunCopiesTogether(2, [&](int copy) {
      const int16_t score = kScores[copy];
      RecordingBackend backend(RecordingBackend::Options{folder.str(), 43200, true});
      Game game(backend.engine(), backend.utility(), backend.musicPlayer(), backend.platform());
      for (int i = 0; i < 40; ++i) {
        WriteBestScore(game, score);
        WriteLevelBest(game, 5, static_cast<int16_t>(score / 2));
        game.HighestLevel = static_cast<int16_t>(score / 100);
        WritePassedLevel(game);
      }
    }));
    EXPECT_EQ(Value(file, "SCORE", "M1"), "626") << "round " << round;
    EXPECT_EQ(Value(file, "SCORE", "M2-5"), "313") << "round " << round;
    EXPECT_EQ(Value(file, "LEVEL", "PASSED"), "6") << "round " << round;

    RecordingBackend backend(RecordingBackend::Options{folder.str(), 43200, true});
    Game game(backend.engine(), backend.utility(), backend.musicPlayer(), backend.platform());
    ResetBestScore(game);
    ResetLevelBest(game, 5);
    EXPECT_EQ(Value(file, "SCORE", "M1"), "0");
    EXPECT_EQ(Value(file, "SCORE", "M2-5"), "0");
  }
}

// The player deletes the game's folder of files while it runs: the next save writes every record
// the game read or wrote, not just its own key.
TEST(SharedFiles, AScoreFileThatVanishedIsWrittenAnewWithEveryRecord) {
  test::TestGame t;
  const fs::path file = t.folder / "files" / "bullet.dds";
  test::WriteFile(file, "[SCORE]\nM1=900\nM2-7=55\nM2-60=31\n[LEVEL]\nPASSED=8\n");
  ReadScores(t.game);
  fs::remove_all(t.folder / "files");
  testing::internal::CaptureStderr();
  WriteLevelBest(t.game, 3, 120);
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Value(file, "SCORE", "M2-3"), "120");
  EXPECT_EQ(Value(file, "SCORE", "M1"), "900");
  EXPECT_EQ(Value(file, "SCORE", "M2-7"), "55");
  EXPECT_EQ(Value(file, "SCORE", "M2-60"), "31");
  EXPECT_EQ(Value(file, "SCORE", "M2-50"), "0");
  EXPECT_EQ(Value(file, "LEVEL", "PASSED"), "8");
  EXPECT_NE(errors.find("was gone"), std::string::npos) << errors;
}

using test::GameRun;
using test::RunGame;

// A pipe where the score file or opt.ini belongs would make a plain open wait for a writer for
// ever: the game refuses it at once, reads nothing from it and writes nothing to it.
TEST(SharedFiles, APipeInPlaceOfAFileIsRefusedWithoutWaiting) {
  test::TestGame t;
  fs::create_directories(t.folder / "files");
  for (const fs::path& pipe : {t.folder / "files" / "bullet.dds", t.folder / "opt.ini"}) {
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  }
  const GameRun run = RunGame(t, 3);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.errors.find("bullet.dds (not a regular file)"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("opt.ini (not a regular file)"), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("could not save"), std::string::npos) << run.errors;
  EXPECT_TRUE(fs::is_fifo(t.folder / "files" / "bullet.dds"));
  EXPECT_TRUE(fs::is_fifo(t.folder / "opt.ini"));
  EXPECT_EQ(t.game.BestScore, 0.0f);
}

// Anyone who can write into a shared folder can plant links where the game's temporary files go
// (and leave files there); a save neither follows them nor leaves anything of its own behind, and
// a lock file that is a link stops the save rather than being followed.
TEST(SharedFiles, PlantedLinksBesideTheScoreFileAreNeverFollowed) {
  test::TempFolder folder;
  const fs::path files = folder / "files";
  const fs::path victim = folder / "private.txt";
  test::WriteFile(victim, "the player's own file\n");
  test::WriteFile(files / "bullet.dds", "[SCORE]\nM1=5\n");
  fs::permissions(files / "bullet.dds",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(victim, files / "bullet.dds.tmp");
  fs::create_symlink(victim, files / "bullet.dds.tmp-abc123");
  test::WriteFile(files / "bullet.dds.tmp-zzz999", "[SCORE]\nM1=half a");  // a killed save's
  test::WriteFile(files / "bullet.dds.tmp-notes", "not one of ours");
  Paths paths(folder.str());
  IniUtility utility(paths, /*durable=*/false);
  utility.WriteIni("SCORE", "M1", "250", "files\\bullet.dds", 0);

  EXPECT_EQ(test::ReadFile(victim), "the player's own file\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(files / "bullet.dds")));
  EXPECT_EQ(Value(files / "bullet.dds", "SCORE", "M1"), "250");
  EXPECT_EQ(fs::status(files / "bullet.dds").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(test::TemporaryFilesIn(files), std::vector<std::string>{"bullet.dds.tmp-notes"});

  fs::create_symlink(victim, files / "bullet.dds.lock.new");
  fs::rename(files / "bullet.dds.lock.new", files / "bullet.dds.lock");
  testing::internal::CaptureStderr();
  utility.WriteIni("SCORE", "M1", "300", "files\\bullet.dds", 0);
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("bullet.dds.lock: it is a link"), std::string::npos) << errors;
  EXPECT_EQ(test::ReadFile(victim), "the player's own file\n");
  EXPECT_EQ(Value(files / "bullet.dds", "SCORE", "M1"), "250");
}

// A score file the player made read-only is meant to stay as it is, even for root (who may write
// any file): the save is told as failed and the file is left alone.
TEST(SharedFiles, AReadOnlyScoreFileIsLeftAlone) {
  test::TestGame t;
  const fs::path file = t.folder / "files" / "bullet.dds";
  const std::string before = "[SCORE]\nM1=700\n";
  test::WriteFile(file, before);
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const GameRun run = RunGame(t, 3);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.errors.find("the file is read-only"), std::string::npos) << run.errors;
  ASSERT_EQ(t.backend.platform().Warnings().size(), 1u);
  EXPECT_NE(t.backend.platform().Warnings()[0].find("read-only"), std::string::npos);
  EXPECT_EQ(test::ReadFile(file), before);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(t.game.BestScore, 700.0f);
}

// A file with lines the game cannot read is kept as it was, beside it, before the game first
// writes over it; the player is told once. Comments stay in the rewritten file.
TEST(SharedFiles, AFileWithUnreadableLinesIsKeptBesideItBeforeItIsWrittenOver) {
  test::TempFolder folder;
  const fs::path file = folder / "files" / "bullet.dds";
  const std::string before =
      "; my best games\n[SCORE]\n; the survival record\nM1=5\nthis line is junk\n[LEVEL]\n"
      "PASSED=3\n; notes at the end\n";
  test::WriteFile(file, before);
  Paths paths(folder.str());
  IniUtility utility(paths, /*durable=*/false);
  testing::internal::CaptureStderr();
  utility.WriteIni("SCORE", "M1", "250", "files\\bullet.dds", 0);
  utility.WriteIni("SCORE", "M2-1", "9", "files\\bullet.dds", 0);
  const std::string errors = testing::internal::GetCapturedStderr();

  std::vector<fs::path> copies;
  for (const auto& entry : fs::directory_iterator(folder / "files")) {
    if (entry.path().filename().string().rfind("bullet.dds.unreadable-", 0) == 0) {
      copies.push_back(entry.path());
    }
  }
  ASSERT_EQ(copies.size(), 1u) << errors;
  EXPECT_EQ(test::ReadFile(copies[0]), before);
  EXPECT_NE(errors.find(copies[0].string()), std::string::npos) << errors;
  const std::string after = test::ReadFile(file);
  for (const char* comment : {"; my best games", "; the survival record", "; notes at the end"}) {
    EXPECT_NE(after.find(comment), std::string::npos) << comment << " lost:\n" << after;
  }
  EXPECT_EQ(Value(file, "SCORE", "M1"), "250");
  EXPECT_EQ(Value(file, "LEVEL", "PASSED"), "3");
}

}  // namespace
