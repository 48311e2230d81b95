// The menu inside the running program: whole main-loop passes, the headless runner with scripted
// keys, and the score file on disk.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "io/ini_utility.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

const std::string kMove = "Engine.PlaySound \"menu_opt\" 0 100 0 44";
const std::string kRefused = "Engine.PlaySound \"menu_opt\" 0 100 0 11";
const std::string kAccepted = "Engine.PlaySound \"menu_opt\" 0 100 0 66";
const std::string kEnter = "Engine.PlaySound \"enter\" 0 100 0 0";

// One run of the headless program: its exit status and its trace, split by main-loop pass
// (entry 0 holds the start-up).
struct HeadlessRun {
  int status = -1;
  std::vector<std::vector<std::string>> passes;

  int Count(size_t pass, const std::string& prefix) const {
    int n = 0;
    for (const std::string& line : passes.at(pass)) n += line.rfind(prefix, 0) == 0;
    return n;
  }
  std::vector<std::string> All(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& pass : passes) {
      for (const std::string& line : pass) {
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
      }
    }
    return found;
  }
  const std::vector<std::string>& Last() const { return passes.back(); }
};

class MenuFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeAssetFiles(folder.path());
    test::WriteFile(folder / "opt.ini", "[OPTIONS]\r\nFS=False\r\nSND=True\r\n");
  }

  std::filesystem::path ScoreFile() const { return folder / "files" / "bullet.dds"; }
  std::string Stored(const std::string& section, const std::string& key) const {
    return IniLookup(test::ReadFile(ScoreFile()), section, key);
  }

  HeadlessRun RunHeadless(const std::string& script, int passes) {
    const std::filesystem::path input = folder / "keys.txt";
    const std::filesystem::path trace = folder / "trace.txt";
    test::WriteFile(input, script);
    std::string command = std::string(SWAYFIRE_HEADLESS) + " --folder '" + folder.str() +
                          "' --input '" + input.string() + "' --trace '" + trace.string() +
                          "' --passes " + std::to_string(passes);
    HeadlessRun run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream lines(test::ReadFile(trace));
    run.passes.emplace_back();
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("# pass ", 0) == 0) {
        EXPECT_EQ(std::stoul(line.substr(7)), run.passes.size());
        run.passes.emplace_back();
      } else {
        run.passes.back().push_back(line);
      }
    }
    return run;
  }

  test::TempFolder folder;
};

TEST_F(MenuFlow, FirstRunOffersOnlyLevelOneAndTheExitEntryEndsTheProgram) {
  HeadlessRun run = RunHeadless(
      "2 tap 208\n"  // Down to the level entry
      "3 tap 205\n"  // Right: refused
      "4 tap 203\n"  // Left: refused
      "5 tap 208\n"  // Down to the exit entry
      "6 tap 28\n",  // Enter: leave
      1000);
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.passes.size(), 7u);  // start-up and six passes: the close at 1000 is never needed
  EXPECT_EQ(run.Last().back(), "Engine.Shutdown");
  EXPECT_EQ(run.All("Engine.PlaySound"),
            (std::vector<std::string>{kMove, kRefused, kRefused, kMove}));
  // The level entry reads "REVIVAL 0" only in the first frame, under the logo, before the first
  // menu pass has brought the start level to 1; it never offers level 2.
  for (size_t pass = 1; pass < run.passes.size(); ++pass) {
    EXPECT_EQ(run.Count(pass, "Engine.DrawBitmapText \"files\\\\font_default.dds\" \"REVIVAL 1\""),
              pass == 1 ? 0 : 1 + (pass >= 3 && pass <= 5));
    EXPECT_EQ(run.Count(pass, "Engine.DrawBitmapText \"files\\\\font_default.dds\" \"REVIVAL 2\""),
              0);
  }
  // The first run wrote the records and left the level progress alone.
  EXPECT_EQ(Stored("SCORE", "M1"), "0");
  EXPECT_EQ(Stored("SCORE", "M2-50"), "0");
  EXPECT_EQ(Stored("LEVEL", "PASSED"), "");
  EXPECT_EQ(run.Count(1, "Utility.ReadIni \"LEVEL\" \"PASSED\""), 1);
  EXPECT_EQ(run.All("Utility.ReadIni \"LEVEL\"").size(), 1u);
}

