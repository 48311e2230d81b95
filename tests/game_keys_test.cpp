// The keys of a running game: screenshot, Escape, pause and the health keys.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "test_support.h"

namespace {

class GameKeysTest : public ::testing::Test {
 protected:
  GameKeysTest() {
    t.LoadResources();
    t.game.SurvivalMode = true;
    NewGame(t.game);
    t.ClearTrace();
  }

  // One whole pass of the main loop, as Main runs it, with keys pressed at its start.
  void Pass(std::initializer_list<int16_t> presses = {}) {
    t.game.platform.BeginPass();
    for (int16_t key : presses) t.backend.PressKey(key);
    RunPass(t.game);
  }
  std::string ScoreFile() { return test::ReadFile(t.folder / "files" / "bullet.dds"); }

  test::TestGame t;
};

TEST_F(GameKeysTest, TTakesAScreenshotThenBeeps) {
  t.backend.PressKey(Key::T);
  HandleGameKeys(t.game);
  EXPECT_EQ(t.backend.Screenshots(), 1);
  EXPECT_EQ(t.backend.platform().Beeps(), 1);
  // Held on, it is not a new press.
  HandleGameKeys(t.game);
  EXPECT_EQ(t.backend.Screenshots(), 1);
  EXPECT_EQ(t.backend.platform().Beeps(), 1);
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_FALSE(t.game.Paused);
}

TEST_F(GameKeysTest, EveryKeyIsAskedOnEveryCallInOrder) {
  HandleGameKeys(t.game);
  EXPECT_EQ(t.Lines(), (std::vector<std::string>{
                           "Engine.IsKeyHit 20 -> 0",
                           "Engine.IsKeyHit 1 -> 0",
                           "Engine.IsKeyHit 25 -> 0",
                           "Engine.IsKeyDown 35 -> 0",
                           "Engine.IsKeyHit 18 -> 0",
                       }));
}

TEST_F(GameKeysTest, PTwicePausesAndUnpauses) {
  t.game.PlayerX = 100;
  Pass({Key::Right, Key::P});
  EXPECT_TRUE(t.game.Paused);
  EXPECT_EQ(t.game.PlayerX, 100);  // the ship step did not run
  Pass();
  Pass();
  EXPECT_TRUE(t.game.Paused);
  EXPECT_EQ(t.game.PlayerX, 100);

  Pass({Key::P});
  EXPECT_FALSE(t.game.Paused);
  EXPECT_EQ(t.game.PlayerX, 103);
}

TEST_F(GameKeysTest, KeysStillWorkWhilePaused) {
  t.game.Paused = true;
  t.game.PlayerHealth = 12.5f;
  Pass({Key::H, Key::E, Key::T});
  EXPECT_EQ(t.game.PlayerHealth, 100);  // exactly 100, not the 111 of a new game
  EXPECT_EQ(t.Calls("Engine.PlaySound"),
            std::vector<std::string>{"Engine.PlaySound \"menu_opt\" 0 100 0 44"});
  EXPECT_EQ(t.backend.Screenshots(), 1);
  EXPECT_TRUE(t.game.Paused);

  Pass({Key::Escape});
  EXPECT_EQ(t.game.GameMode, "");
  EXPECT_TRUE(t.game.Paused);  // left as it was; the next game clears it
}

TEST_F(GameKeysTest, TheHealthKeysNeedHHeldAndEPressed) {
  t.game.PlayerHealth = 30;
  t.backend.PressKey(Key::E);
  HandleGameKeys(t.game);
  EXPECT_EQ(t.game.PlayerHealth, 30);

  t.backend.PressKey(Key::H);  // H alone (E still held, but not a new press)
  HandleGameKeys(t.game);
  EXPECT_EQ(t.game.PlayerHealth, 30);
  EXPECT_EQ(t.Count("Engine.PlaySound"), 0);

  t.backend.PressKey(Key::E);
  HandleGameKeys(t.game);
  EXPECT_EQ(t.game.PlayerHealth, 100);

  t.game.PlayerHealth = 250;  // also lowers a higher health to 100
  t.backend.PressKey(Key::E);
  HandleGameKeys(t.game);
  EXPECT_EQ(t.game.PlayerHealth, 100);
  EXPECT_EQ(t.Count("Engine.PlaySound \"menu_opt\""), 2);
}

TEST_F(GameKeysTest, HealthRestoredWhileFadingOutKeepsTheGameGoing) {
  t.game.PlayerHealth = 0;
  t.game.PlayerFade = 3;
  Pass();
  Pass();
  EXPECT_EQ(t.game.PlayerFade, 1);
  Pass({Key::H, Key::E});
  EXPECT_EQ(t.game.PlayerFade, 2);
  for (int i = 0; i < 5; ++i) Pass();
  EXPECT_EQ(t.game.GameMode, "game");
}

TEST_F(GameKeysTest, EscapeLeavesWithoutRecordingAnything) {
  ReadScores(t.game);  // the score file as start-up leaves it
  t.ClearTrace();
  t.game.BestScore = 0;
  t.game.Score = 500;
  t.game.MenuDelay = 7;
  const std::string before = ScoreFile();
  ASSERT_NE(before.find("M1=0"), std::string::npos);
  Pass({Key::Escape});
  EXPECT_EQ(t.game.GameMode, "");
  for (int i = 0; i < 3; ++i) Pass();  // the menu from the next pass on
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
  EXPECT_EQ(t.Count("Engine.PlaySound \"hs\""), 0);
  EXPECT_EQ(ScoreFile(), before);
  EXPECT_EQ(t.game.BestScore, 0);
  EXPECT_FALSE(t.game.NewBestScore);
  EXPECT_EQ(t.game.LastScore, 0);
  EXPECT_NE(t.game.MenuDelay, 50);
}

}  // namespace
