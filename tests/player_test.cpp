// The ship: movement, the fire rules with and without "E" and "F", fading, and the end of a game
// with its records in the score file.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gameplay/gameplay.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

class PlayerTest : public ::testing::Test {
 protected:
  PlayerTest() {
    t.game.SurvivalMode = true;
    NewGame(t.game);
    t.game.AnimClock = 0.5f;  // t = 500: not an auto-fire frame
    t.ClearTrace();
  }

  // A new pass: presses not read in the last one are gone.
  void NextPass() { t.game.platform.BeginPass(); }
  std::vector<Shot> LiveShots() const {
    std::vector<Shot> live;
    for (const Shot& shot : t.game.Shots) {
      if (shot.Active) live.push_back(shot);
    }
    return live;
  }
  void SetBonusTime(size_t type, float time) {
    t.game.BonusTypes[type].Active = time > 0;
    t.game.BonusTypes[type].Time = time;
  }
  // Makes the game end in this call with the given final sum.
  void PrepareEnd(int16_t score, float health) {
    t.game.Score = score;
    t.game.PlayerHealth = health;
    t.game.PlayerFade = 0;
  }
  std::string ScoreFile() { return test::ReadFile(t.folder / "files" / "bullet.dds"); }

  test::TestGame t;
};

void ExpectShot(const Shot& shot, float x, float y, float speedX, float speedY) {
  EXPECT_EQ(shot.X, x);
  EXPECT_EQ(shot.Y, y);
  EXPECT_EQ(shot.SpeedX, speedX);
  EXPECT_EQ(shot.SpeedY, speedY);
  EXPECT_EQ(shot.Hostile, 0);
  EXPECT_EQ(shot.Owner, kPlayerOwner);
}

// Four shots from the ship at (320, 240), in the order left, right, up, down.
void ExpectFourWays(const std::vector<Shot>& shots) {
  ASSERT_EQ(shots.size(), 4u);
  ExpectShot(shots[0], 332, 252, -10, 0);
  ExpectShot(shots[1], 344, 252, 10, 0);
  ExpectShot(shots[2], 332, 248, 0, -10);
  ExpectShot(shots[3], 332, 264, 0, 10);
}

// --- movement ----------------------------------------------------------------------------------

TEST_F(PlayerTest, ArrowKeysMoveByTheSpeedAndOppositeKeysCancel) {
  t.backend.PressKey(Key::Right);
  t.backend.PressKey(Key::Up);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerX, 323);
  EXPECT_EQ(t.game.PlayerY, 237);

  t.backend.PressKey(Key::Left);
  t.backend.PressKey(Key::Down);
  t.game.PlayerSpeed = 2.5f;
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerX, 323);
  EXPECT_EQ(t.game.PlayerY, 237);

  t.backend.ReleaseKey(Key::Right);
  t.backend.ReleaseKey(Key::Up);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerX, 320.5f);
  EXPECT_EQ(t.game.PlayerY, 239.5f);
}

TEST_F(PlayerTest, TheShipIsKeptOnTheField) {
  t.game.PlayerX = 607;
  t.game.PlayerY = 1;
  t.backend.PressKey(Key::Right);
  t.backend.PressKey(Key::Up);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerX, 608);
  EXPECT_EQ(t.game.PlayerY, 0);

  t.backend.ReleaseAllKeys();
  t.game.PlayerX = -50;
  t.game.PlayerY = 500;
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerX, 0);
  EXPECT_EQ(t.game.PlayerY, 448);
}

// --- single fire --------------------------------------------------------------------------------

TEST_F(PlayerTest, EachFireKeyShootsItsOwnDirection) {
  for (int16_t key : {Key::A, Key::D, Key::W, Key::S}) t.backend.PressKey(key);
  UpdatePlayer(t.game);
  ExpectFourWays(LiveShots());  // one for each key
  EXPECT_EQ(t.Count("Engine.PlaySound \"fire2\""), 4);
}

TEST_F(PlayerTest, HoldingAFireKeyFiresOncePerPress) {
  t.backend.PressKey(Key::D);
  UpdatePlayer(t.game);
  EXPECT_EQ(LiveShots().size(), 1u);
  for (int pass = 0; pass < 5; ++pass) {
    NextPass();  // still held, no new press
    UpdatePlayer(t.game);
  }
  EXPECT_EQ(LiveShots().size(), 1u);

  t.backend.ReleaseKey(Key::D);
  NextPass();
  t.backend.PressKey(Key::D);
  UpdatePlayer(t.game);
  EXPECT_EQ(LiveShots().size(), 2u);
}