TEST_F(MenuFlow, MenuFramesOfARun) {
  HeadlessRun run = RunHeadless("", 120);
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.passes.size(), 121u);
  std::string caption;
  for (size_t pass = 1; pass <= 120; ++pass) {
    const std::vector<std::string>& lines = run.passes[pass];
    EXPECT_EQ(run.Count(pass, "Engine.BeginFrame"), 0);
    EXPECT_EQ(run.Count(pass, "Engine.EndFrame"), 1);
    EXPECT_EQ(run.Count(pass, "Engine.DrawText \"smalltext\" 437 2 "), 0) << "no last game yet";
    int logo = 0;
    for (const std::string& line : lines) {
      if (line.rfind("Engine.DrawSprite \"files\\\\logo.jpg\"", 0) == 0) {
        ++logo;
        EXPECT_EQ(test::Words(line)[7], std::to_string(100 - static_cast<int>(pass)));
      }
      // The exit entry keeps the caption it got on the first frame.
      if (line.find(" 140 270 1 ") != std::string::npos) {
        std::string text = test::Words(line)[2];
        if (caption.empty()) caption = text;
        EXPECT_EQ(text, caption) << "pass " << pass;
      }
    }
    EXPECT_EQ(logo, pass <= 100 ? 1 : 0) << "pass " << pass;
  }
  EXPECT_FALSE(caption.empty());
}

TEST_F(MenuFlow, ALevelResetWritesOnlyItsOwnKey) {
  std::string scores = "[SCORE]\r\nM1=900\r\n";
  for (int level = 1; level <= 50; ++level) {
    scores += LevelKey(level) + "=" + std::to_string(level * 10) + "\r\n";
  }
  scores += "[LEVEL]\r\nPASSED=5\r\n";
  test::WriteFile(ScoreFile(), scores);
  HeadlessRun run = RunHeadless(
      "2 tap 208\n"  // the level entry
      "3 tap 205\n"  // level 2
      "4 tap 205\n"  // level 3
      "5 down 19\n"  // hold R
      "6 tap 18\n"   // and press E
      "7 up 19\n"
      "8 tap 1\n"    // Escape: to the exit entry
      "9 tap 57\n",  // Space: leave
      1000);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.passes.size(), 10u);
  EXPECT_EQ(run.All("Utility.WriteIni"),
            std::vector<std::string>{
                "Utility.WriteIni \"SCORE\" \"M2-3\" \"0\" \"files\\\\bullet.dds\" 0"});
  EXPECT_EQ(run.All("Engine.PlaySound"),
            (std::vector<std::string>{kMove, kAccepted, kAccepted, kMove, kMove}));
  EXPECT_EQ(Stored("SCORE", "M2-3"), "0");
  EXPECT_EQ(Stored("SCORE", "M1"), "900");
  for (int level = 1; level <= 50; ++level) {
    if (level != 3) {
      EXPECT_EQ(Stored("SCORE", LevelKey(level)), std::to_string(level * 10));
    }
  }
  EXPECT_EQ(Stored("LEVEL", "PASSED"), "5");
  // The record shown beside "REVIVAL 3" drops to zero from the next frame on.
  EXPECT_EQ(run.Count(6, "Engine.DrawBitmapText \"files\\\\font_default.dds\" \"00030\" 410 233"),
            1);
  EXPECT_EQ(run.Count(7, "Engine.DrawBitmapText \"files\\\\font_default.dds\" \"00000\" 410 233"),
            1);
}

