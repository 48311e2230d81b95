// Hostile score and options files, a score folder that cannot be written, missing assets: the whole
// game (Main over the recording backend, real files on disk) must start, read what it can, count
// what it cannot read as 0 or its default, keep every key it did not mean to change, and say on
// stderr what it could not do. A missing or damaged asset ends the program with a message naming
// the file, a non-zero status, and nothing written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "../fuzz/ini_checks.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct Expected {
  float bestScore = 0;
  std::map<int, float> levelBests;  // start level -> best score; every other one is 0
  int16_t highestLevel = 1;
  bool fullScreen = false;
  bool sound = false;
};

Expected Reads(float bestScore, std::map<int, float> levelBests = {}, int16_t highestLevel = 1,
               bool fullScreen = false, bool sound = false) {
  return {bestScore, std::move(levelBests), highestLevel, fullScreen, sound};
}

struct HostileCase {
  const char* name;
  std::optional<std::string> scores;   // the score file, when there is one
  std::optional<std::string> options;  // opt.ini, when there is one
  std::function<void(const fs::path& folder)> prepare;
  Expected expected;
  std::vector<std::string> messages;  // each must be on stderr; none means stderr stays empty
  bool scoresWritable = true;
};

// Random bytes, the same on every run.
std::string Garbage(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

const std::string kLongLine(900 * 1024, 'x');
const std::string kMegabytes(2 * 1024 * 1024, 'x');
// The text as UTF-16 with its byte-order mark (the text is ASCII).
std::string Utf16(const std::string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) {
    bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return bytes;
}

const std::string kGoodOptions = "[OPTIONS]\nFS=False\nSND=False\n";

HostileCase Case(const char* name, std::optional<std::string> scores,
                 std::optional<std::string> options, Expected expected,
                 std::vector<std::string> messages,
                 std::function<void(const fs::path&)> prepare = nullptr, bool writable = true) {
  return {name,
          std::move(scores),
          std::move(options),
          std::move(prepare),
          expected,
          std::move(messages),
          writable};
}

std::vector<HostileCase> Cases() {
  const std::nullopt_t none = std::nullopt;
  return {
      Case("binary garbage", Garbage(4096, 1), kGoodOptions, Reads(0), {"neither"}),
      Case("garbage around the records",
           "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\n[SCORE]\nM1=250\n\xff\xfe\xfd\nM2-3=80\n"s, kGoodOptions,
           Reads(250, {{3, 80}}), {"NUL bytes", "neither [section] nor key=value"}),
      Case("NUL bytes", "[SCORE]\nM1=300\0\0\0\nM2-2=45\n\0[LEVEL]\nPASSED=4\n"s, kGoodOptions,
           Reads(300, {{2, 45}}, 4), {"NUL bytes (read as line ends)"}),
      Case("byte-order mark", "\xEF\xBB\xBF[SCORE]\nM1=120\nM2-1=15\n[LEVEL]\nPASSED=2\n",
           kGoodOptions, Reads(120, {{1, 15}}, 2), {}),
      // What Windows Notepad may save: UTF-16 of either byte order with its mark.
      Case("UTF-16 from Notepad",
           Utf16("[SCORE]\r\nM1=1234\r\nM2-4=56\r\n[LEVEL]\r\nPASSED=7\r\n", false), kGoodOptions,
           Reads(1234, {{4, 56}}, 7), {}),
      Case("UTF-16, big-endian", Utf16("[SCORE]\nM1=99\n", true),
           Utf16("[OPTIONS]\nSND=True\n", false), Reads(99, {}, 1, false, true), {}),
      Case("byte-order marks twice, and before a section",
           "\xEF\xBB\xBF\xEF\xBB\xBFM0=1\n[SCORE]\n\xEF\xBB\xBFM1=321\n\xEF\xBB\xBF[LEVEL]\nPASSED="
           "4\n",
           kGoodOptions, Reads(321, {}, 4), {}),
      Case("CRLF line ends", "[SCORE]\r\nM1=90\r\nM2-50=33\r\n[LEVEL]\r\nPASSED=8\r\n",
           kGoodOptions, Reads(90, {{50, 33}}, 8), {}),
      Case("one line of most of a megabyte", "[SCORE]\nM1=77\n" + kLongLine + "\nM2-9=12\n",
           "[OPTIONS]\nNOTE=" + kLongLine + "\nFS=True\nSND=True\n",
           Reads(77, {{9, 12}}, 1, true, true), {"1 line that is neither"}),
      // No file of the game's is that large: neither is read (nor waited for), and the score file
      // is kept as it is.
      Case("files of several megabytes", "[SCORE]\nM1=77\n" + kMegabytes + "\nM2-9=12\n",
           "[OPTIONS]\nFS=True\nSND=True\nNOTE=" + kMegabytes + "\n", Reads(0),
           {"bullet.dds (it holds 2097", "opt.ini (it holds", "at most 1 MB is read",
            "could not save"},
           nullptr, false),
      Case("duplicate sections and keys",
           "[SCORE]\nM1=10\nM2-1=5\n[LEVEL]\nPASSED=3\n[score]\nm1=20\n[SCORE]\nM2-1=6\nM2-1=7\n"
           "[LEVEL]\nPASSED=5\n",
           "[OPTIONS]\nSND=False\nFS=True\n[OPTIONS]\nSND=True\n",
           Reads(20, {{1, 7}}, 5, true, true), {}),
      // A line with a missing bracket is ignored: the keys after it stay in the section before
      // it (M1 before any section, M2-5 and PASSED in [SCORE]), kept but not where the game looks.
      Case("missing brackets",
           "[SCORE\nM1=500\nSCORE]\n[SCORE]\nM2-4=44\n[LEVEL\nM2-5=55\nPASSED=9\n",
           "[OPTIONS\nFS=True\nSND=True\n", Reads(0, {{4, 44}, {5, 55}}),
           {"line 1 \"[SCORE\"", "opt.ini holds 1 line"}),
      Case("negative, huge and non-numeric values",
           "[SCORE]\nM1=-40\nM2-1=99999999999999999999\nM2-2=abc\nM2-3=1e400\nM2-4=12.9\n"
           "M2-5=  7  \nM2-6=0x10\nM2-7=1" +
               std::string(300, '0') + "\nM2-8=-32768\n[LEVEL]\nPASSED=-3\n",
           "[OPTIONS]\nFS=yes\nSND=1\n", Reads(-40, {{4, 12}, {5, 7}, {8, -32768}}),
           {"[SCORE] M2-1, which is not a score", "\"abc\" under [SCORE] M2-2", "[SCORE] M2-3",
            "[SCORE] M2-6", "[SCORE] M2-7", "\"-3\" under [LEVEL] PASSED"}),
      Case("a level beyond the last", "[LEVEL]\nPASSED=5000\n", kGoodOptions, Reads(0, {}, 100),
           {"\"5000\" under [LEVEL] PASSED", "counts as 100"}),
      Case("a level with a fraction", "[LEVEL]\nPASSED=2.7\n", kGoodOptions, Reads(0, {}, 3), {}),
      Case("empty values", "[SCORE]\nM1=\nM2-1=\n[LEVEL]\nPASSED=\n", kGoodOptions, Reads(0), {}),
      Case("garbage options", none, Garbage(2048, 2), Reads(0), {"opt.ini"}),
      Case("options with NUL bytes", none, "[OPTIONS]\nFS=TRUE\0\0\nSND=True\0x\n"s,
           Reads(0, {}, 1, true, true), {"opt.ini holds NUL bytes"}),
      Case("options with a byte-order mark and CRLF", none,
           "\xEF\xBB\xBF[OPTIONS]\r\nFS=true\r\nSND=True\r\n", Reads(0, {}, 1, true, true), {}),
      Case("no options file", "[SCORE]\nM1=5\n", none, Reads(5), {}),
      // Root ignores file permissions, so the folder is made unwritable in a way that stops root
      // too: a folder sits where the lock file of every write must go.
      Case(
          "lock file name taken", "[SCORE]\nM1=250\nM2-3=80\n[LEVEL]\nPASSED=6\n", kGoodOptions,
          Reads(250, {{3, 80}}, 6), {"could not save [SCORE] M2-1", "kept in memory only"},
          [](const fs::path& folder) {
            fs::create_directories(folder / "files" / "bullet.dds.lock");
          },
          false),
      Case(
          "score file is a folder", none, kGoodOptions, Reads(0),
          {"cannot read", "bullet.dds", "could not save"},
          [](const fs::path& folder) {
            fs::create_directories(folder / "files" / "bullet.dds" / "inside");
          },
          false),
  };
}

using test::GameRun;
using test::RunGame;

bool FullScreen(const test::TestGame& t) {
  std::vector<call::Initialize> init = CallsOf<call::Initialize>(t.Records());
  return !init.empty() && init.front().fullScreen;
}

TEST(HostileFiles, TheGameStartsReadsWhatItCanAndKeepsEveryOtherKey) {
  for (const HostileCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    test::TestGame t;
    const fs::path scoreFile = t.folder / "files" / "bullet.dds";
    if (c.scores) test::WriteFile(scoreFile, *c.scores);
    if (c.options) test::WriteFile(t.folder / "opt.ini", *c.options);
    if (c.prepare) c.prepare(t.folder.path());

    GameRun run = RunGame(t, 3);
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(t.backend.platform().FatalMessage(), "");

    // What it read, with what it could not read as 0 or its default.
    const Expected& e = c.expected;
    EXPECT_EQ(t.game.BestScore, e.bestScore);
    for (int level = 1; level <= kMaxLevel; ++level) {
      float best = e.levelBests.count(level) ? e.levelBests.at(level) : 0.0f;
      EXPECT_EQ(t.game.LevelBestScores[level], best) << "start level " << level;
    }
    EXPECT_EQ(t.game.HighestLevel, e.highestLevel);
    EXPECT_EQ(FullScreen(t), e.fullScreen);
    EXPECT_EQ(t.backend.SoundLoaded("fire"), e.sound);

    // What it said, and only when it had something to say; never a flood.
    for (const std::string& message : c.messages) {
      EXPECT_NE(run.errors.find(message), std::string::npos) << message << " not in:\n"
                                                             << run.errors;
    }
    if (c.messages.empty()) {
      EXPECT_EQ(run.errors, "");
    }
    EXPECT_LT(run.errors.size(), 2000u);

    if (!c.scoresWritable) {
      if (c.scores) {
        EXPECT_EQ(test::ReadFile(scoreFile), *c.scores) << "the score file changed";
      }
      continue;
    }
    // Every key the file held keeps its value (an empty one counts as missing and gets its
    // default); the defaults the game writes at start are there.
    std::string after = test::ReadFile(scoreFile);
    std::vector<fuzzcheck::IniEntry> before = fuzzcheck::PlainEntries(c.scores.value_or(""));
    std::vector<fuzzcheck::IniEntry> now = fuzzcheck::PlainEntries(after);
    for (const fuzzcheck::IniEntry& entry : before) {
      std::string value = fuzzcheck::PlainLookup(before, entry.section, entry.key);
      if (value.empty()) continue;
      EXPECT_EQ(fuzzcheck::PlainLookup(now, entry.section, entry.key), value)
          << "[" << entry.section << "] " << entry.key << " was lost";
    }
    EXPECT_NE(fuzzcheck::PlainLookup(now, "SCORE", "M1"), "");
    for (int level = 1; level <= 50; ++level) {
      EXPECT_NE(fuzzcheck::PlainLookup(now, "SCORE", LevelKey(level)), "") << level;
    }
  }
}

// A player who starts the game from the desktop never sees stderr: a score that cannot be saved
// is told in the window too, the first time in a run only, naming the file and the reason. The
// game goes on with its scores in memory and leaves the old file whole.
TEST(HostileFiles, AScoreThatCannotBeSavedIsToldInTheWindowOnceARun) {
  test::TestGame t;
  const fs::path scoreFile = t.folder / "files" / "bullet.dds";
  const std::string before = "[SCORE]\nM1=250\n[LEVEL]\nPASSED=2\n";
  test::WriteFile(scoreFile, before);
  test::WriteFile(t.folder / "opt.ini", kGoodOptions);
  fs::create_directories(t.folder / "files" / "bullet.dds.lock");
  // Start-up fails to write its fifty default scores; then R held + E resets the survival record,
  // which fails to be written too.
  using Kind = ScriptEvent::Kind;
  t.backend.SetScript({{10, Kind::Down, Key::R}, {11, Kind::Tap, Key::E}}, 20);
  testing::internal::CaptureStderr();
  const int status = Main(t.game);
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 0) << errors;

  const std::vector<std::string>& warnings = t.backend.platform().Warnings();
  ASSERT_EQ(warnings.size(), 1u) << errors;
  EXPECT_NE(warnings[0].find(scoreFile.string()), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[0].find("Is a directory"), std::string::npos) << warnings[0];
  EXPECT_NE(errors.find("could not save"), std::string::npos) << errors;
  EXPECT_EQ(t.game.BestScore, 0.0f);  // the reset holds in memory
  EXPECT_EQ(test::ReadFile(scoreFile), before);
}