TEST_F(PlayerTest, TwoKeysPressedInOneFrameFireTwoShots) {
  t.backend.PressKey(Key::W);
  t.backend.PressKey(Key::S);
  UpdatePlayer(t.game);
  std::vector<Shot> shots = LiveShots();
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(shots[0].SpeedY, -10);
  EXPECT_EQ(shots[1].SpeedY, 10);
}

TEST_F(PlayerTest, ShotsStartFromTheUnclampedPosition) {
  t.game.PlayerX = 0;
  t.backend.PressKey(Key::Left);
  t.backend.PressKey(Key::A);
  UpdatePlayer(t.game);
  std::vector<Shot> shots = LiveShots();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].X, 9);  // -3 + 12
  EXPECT_EQ(t.game.PlayerX, 0);
}

TEST_F(PlayerTest, AFadedOutShipCannotFire) {
  t.game.PlayerFade = 0;
  t.game.PlayerHealth = 50;  // fades in again after the fire step
  t.backend.PressKey(Key::A);
  UpdatePlayer(t.game);
  EXPECT_TRUE(LiveShots().empty());
  EXPECT_EQ(t.Count("Engine.PlaySound"), 0);
  EXPECT_EQ(t.game.PlayerFade, 1);
}

// --- bonus "E": auto-fire ----------------------------------------------------------------------

TEST_F(PlayerTest, AutoFireSpendsSixPerShotOnItsFrames) {
  SetBonusTime(4, 800);
  for (int16_t key : {Key::A, Key::D, Key::W, Key::S}) t.backend.PressKey(key);
  t.game.AnimClock = 0.25f;  // t = 250: not an auto-fire frame, and single fire is off
  UpdatePlayer(t.game);
  EXPECT_TRUE(LiveShots().empty());
  EXPECT_EQ(t.game.BonusTypes[Bonus::E].Time, 800);

  t.game.AnimClock = 0.5f + 1.0f / 1024;  // t = 500.97...: floor gives 500, not a firing frame
  UpdatePlayer(t.game);
  EXPECT_TRUE(LiveShots().empty());

  for (float clock : {0.0625f + 0.0001f, 1.25f + 0.0001f}) {
    // t = 62 and 1250: neither ends in 1, 4 or 7.
    t.game.AnimClock = clock;
    UpdatePlayer(t.game);
  }
  EXPECT_TRUE(LiveShots().empty());

  t.game.AnimClock = 0.5f + 1.0f / 256;  // t = 503.9 -> 503: no
  UpdatePlayer(t.game);
  EXPECT_TRUE(LiveShots().empty());

  t.game.AnimClock = 0.5f + 1.0f / 128;  // t = 507.8 -> 507: fires
  UpdatePlayer(t.game);
  std::vector<Shot> shots = LiveShots();
  ASSERT_EQ(shots.size(), 4u);
  EXPECT_EQ(shots[0].SpeedX, -10);
  EXPECT_EQ(shots[1].SpeedX, 10);
  EXPECT_EQ(shots[2].SpeedY, -10);
  EXPECT_EQ(shots[3].SpeedY, 10);
  EXPECT_EQ(t.game.BonusTypes[Bonus::E].Time, 776);
}

TEST_F(PlayerTest, AutoFireFramesEndInOneFourOrSeven) {
  SetBonusTime(4, 1000);
  t.backend.PressKey(Key::D);
  int fired = 0;
  std::vector<int> firingPhases;
  for (int step = 0; step < 30; ++step) {
    // Whole thousandths plus a quarter keep the floor away from rounding questions.
    const float clock = (2000.0f + static_cast<float>(step) + 0.25f) / 1000.0f;
    t.game.AnimClock = clock;
    const size_t before = LiveShots().size();
    UpdatePlayer(t.game);
    if (LiveShots().size() > before) {
      ++fired;
      firingPhases.push_back(static_cast<int>(std::floor(double{clock} * 1000.0)) % 10);
    }
  }
  EXPECT_EQ(fired, 9);
  for (int phase : firingPhases) EXPECT_TRUE(phase == 1 || phase == 4 || phase == 7) << phase;
  EXPECT_EQ(t.game.BonusTypes[Bonus::E].Time, 1000 - 9 * 6);
}

