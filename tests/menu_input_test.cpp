// The menu's keys, one menu pass at a time: cursor, start level, game start, exit, score reset.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "io/ini_utility.h"
#include "menu/menu.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

const std::string kMove = "Engine.PlaySound \"menu_opt\" 0 100 0 44";
const std::string kAccepted = "Engine.PlaySound \"menu_opt\" 0 100 0 66";
const std::string kRefused = "Engine.PlaySound \"menu_opt\" 0 100 0 11";
const std::string kEnter = "Engine.PlaySound \"enter\" 0 100 0 0";

class MenuInput : public ::testing::Test {
 protected:
  void SetUp() override {
    t.game.Running = true;
    t.game.Level = 1;
    t.game.HighestLevel = 1;
  }

  // One menu pass with these keys tapped (and whatever is held).
  void Pass(std::initializer_list<int16_t> taps = {}) {
    t.game.platform.BeginPass();
    t.ClearTrace();
    for (int16_t key : taps) t.backend.TapKey(key);
    HandleMenuInput(t.game);
  }
  std::vector<std::string> Sounds() const { return t.Calls("Engine.PlaySound"); }
  std::filesystem::path ScoreFile() const { return t.folder / "files" / "bullet.dds"; }
  std::string Stored(const std::string& section, const std::string& key) const {
    return IniLookup(test::ReadFile(ScoreFile()), section, key);
  }

  test::TestGame t;
};

TEST_F(MenuInput, MenuMusicIsLouderEveryPass) {
  Pass();
  Pass();
  EXPECT_EQ(t.Calls("MusicPlayer.SetVolume"), std::vector<std::string>{"MusicPlayer.SetVolume 95"});
}

TEST_F(MenuInput, UpAndDownWrapAroundWithAClick) {
  Pass({Key::Up});
  EXPECT_EQ(t.game.MenuSelection, 2);  // from "SURVIVAL" up to the exit entry
  EXPECT_EQ(Sounds(), std::vector<std::string>{kMove});
  Pass({Key::Down});
  EXPECT_EQ(t.game.MenuSelection, 0);  // and down again
  Pass({Key::Down});
  Pass({Key::Down});
  EXPECT_EQ(t.game.MenuSelection, 2);
  Pass({Key::Up});
  EXPECT_EQ(t.game.MenuSelection, 1);
  // Both in one pass: two clicks, the cursor stays.
  Pass({Key::Down, Key::Up});
  EXPECT_EQ(t.game.MenuSelection, 1);
  EXPECT_EQ(Sounds(), (std::vector<std::string>{kMove, kMove}));
  // A held key moves once per press, not once per pass.
  t.game.platform.BeginPass();
  t.backend.PressKey(Key::Down);
  HandleMenuInput(t.game);
  EXPECT_EQ(t.game.MenuSelection, 2);
  Pass();
  Pass();
  EXPECT_EQ(t.game.MenuSelection, 2);
}

TEST_F(MenuInput, NavigationWaitsFortyNinePassesAfterAGame) {
  t.game.MenuDelay = 50;
  t.game.HighestLevel = 5;
  t.game.Level = 3;
  t.game.MenuSelection = 1;
  for (int pass = 1; pass <= 49; ++pass) {
    Pass({Key::Down, Key::Up, Key::Left, Key::Right});
    EXPECT_EQ(t.game.MenuSelection, 1) << pass;
    EXPECT_EQ(t.game.Level, 3) << pass;
    EXPECT_TRUE(Sounds().empty()) << pass;
    // Not even asked for.
    for (int16_t key : {Key::Down, Key::Up, Key::Left, Key::Right}) {
      EXPECT_EQ(t.Count("Engine.IsKeyHit " + std::to_string(key)), 0) << pass;
    }
  }
  EXPECT_EQ(t.game.MenuDelay, 1);
  Pass({Key::Right});
  EXPECT_EQ(t.game.MenuDelay, 0);
  EXPECT_EQ(t.game.Level, 4);
  EXPECT_EQ(Sounds(), std::vector<std::string>{kAccepted});
  Pass({Key::Down});
  EXPECT_EQ(t.game.MenuSelection, 2);
}

TEST_F(MenuInput, ActivationEscapeResetAndScreenshotDoNotWait) {
  t.game.MenuDelay = 50;
  Pass({Key::T});
  EXPECT_EQ(t.backend.Screenshots(), 1);
  t.backend.PressKey(Key::R);
  Pass({Key::E});
  EXPECT_EQ(Stored("SCORE", "M1"), "0");
  t.backend.ReleaseKey(Key::R);
  Pass({Key::Escape});
  EXPECT_EQ(t.game.MenuSelection, 2);
  t.game.MenuSelection = 0;
  Pass({Key::Enter});
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_GT(t.game.MenuDelay, 0);
}