TEST_F(MenuFlow, ASurvivalResetWritesOnlyM1) {
  test::WriteFile(ScoreFile(), "[SCORE]\r\nM1=900\r\nM2-1=70\r\n[LEVEL]\r\nPASSED=2\r\n");
  HeadlessRun run = RunHeadless("2 down 19\n2 tap 18\n3 up 19\n4 tap 200\n5 tap 28\n", 1000);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.passes.size(), 6u);
  // Start-up fills in the missing level records; the reset writes M1 and nothing else.
  for (size_t pass = 1; pass < run.passes.size(); ++pass) {
    EXPECT_EQ(run.Count(pass, "Utility.WriteIni"), pass == 2 ? 1 : 0) << "pass " << pass;
  }
  const std::vector<std::string>& reset = run.passes[2];
  auto write = std::find(reset.begin(), reset.end(),
                         "Utility.WriteIni \"SCORE\" \"M1\" \"0\" \"files\\\\bullet.dds\" 0");
  ASSERT_NE(write, reset.end());
  ASSERT_NE(write + 1, reset.end());
  EXPECT_EQ(*(write + 1), kMove);  // the click follows the write
  EXPECT_EQ(Stored("SCORE", "M1"), "0");
  EXPECT_EQ(Stored("SCORE", "M2-1"), "70");
  EXPECT_EQ(Stored("SCORE", "M2-2"), "0");
  EXPECT_EQ(Stored("LEVEL", "PASSED"), "2");
}

// Whole passes on the test backend, for what the frames show as the keys go.
class MenuPasses : public ::testing::Test {
 protected:
  void SetUp() override {
    t.LoadResources();
    t.game.Running = true;
  }
  void Pass(std::initializer_list<int16_t> taps = {}) {
    t.game.platform.BeginPass();
    t.ClearTrace();
    for (int16_t key : taps) t.backend.TapKey(key);
    RunPass(t.game);
  }
  // The entry drawn with its Highlight copy in this pass's frame.
  std::string Highlighted() const {
    std::string found;
    for (const auto& text : CallsOf<call::DrawBitmapText>(t.Records())) {
      if (text.scale == 1 && text.blue == 42) found += TraceString(text.text);
    }
    return found;
  }

  test::TestGame t;
};

TEST_F(MenuPasses, TheFrameShowsTheCursorOfThePreviousPass) {
  Pass();
  EXPECT_EQ(Highlighted(), "\"SURVIVAL\"");
  Pass({Key::Up});
  EXPECT_EQ(Highlighted(), "\"SURVIVAL\"");
  Pass();
  EXPECT_FALSE(Highlighted().empty());
  EXPECT_EQ(Highlighted(), "\"" + t.game.ExitCaption + "\"");
  Pass({Key::Down});
  Pass();
  EXPECT_EQ(Highlighted(), "\"SURVIVAL\"");
}

TEST_F(MenuPasses, SpaceAndEnterInOnePassStartOneGame) {
  Pass();
  Pass({Key::Space, Key::Enter});
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_EQ(t.Count(kEnter), 1);
  EXPECT_EQ(t.Count("MusicPlayer.SetVolume 83"), 1);
  Pass();  // the game's first pass: no menu, no second start
  EXPECT_EQ(t.Count("MusicPlayer.SetVolume 83"), 0);
  EXPECT_EQ(t.Count("MusicPlayer.SetVolume 95"), 0);
  EXPECT_EQ(t.Count(kEnter), 0);
}

TEST_F(MenuPasses, AfterAGameNavigationWaitsWhileStartingDoesNot) {
  Pass();
  // What the end of a game leaves behind.
  t.game.MenuDelay = 50;
  for (int pass = 1; pass <= 49; ++pass) {
    Pass({Key::Down});
    ASSERT_EQ(t.game.MenuSelection, 0) << "pass " << pass;
  }
  Pass({Key::Down});
  EXPECT_EQ(t.game.MenuSelection, 1);

  t.game.MenuSelection = 0;
  t.game.MenuDelay = 50;
  Pass({Key::Enter});
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_TRUE(t.game.SurvivalMode);
}

}  // namespace