// Root reads every file whatever its permissions, so this one only runs for other users.
TEST(HostileFiles, UnreadableScoreFileIsNeitherReadAsEmptyNorOverwritten) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads files whatever their permissions";
  test::TestGame t;
  const fs::path scoreFile = t.folder / "files" / "bullet.dds";
  test::WriteFile(scoreFile, "[SCORE]\nM1=900\n");
  fs::permissions(scoreFile, fs::perms::none);
  GameRun run = RunGame(t, 2);
  fs::permissions(scoreFile, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.errors.find("cannot read"), std::string::npos) << run.errors;
  EXPECT_EQ(test::ReadFile(scoreFile), "[SCORE]\nM1=900\n");
}

TEST(HostileFiles, AMissingAssetEndsTheGameNamingItAndWritesNothing) {
  struct Missing {
    const char* file;
    const char* options;
  };
  const Missing missing[] = {
      {"logo.jpg", "[OPTIONS]\nSND=False\n"},
      {"arrow.dds", "[OPTIONS]\nSND=False\n"},
      {"hit_03.wav", "[OPTIONS]\nSND=True\n"},
      {"music.ogg", "[OPTIONS]\nSND=True\n"},
  };
  for (const Missing& m : missing) {
    SCOPED_TRACE(m.file);
    for (bool withScores : {false, true}) {
      test::TestGame t;
      test::WriteFile(t.folder / "opt.ini", m.options);
      const fs::path scoreFile = t.folder / "files" / "bullet.dds";
      if (withScores) test::WriteFile(scoreFile, "[SCORE]\nM1=3\n");
      fs::remove(t.folder / "files" / m.file);

      GameRun run = RunGame(t, 3);
      EXPECT_NE(run.status, 0);
      std::string stem = fs::path(m.file).stem().string();
      EXPECT_NE(t.backend.platform().FatalMessage().find(stem), std::string::npos)
          << t.backend.platform().FatalMessage();
      EXPECT_NE(run.errors.find(stem), std::string::npos) << run.errors;
      EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
      if (withScores) {
        EXPECT_EQ(test::ReadFile(scoreFile), "[SCORE]\nM1=3\n");
      } else {
        EXPECT_FALSE(fs::exists(scoreFile));
      }
      EXPECT_EQ(test::TemporaryFilesIn(t.folder / "files"), std::vector<std::string>{});
    }
  }
}