TEST_F(MenuInput, SpaceAndEnterTogetherStartOneGame) {
  Pass({Key::Space, Key::Enter});
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_TRUE(t.game.SurvivalMode);
  EXPECT_EQ(t.Count("MusicPlayer.SetVolume 83"), 1);  // NewGame ran once
  EXPECT_EQ(Sounds(), std::vector<std::string>{kEnter});
  // Both keys were read, so neither is left over.
  EXPECT_EQ(t.Count("Engine.IsKeyHit 57"), 1);
  EXPECT_EQ(t.Count("Engine.IsKeyHit 28"), 1);
}

TEST_F(MenuInput, SurvivalEntryStartsASurvivalGame) {
  t.game.Level = 1;
  Pass({Key::Space});
  EXPECT_TRUE(t.game.SurvivalMode);
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_EQ(t.game.EnemyMax, 4);
  // The game is set up before its start sounds.
  const std::vector<std::string>& lines = t.Lines();
  auto volume = std::find(lines.begin(), lines.end(), "MusicPlayer.SetVolume 83");
  auto enter = std::find(lines.begin(), lines.end(), kEnter);
  ASSERT_NE(volume, lines.end());
  ASSERT_NE(enter, lines.end());
  EXPECT_LT(volume, enter);
}

TEST_F(MenuInput, LevelEntryStartsALevelGameAtTheChosenLevel) {
  t.game.HighestLevel = 12;
  t.game.Level = 10;
  t.game.SurvivalMode = true;
  t.game.MenuSelection = 1;
  Pass({Key::Enter});
  EXPECT_FALSE(t.game.SurvivalMode);
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_EQ(t.game.EnemyMax, 14);
  EXPECT_EQ(t.game.EnemiesLeft, 24);
  EXPECT_EQ(Sounds(), std::vector<std::string>{kEnter});
}

TEST_F(MenuInput, ExitEntryEndsTheRunWithoutAGame) {
  t.game.MenuSelection = 2;
  Pass({Key::Space});
  EXPECT_FALSE(t.game.Running);
  EXPECT_EQ(t.game.GameMode, "");
  EXPECT_TRUE(Sounds().empty());
}

TEST_F(MenuInput, EscapeOnlyMovesTheCursorToTheExitEntry) {
  Pass({Key::Escape});
  EXPECT_EQ(t.game.MenuSelection, 2);
  EXPECT_TRUE(t.game.Running);
  EXPECT_EQ(t.game.GameMode, "");
  EXPECT_EQ(Sounds(), std::vector<std::string>{kMove});
  Pass({Key::Escape});
  EXPECT_EQ(t.game.MenuSelection, 2);
  EXPECT_TRUE(t.game.Running);
  Pass({Key::Enter});
  EXPECT_FALSE(t.game.Running);
}

TEST_F(MenuInput, LevelStaysWithinTheOffer) {
  struct Step {
    int16_t key;
    int16_t level;      // after the pass
    std::string sound;  // the click heard
  };
  auto play = [this](std::initializer_list<Step> steps) {
    for (const Step& step : steps) {
      Pass({step.key});
      EXPECT_EQ(t.game.Level, step.level) << "key " << step.key;
      EXPECT_EQ(Sounds(), std::vector<std::string>{step.sound}) << "key " << step.key;
    }
  };
  t.game.MenuSelection = 1;
  // Only level 1 offered: both directions are refused.
  play({{Key::Right, 1, kRefused}, {Key::Left, 1, kRefused}});

  t.game.HighestLevel = 5;
  t.game.Level = 3;
  play({{Key::Right, 4, kAccepted},
        {Key::Right, 5, kAccepted},
        {Key::Right, 5, kRefused},
        {Key::Left, 4, kAccepted}});
  // Left and Right in one pass: both clicks, back where it was.
  Pass({Key::Left, Key::Right});
  EXPECT_EQ(t.game.Level, 4);
  EXPECT_EQ(Sounds(), (std::vector<std::string>{kAccepted, kAccepted}));
}

TEST_F(MenuInput, LeftAndRightOnlyOnTheLevelEntry) {
  t.game.HighestLevel = 5;
  t.game.Level = 3;
  for (int16_t selection : {0, 2}) {
    t.game.MenuSelection = selection;
    Pass({Key::Left});
    Pass({Key::Right});
    EXPECT_EQ(t.game.Level, 3);
    EXPECT_TRUE(Sounds().empty());
  }
}

TEST_F(MenuInput, FirstPassReadsTheHighestLevelOnce) {
  t.game.Level = 0;
  t.game.HighestLevel = 0;
  test::WriteFile(ScoreFile(), "[LEVEL]\r\nPASSED=12\r\n");
  Pass();
  EXPECT_EQ(t.game.Level, 1);
  EXPECT_EQ(t.game.HighestLevel, 12);
  EXPECT_EQ(t.Calls("Utility.ReadIni"),
            std::vector<std::string>{
                "Utility.ReadIni \"LEVEL\" \"PASSED\" \"files\\\\bullet.dds\" 0 -> \"12\""});
  Pass();
  EXPECT_EQ(t.Count("Utility.ReadIni"), 0);
  EXPECT_EQ(t.game.HighestLevel, 12);
}

