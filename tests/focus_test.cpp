// Switching to another window: a running game pauses as if P had been pressed, and no key stays
// held.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "engine/recording/input_script.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

class FocusTest : public ::testing::Test {
 protected:
  FocusTest() {
    t.LoadResources();
    t.game.SurvivalMode = true;
    NewGame(t.game);
    t.game.PlayerX = 100;
    t.ClearTrace();
  }
  void Pass() {
    t.game.platform.BeginPass();
    RunPass(t.game);
  }
  test::TestGame t;
};

TEST_F(FocusTest, LosingTheFocusPausesARunningGameAndLetsGoOfEveryKey) {
  t.game.platform.BeginPass();
  t.backend.PressKey(Key::Right);
  RunPass(t.game);
  const float moved = t.game.PlayerX;
  EXPECT_GT(moved, 100);

  t.game.platform.BeginPass();
  t.backend.LoseFocus();
  RunPass(t.game);
  EXPECT_TRUE(t.game.Paused);
  EXPECT_EQ(t.game.PlayerX, moved);
  EXPECT_EQ(t.Count("Engine.DrawText \"xl\" 0 180 640 200 \"PAUSED\""), 1);

  // Back in the window: still paused until P, and Right is no longer held.
  for (int i = 0; i < 5; ++i) Pass();
  EXPECT_TRUE(t.game.Paused);
  t.game.platform.BeginPass();
  t.backend.PressKey(Key::P);
  RunPass(t.game);
  EXPECT_FALSE(t.game.Paused);
  Pass();
  EXPECT_EQ(t.game.PlayerX, moved);
  EXPECT_FALSE(t.game.engine.IsKeyDown(Key::Right));
}

TEST_F(FocusTest, APausedGameStaysPausedWhateverElseHappensInThatPass) {
  t.game.Paused = true;
  t.game.platform.BeginPass();
  t.backend.LoseFocus();
  RunPass(t.game);
  EXPECT_TRUE(t.game.Paused);  // P would have resumed it; leaving the window never does

  // P and the focus loss in one pass: P resumes, the loss pauses again.
  t.game.platform.BeginPass();
  t.backend.PressKey(Key::P);
  t.backend.LoseFocus();
  RunPass(t.game);
  EXPECT_TRUE(t.game.Paused);

  // Unpaused, P and the loss together leave it paused too.
  t.game.Paused = false;
  t.game.platform.BeginPass();
  t.backend.PressKey(Key::P);
  t.backend.LoseFocus();
  RunPass(t.game);
  EXPECT_TRUE(t.game.Paused);
}

TEST_F(FocusTest, InTheMenuNothingHappensAndNothingIsKeptForTheNextGame) {
  t.game.GameMode = "";
  t.game.platform.BeginPass();
  t.backend.LoseFocus();
  RunPass(t.game);
  EXPECT_EQ(t.game.GameMode, "");
  EXPECT_FALSE(t.game.Paused);

  // A game started in the next pass runs.
  t.game.platform.BeginPass();
  t.backend.PressKey(Key::Enter);
  RunPass(t.game);
  ASSERT_EQ(t.game.GameMode, "game");
  Pass();
  EXPECT_FALSE(t.game.Paused);
}

// The headless runner's `blur` event, in a whole run: a survival game starts, the ship flies
// right, the window loses the focus, and from then on the game is paused and the ship stays put.
TEST(FocusScript, BlurPausesTheGameInAWholeRun) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  test::WriteFile(folder / "in.txt", "3 tap 28\n10 down 205\n40 blur\n");
  const std::string trace = (folder / "trace.txt").string();
  const std::string command = std::string(SWAYFIRE_HEADLESS) + " --folder " + folder.str() +
                              " --passes 80 --input " + (folder / "in.txt").string() + " --trace " +
                              trace + " 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);

  // The ship's x and whether "PAUSED" shows, pass by pass.
  std::map<int, std::string> shipX;
  std::map<int, bool> paused;
  std::istringstream lines(test::ReadFile(trace));
  std::string line;
  int pass = 0;
  while (std::getline(lines, line)) {
    if (line.starts_with("# pass ")) pass = std::stoi(line.substr(7));
    if (line.starts_with("Engine.DrawSprite \"files\\\\player_10.bmp\"")) {
      shipX[pass] = test::Words(line)[2];
    }
    if (line.find("\"PAUSED\"") != std::string::npos) paused[pass] = true;
  }
  ASSERT_TRUE(shipX.count(39) && shipX.count(40) && shipX.count(80));
  EXPECT_NE(shipX[20], shipX[39]);  // flying right
  EXPECT_FALSE(paused[39]);
  for (int p = 40; p <= 80; ++p) {
    EXPECT_TRUE(paused[p]) << "pass " << p;
    EXPECT_EQ(shipX[p], shipX[39]) << "pass " << p;
  }
}

TEST(FocusScript, BlurTakesNoScanCode) {
  std::istringstream good("5 blur\n");
  std::vector<ScriptEvent> events = ParseInputScript(good);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, ScriptEvent::Kind::Blur);
  EXPECT_EQ(events[0].pass, 5);
  std::istringstream bad("1 down 30\n5 blur 25\n");
  try {
    ParseInputScript(bad);
    ADD_FAILURE() << "accepted a scan code after blur";
  } catch (const ScriptError& error) {
    EXPECT_EQ(error.Line(), 2);
  }
}

}  // namespace