// The real game (SDL2, drawing into SDL's offscreen window, sound through the dummy driver) on a
// copy of the generated files with one of them damaged: it must stop with a message naming the
// file and a non-zero status, and leave the score file alone.
struct RealGame {
  fs::path folder;
  std::string output;
  int status = -1;
};

bool RealGameAvailable() {
  const fs::path build = SWAYFIRE_BUILD_DIR;
  return fs::exists(build / "swayfire") && fs::exists(build / "files" / "logo.jpg");
}

// A folder with a copy of the game, its files linked from the build, and the options given.
void InstallRealGame(const fs::path& folder, const std::string& options) {
  const fs::path build = SWAYFIRE_BUILD_DIR;
  fs::create_directories(folder / "files");
  fs::copy_file(build / "swayfire", folder / "swayfire");
  for (const auto& entry : fs::directory_iterator(build / "files")) {
    if (entry.path().filename() == "bullet.dds") continue;
    fs::create_symlink(entry.path(), folder / "files" / entry.path().filename());
  }
  test::WriteFile(folder / "opt.ini", options);
}

GameRun RunRealGame(const fs::path& folder) {
  // In the sanitizer build the game's own memory errors are reported; leak reports are not asked
  // for, since the libraries SDL loads and unloads at run time leave some behind.
  std::string command = "cd '" + folder.string() +
                        "' && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "
                        "SWAYFIRE_NO_MESSAGEBOX=1 ASAN_OPTIONS=detect_leaks=0 "
                        "timeout 30 ./swayfire 2>&1";
  test::CommandResult result = test::RunCommand(command);
  return GameRun{result.status, result.output};
}