// AnimClock after a number of passes from 0, summed as the main loop sums it.
float ClockAfter(int passes) {
  float clock = 0;
  for (int i = 0; i < passes; ++i) clock = static_cast<float>(double{clock} + 1.0 / 1000.0);
  return clock;
}

TEST_F(PlayerTest, TheAutoFirePhaseUsesTheExactProductOfTheClock) {
  SetBonusTime(4, 100);
  t.backend.PressKey(Key::A);
  // After 34 passes the clock holds 0.0339999981: times 1000 exactly that is 33.999998, phase 3.
  // A product rounded to single precision would read 34, phase 4, and fire. So for 87 passes.
  for (int passes : {34, 87}) {
    t.game.AnimClock = ClockAfter(passes);
    ASSERT_EQ(static_cast<int>(std::floor(t.game.AnimClock * 1000.0f)), passes);
    UpdatePlayer(t.game);
  }
  EXPECT_TRUE(LiveShots().empty());
  EXPECT_EQ(t.game.BonusTypes[Bonus::E].Time, 100);

  // After 1198 passes the exact product is 1197.99995: phase 7, a firing frame (the rounded
  // product, 1198, would not fire).
  t.game.AnimClock = ClockAfter(1198);
  UpdatePlayer(t.game);
  EXPECT_EQ(LiveShots().size(), 1u);
  EXPECT_EQ(t.game.BonusTypes[Bonus::E].Time, 94);
}

TEST_F(PlayerTest, AutoFireTimeIsNotSpentWithoutHeldKeys) {
  SetBonusTime(4, 300);
  for (int step = 0; step < 20; ++step) {
    t.game.AnimClock = (3000.0f + static_cast<float>(step) + 0.5f) / 1000.0f;
    UpdatePlayer(t.game);
  }
  EXPECT_EQ(t.game.BonusTypes[Bonus::E].Time, 300);
  EXPECT_TRUE(LiveShots().empty());
}

TEST_F(PlayerTest, AutoFireChecksItsTimeOnceAndIsChargedForDroppedShots) {
  SetBonusTime(4, 6);
  for (int16_t key : {Key::A, Key::D, Key::W, Key::S}) t.backend.PressKey(key);
  for (Shot& shot : t.game.Shots) shot.Active = true;  // a full table: nothing is created
  t.game.AnimClock = 0.0041f;                          // t = 4
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.BonusTypes[Bonus::E].Time, -18);
  EXPECT_EQ(t.Count("Engine.PlaySound"), 0);
}

// --- bonus "F": four-way fire -----------------------------------------------------------------

TEST_F(PlayerTest, FourWayFireShootsFourPerPressAndKeepsItsTime) {
  SetBonusTime(5, 500);
  t.backend.PressKey(Key::W);
  UpdatePlayer(t.game);
  ExpectFourWays(LiveShots());
  EXPECT_EQ(t.game.BonusTypes[Bonus::F].Time, 500);

  // Still held: no new press, no new shots. Two keys pressed together: still four.
  NextPass();
  UpdatePlayer(t.game);
  EXPECT_EQ(LiveShots().size(), 4u);
  NextPass();
  t.backend.PressKey(Key::A);
  t.backend.PressKey(Key::S);
  UpdatePlayer(t.game);
  EXPECT_EQ(LiveShots().size(), 8u);
}

TEST_F(PlayerTest, FourWayFireAsksEveryKey) {
  SetBonusTime(5, 500);
  t.backend.PressKey(Key::A);
  t.backend.PressKey(Key::S);
  UpdatePlayer(t.game);
  EXPECT_EQ(LiveShots().size(), 4u);
  // Both presses were read in that frame: S does not fire again in the same pass.
  UpdatePlayer(t.game);
  EXPECT_EQ(LiveShots().size(), 4u);
  EXPECT_EQ(t.Count("Engine.IsKeyHit"), 8);
}

TEST_F(PlayerTest, SingleFireIsOffWhileEOrFIsInEffect) {
  SetBonusTime(4, 50);  // "E", on a frame without auto-fire
  t.backend.PressKey(Key::A);
  UpdatePlayer(t.game);
  EXPECT_TRUE(LiveShots().empty());
  EXPECT_EQ(t.Count("Engine.IsKeyHit"), 0);

  SetBonusTime(4, 0);
  SetBonusTime(5, 50);  // "F": one press gives four, never a fifth single shot
  NextPass();
  t.backend.PressKey(Key::A);
  UpdatePlayer(t.game);
  EXPECT_EQ(LiveShots().size(), 4u);
}