TEST_F(MenuInput, HandEditedHighestLevelStaysWithinTheRecords) {
  struct Case {
    const char* file;
    int16_t highest;
  };
  for (Case c :
       {Case{"", 1}, Case{"[LEVEL]\r\nPASSED=\r\n", 1}, Case{"[LEVEL]\r\nPASSED=abc\r\n", 1},
        Case{"[LEVEL]\r\nPASSED=0\r\n", 1}, Case{"[LEVEL]\r\nPASSED=-7\r\n", 1},
        Case{"[LEVEL]\r\nPASSED=100\r\n", 100}, Case{"[LEVEL]\r\nPASSED=5000\r\n", 100}}) {
    test::TestGame g;
    if (*c.file) test::WriteFile(g.folder / "files" / "bullet.dds", c.file);
    g.game.MenuSelection = 1;
    for (int pass = 0; pass < 120; ++pass) {
      g.game.platform.BeginPass();
      g.backend.TapKey(Key::Right);
      HandleMenuInput(g.game);
      ASSERT_GE(g.game.Level, 1) << c.file;
      ASSERT_LE(g.game.Level, g.game.HighestLevel) << c.file;
    }
    EXPECT_EQ(g.game.HighestLevel, c.highest) << c.file;
    EXPECT_EQ(g.game.Level, c.highest) << c.file;
  }
}

TEST_F(MenuInput, LevelGameAskedForOnTheVeryFirstPassStartsAtLevelOne) {
  t.game.Level = 0;
  t.game.HighestLevel = 0;
  Pass({Key::Down, Key::Enter});
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_FALSE(t.game.SurvivalMode);
  EXPECT_EQ(t.game.Level, 1);
  EXPECT_EQ(t.game.EnemyMax, 5);
  EXPECT_EQ(t.game.EnemiesLeft, 6);
}

TEST_F(MenuInput, ResetClearsOnlyTheSelectedRecord) {
  test::WriteFile(ScoreFile(),
                  "[SCORE]\r\nM1=500\r\nM2-2=20\r\nM2-3=30\r\nM2-4=40\r\n[LEVEL]\r\nPASSED=5\r\n");
  t.game.BestScore = 500;
  t.game.LevelBestScores[2] = 20;
  t.game.LevelBestScores[3] = 30;
  t.game.HighestLevel = 5;
  t.game.Level = 3;
  t.game.MenuSelection = 1;
  t.backend.PressKey(Key::R);
  Pass({Key::E});
  EXPECT_EQ(t.Calls("Utility.WriteIni"),
            std::vector<std::string>{
                "Utility.WriteIni \"SCORE\" \"M2-3\" \"0\" \"files\\\\bullet.dds\" 0"});
  EXPECT_EQ(Sounds(), std::vector<std::string>{kMove});
  EXPECT_EQ(t.game.LevelBestScores[3], 0.0f);
  EXPECT_EQ(t.game.LevelBestScores[2], 20.0f);
  EXPECT_EQ(t.game.BestScore, 500.0f);
  EXPECT_EQ(Stored("SCORE", "M2-3"), "0");
  EXPECT_EQ(Stored("SCORE", "M2-2"), "20");
  EXPECT_EQ(Stored("SCORE", "M2-4"), "40");
  EXPECT_EQ(Stored("SCORE", "M1"), "500");
  EXPECT_EQ(Stored("LEVEL", "PASSED"), "5");

  t.game.MenuSelection = 0;
  Pass({Key::E});
  EXPECT_EQ(t.Calls("Utility.WriteIni"),
            std::vector<std::string>{
                "Utility.WriteIni \"SCORE\" \"M1\" \"0\" \"files\\\\bullet.dds\" 0"});
  EXPECT_EQ(t.game.BestScore, 0.0f);
  EXPECT_EQ(Stored("SCORE", "M1"), "0");
  EXPECT_EQ(Stored("SCORE", "M2-2"), "20");
  EXPECT_EQ(Stored("SCORE", "M2-4"), "40");

  // On the exit entry the keys do nothing.
  const std::string before = test::ReadFile(ScoreFile());
  t.game.MenuSelection = 2;
  Pass({Key::E});
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
  EXPECT_TRUE(Sounds().empty());
  EXPECT_EQ(test::ReadFile(ScoreFile()), before);
}

TEST_F(MenuInput, ResetNeedsRHeldAndEPressed) {
  test::WriteFile(ScoreFile(), "[SCORE]\r\nM1=500\r\n");
  t.game.BestScore = 500;
  Pass({Key::E});
  Pass({Key::R});
  t.backend.PressKey(Key::E);  // both merely held from before: still no reset
  t.backend.PressKey(Key::R);
  Pass();
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
  EXPECT_EQ(t.game.BestScore, 500.0f);
  EXPECT_EQ(Stored("SCORE", "M1"), "500");
}

TEST_F(MenuInput, TTakesAScreenshot) {
  Pass({Key::T});
  EXPECT_EQ(t.backend.Screenshots(), 1);
  EXPECT_EQ(t.Count("Engine.TakeScreenshot"), 1);
  Pass();
  EXPECT_EQ(t.backend.Screenshots(), 1);
}

}  // namespace