TEST(HostileFiles, ACorruptAssetEndsTheRealGameNamingItAndWritesNothing) {
  if (!RealGameAvailable()) GTEST_SKIP() << "the game or its generated files are not built";
  struct Damage {
    const char* file;
    std::string bytes;
    bool sound;
  };
  const Damage damages[] = {
      {"logo.jpg", Garbage(3000, 3), false},
      {"ai_3.bmp", "BM" + Garbage(500, 4), false},
      {"arrow.dds", "DDS |" + std::string(60, '\0'), false},
      {"font_default.dds", Garbage(200, 5), false},
      {"hit_03.wav", "RIFF" + Garbage(5000, 6), true},
      {"music.ogg", Garbage(5000, 7), true},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.file);
    for (bool withScores : {false, true}) {
      test::TempFolder folder;
      InstallRealGame(folder.path(), damage.sound ? "[OPTIONS]\nSND=True\n" : "[OPTIONS]\n");
      fs::remove(folder / "files" / damage.file);
      test::WriteFile(folder / "files" / damage.file, damage.bytes);
      const fs::path scoreFile = folder / "files" / "bullet.dds";
      if (withScores) test::WriteFile(scoreFile, "[SCORE]\nM1=3\n");

      GameRun run = RunRealGame(folder.path());
      if (run.errors.find("cannot open the game window") != std::string::npos) {
        GTEST_SKIP() << "no offscreen video here: " << run.errors;
      }
      EXPECT_NE(run.status, 0) << run.errors;
      EXPECT_NE(run.status, 124) << "the game hung";
      EXPECT_NE(run.errors.find("swayfire: error:"), std::string::npos) << run.errors;
      EXPECT_EQ(run.errors.find("Sanitizer"), std::string::npos) << run.errors;
      std::string stem = fs::path(damage.file).stem().string();
      EXPECT_NE(run.errors.find(stem), std::string::npos) << run.errors;
      if (withScores) {
        EXPECT_EQ(test::ReadFile(scoreFile), "[SCORE]\nM1=3\n");
      } else {
        EXPECT_FALSE(fs::exists(scoreFile));
      }
    }
  }
}

}  // namespace