// --- fading --------------------------------------------------------------------------------------

TEST_F(PlayerTest, TheShipFadesInUpTo100) {
  EXPECT_EQ(t.game.PlayerFade, 1);
  for (int i = 0; i < 98; ++i) UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerFade, 99);
  UpdatePlayer(t.game);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerFade, 100);
}

TEST_F(PlayerTest, AtHealthZeroTheGameEndsOnThe101stCallAndTheShipFiresUntilFadedOut) {
  t.game.PlayerFade = 100;
  t.game.PlayerHealth = 0;
  t.backend.PressKey(Key::D);
  for (int call = 1; call <= 100; ++call) {
    NextPass();
    t.backend.PressKey(Key::D);  // a fresh press every frame
    for (Shot& shot : t.game.Shots) shot.Active = false;
    UpdatePlayer(t.game);
    ASSERT_EQ(t.game.GameMode, "game") << "call " << call;
    ASSERT_EQ(LiveShots().size(), 1u) << "call " << call;
    ASSERT_EQ(t.game.PlayerFade, 100 - call);
  }
  NextPass();
  t.backend.PressKey(Key::D);
  for (Shot& shot : t.game.Shots) shot.Active = false;
  UpdatePlayer(t.game);
  EXPECT_TRUE(LiveShots().empty());  // at presence 0 it can no longer fire
  EXPECT_EQ(t.game.GameMode, "");
  EXPECT_EQ(t.game.PlayerFade, 0);
}

TEST_F(PlayerTest, HealthRegainedWhileFadingOutReversesTheFade) {
  t.game.PlayerFade = 50;
  t.game.PlayerHealth = 0;
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerFade, 49);
  t.game.PlayerHealth = 55;
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.PlayerFade, 50);
  EXPECT_EQ(t.game.GameMode, "game");
}

// --- the end of a game ------------------------------------------------------------------------

TEST_F(PlayerTest, TheFinalScoreAddsTheRemainingHealth) {
  t.game.BestScore = 1000;
  PrepareEnd(120, -7);
  t.game.MenuDelay = 0;
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.Score, 113);
  EXPECT_EQ(t.game.LastScore, 113);
  EXPECT_EQ(t.game.GameMode, "");
  EXPECT_EQ(t.game.MenuDelay, 50);
  EXPECT_EQ(t.game.PlayerFade, 0);  // not left at -1, and no fade-in
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
}

TEST_F(PlayerTest, TheFinalSumRoundsHalvesToEven) {
  t.game.BestScore = 1000;
  PrepareEnd(120, -0.5f);  // 119.5 -> 120
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.Score, 120);

  NewGame(t.game);
  PrepareEnd(120, -1.5f);  // 118.5 -> 118
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.Score, 118);
}

TEST_F(PlayerTest, TheFinalSumSaturatesAt16Bits) {
  t.game.BestScore = 40000;
  // Odd state: presence already below 0 with health left over.
  t.game.Score = 32760;
  t.game.PlayerHealth = 50;
  t.game.PlayerFade = -2;
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.Score, 32767);

  NewGame(t.game);
  PrepareEnd(-32768, -9);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.Score, -32768);
  EXPECT_EQ(t.game.LastScore, -32768);
}

TEST_F(PlayerTest, AnEqualSurvivalRecordIsNotWritten) {
  t.game.BestScore = 113;
  const std::string before = ScoreFile();
  PrepareEnd(120, -7);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.LastScore, 113);
  EXPECT_FALSE(t.game.NewBestScore);
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
  EXPECT_EQ(t.Count("Engine.PlaySound \"hs\""), 0);
  EXPECT_EQ(ScoreFile(), before);
}

TEST_F(PlayerTest, ABeatenSurvivalRecordIsWrittenAtOnce) {
  t.game.BestScore = 112;
  PrepareEnd(120, -7);
  UpdatePlayer(t.game);
  EXPECT_TRUE(t.game.NewBestScore);
  EXPECT_EQ(t.game.BestScore, 113);
  EXPECT_EQ(t.game.LastScore, 113);
  EXPECT_EQ(
      t.Calls("Utility.WriteIni"),
      std::vector<std::string>{R"(Utility.WriteIni "SCORE" "M1" "113" "files\\bullet.dds" 0)"});
  EXPECT_EQ(t.Calls("Engine.PlaySound"),
            std::vector<std::string>{"Engine.PlaySound \"hs\" 0 100 0 0"});
  EXPECT_EQ(t.game.utility.ReadIni("SCORE", "M1", kScoreFile, 0), "113");
  EXPECT_NE(ScoreFile().find("M1=113"), std::string::npos) << ScoreFile();
  // A level record is untouched by a survival game.
  EXPECT_FALSE(t.game.NewLevelBest[t.game.Level]);
}

TEST_F(PlayerTest, ABeatenLevelRecordIsWrittenUnderItsLevel) {
  t.game.SurvivalMode = false;
  t.game.Level = 3;
  NewGame(t.game);
  t.game.LevelBestScores[3] = 50;
  t.game.BestScore = 0;
  PrepareEnd(80, 0);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.LevelBestScores[3], 80);
  EXPECT_TRUE(t.game.NewLevelBest[3]);
  EXPECT_FALSE(t.game.NewLevelBest[2]);
  EXPECT_FALSE(t.game.NewBestScore);
  EXPECT_EQ(t.game.BestScore, 0);
  EXPECT_EQ(
      t.Calls("Utility.WriteIni"),
      std::vector<std::string>{R"(Utility.WriteIni "SCORE" "M2-3" "80" "files\\bullet.dds" 0)"});
  EXPECT_EQ(t.Count("Engine.PlaySound \"hs\" 0 100 0 0"), 1);
  EXPECT_NE(ScoreFile().find("M2-3=80"), std::string::npos) << ScoreFile();
}

TEST_F(PlayerTest, AnEqualLevelRecordIsNotWritten) {
  t.game.SurvivalMode = false;
  t.game.Level = 2;
  NewGame(t.game);
  t.game.LevelBestScores[2] = 80;
  PrepareEnd(80, 0);
  UpdatePlayer(t.game);
  EXPECT_FALSE(t.game.NewLevelBest[2]);
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
  EXPECT_EQ(t.Count("Engine.PlaySound"), 0);
  EXPECT_EQ(t.game.LastScore, 80);
}

TEST_F(PlayerTest, AnOutOfRangeLevelNeverReachesPastTheRecordTables) {
  t.game.SurvivalMode = false;
  t.game.Level = 150;
  NewGame(t.game);
  PrepareEnd(10, 0);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.LevelBestScores[100], 10);
  EXPECT_TRUE(t.game.NewLevelBest[100]);
  EXPECT_EQ(t.game.utility.ReadIni("SCORE", "M2-100", kScoreFile, 0), "10");

  t.game.Level = -4;
  NewGame(t.game);
  PrepareEnd(10, 0);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.LevelBestScores[0], 10);
  EXPECT_TRUE(t.game.NewLevelBest[0]);
}

TEST_F(PlayerTest, ANegativeFinalScoreIsNoRecord) {
  t.game.SurvivalMode = true;
  t.game.BestScore = 0;
  PrepareEnd(3, -9);
  UpdatePlayer(t.game);
  EXPECT_EQ(t.game.Score, -6);
  EXPECT_EQ(t.game.LastScore, -6);
  EXPECT_FALSE(t.game.NewBestScore);
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
}

}  // namespace

namespace {

TEST(PlayerPassTest, AShotFiredInAPassHasMovedOnceByTheEndOfIt) {
  test::TestGame t;
  t.LoadResources();
  t.game.SurvivalMode = false;
  t.game.Level = 1;
  NewGame(t.game);
  t.game.platform.BeginPass();
  t.backend.PressKey(Key::A);
  RunPass(t.game);
  const Shot& shot = t.game.Shots[0];
  ASSERT_TRUE(shot.Active);
  EXPECT_EQ(shot.X, 322);  // 320 + 12, then one step of -10
  EXPECT_EQ(shot.Y, 252);
  EXPECT_EQ(t.Count("Engine.PlaySound \"fire2\" 0 90 11 0"), 1);
  EXPECT_EQ(t.game.PlayerFade, 2);

  // Paused, nothing moves; the next unpaused pass moves it on.
  t.game.Paused = true;
  t.game.platform.BeginPass();
  RunPass(t.game);
  EXPECT_EQ(shot.X, 322);
  t.game.Paused = false;
  t.game.platform.BeginPass();
  RunPass(t.game);
  EXPECT_EQ(shot.X, 312);
}

}  // namespace
