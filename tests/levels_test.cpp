// The supply of enemies: spawning, the spawns a level allows, the level clear and survival growth.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include "gameplay/gameplay.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

class LevelsTest : public ::testing::Test {
 protected:
  void Start(bool survival, int16_t level = 1, int16_t highest = 1) {
    t.StartGame(survival, level, highest);
  }
  // Every slot absent, waiting `delay` more passes.
  void EmptyAllSlots(float delay) {
    for (Enemy& enemy : t.game.Enemies) {
      enemy = Enemy{};
      enemy.RespawnDelay = delay;
    }
  }
  // The pass in which the last enemy of the level is gone.
  void ClearTheLevel() {
    EmptyAllSlots(0);
    t.game.EnemiesLeft = 0;
    UpdateEnemies(t.game);
  }
  Enemy& Present(int slot, float health = 100) {
    Enemy& enemy = t.game.Enemies[slot];
    enemy = Enemy{};
    enemy.X = enemy.TargetX = 100.0f + 40.0f * slot;
    enemy.Y = enemy.TargetY = 200;
    enemy.Speed = 1;
    enemy.Health = health;
    enemy.Fade = 100;
    return enemy;
  }
  int WonSounds() const { return t.Count("Engine.PlaySound \"won\""); }
  int PassedWrites() const { return t.Count("Utility.WriteIni \"LEVEL\" \"PASSED\""); }
  std::string PassedInFile() { return t.game.utility.ReadIni("LEVEL", "PASSED", kScoreFile, 0); }

  // One whole pass of the main loop, keeping the ship alive unless told otherwise.
  void Pass(bool keepShipAlive = true) {
    t.game.platform.BeginPass();
    RunPass(t.game);
    if (keepShipAlive) t.game.PlayerHealth = 111;
    t.ClearTrace();
  }

  test::TestGame t;
};

TEST_F(LevelsTest, LevelOneUsesFiveOfItsSixSpawnsInTheFirstFrame) {
  Start(false, 1);
  ASSERT_EQ(t.game.EnemiesLeft, 6);
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.EnemiesLeft, 1);
  for (int slot = 0; slot <= t.game.EnemyMax; ++slot) {
    SCOPED_TRACE(slot);
    const Enemy& enemy = t.game.Enemies[slot];
    EXPECT_EQ(enemy.Fade, 1.0f);
    EXPECT_EQ(enemy.Health, slot == kEdgeRunner ? 50.0f : 100.0f);
    EXPECT_FALSE(enemy.Ally || enemy.Infected || enemy.InfectedByOther);
    if (slot == kEdgeRunner) continue;
    EXPECT_EQ(enemy.X, std::floor(enemy.X));
    EXPECT_GE(enemy.X, 0.0f);
    EXPECT_LE(enemy.X, 607.0f);
    EXPECT_GE(enemy.Y, 0.0f);
    EXPECT_LE(enemy.Y, 447.0f);
    EXPECT_GE(enemy.Speed, 1.0f / 3.0f);
    EXPECT_LT(enemy.Speed, 2.0f);
  }

  // An ordinary respawn uses the last spawn; the edge runner's respawns never count.
  t.game.Enemies[kEdgeRunner] = Enemy{};
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[kEdgeRunner].Fade, 1.0f);
  EXPECT_EQ(t.game.EnemiesLeft, 1);
  t.game.Enemies[0] = Enemy{};
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[0].Fade, 1.0f);
  EXPECT_EQ(t.game.EnemiesLeft, 0);
  // Nothing is left: an emptied slot stays empty while living enemies remain.
  t.game.Enemies[1] = Enemy{};
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[1].Fade, 0.0f);
  EXPECT_EQ(t.game.EnemiesLeft, 0);
  EXPECT_GT(t.game.PlayerHealth, 0.0f);
}

TEST_F(LevelsTest, TheFirstFrameOfLevelOneShowsOneEnemyLeft) {
  t.LoadResources();
  Start(false, 1);
  t.game.platform.BeginPass();
  RunPass(t.game);
  int shown = 0;
  for (const std::string& line : t.Calls("Engine.DrawText")) {
    if (line.find("\"1 ENEMIES LEFT\"") != std::string::npos) ++shown;
  }
  EXPECT_EQ(shown, 1);
  int present = 0;
  for (const Enemy& enemy : t.game.Enemies) present += enemy.Fade > 0 ? 1 : 0;
  EXPECT_EQ(present, 6);  // five ordinary enemies and the edge runner
}

TEST_F(LevelsTest, EnemiesSpawnedInOneFrameLandApart) {
  Start(false, 10);
  // The clock stands still within a pass: the reseeds alone must keep the spawns apart.
  UpdateEnemies(t.game);
  std::set<std::pair<float, float>> places;
  std::set<std::pair<float, float>> targets;
  for (int slot = 0; slot <= t.game.EnemyMax; ++slot) {
    if (slot == kEdgeRunner) continue;
    places.insert({t.game.Enemies[slot].X, t.game.Enemies[slot].Y});
    targets.insert({t.game.Enemies[slot].TargetX, t.game.Enemies[slot].TargetY});
  }
  EXPECT_EQ(places.size(), 14u);
  EXPECT_EQ(targets.size(), 14u);
}

TEST_F(LevelsTest, ASpawnReseedsFromTheClockTwiceAndDrawsInOrder) {
  Start(true);
  EmptyAllSlots(1e6f);
  t.game.Enemies[2].RespawnDelay = 0;
  t.game.Rnd.Seed(5);
  t.backend.clock().Advance(1234.5);
  double now = t.game.platform.TimeOfDay();

  Random expected(5);
  expected.ReseedFromTime(now);
  float x = std::floor(608.0f * expected.Next());
  float y = std::floor(448.0f * expected.Next());
  expected.ReseedFromTime(now);
  float targetX = std::floor(608.0f * expected.Next());
  float targetY = std::floor(448.0f * expected.Next());
  float speed = static_cast<float>(expected.Next() * (2.0 - 1.0 / 3.0) + 1.0 / 3.0);

  UpdateEnemies(t.game);
  const Enemy& enemy = t.game.Enemies[2];
  EXPECT_EQ(enemy.X, x);
  EXPECT_EQ(enemy.Y, y);
  EXPECT_EQ(enemy.TargetX, targetX);
  EXPECT_EQ(enemy.TargetY, targetY);
  EXPECT_EQ(enemy.Speed, speed);
  EXPECT_EQ(t.game.Rnd.Next(), expected.Next());

  // Another time of day, the same generator state: another place.
  Start(true);
  EmptyAllSlots(1e6f);
  t.game.Enemies[2].RespawnDelay = 0;
  t.game.Rnd.Seed(5);
  t.backend.clock().Advance(1000);
  UpdateEnemies(t.game);
  EXPECT_FALSE(t.game.Enemies[2].X == x && t.game.Enemies[2].Y == y);
}

TEST_F(LevelsTest, AnEmptySlotWaitsOutItsDelay) {
  Start(true);
  EmptyAllSlots(1e6f);
  t.game.Enemies[1].RespawnDelay = 3;
  t.game.Enemies[2].RespawnDelay = 0.5f;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[1].RespawnDelay, 2.0f);
  EXPECT_EQ(t.game.Enemies[1].Fade, 0.0f);
  EXPECT_EQ(t.game.Enemies[2].Fade, 1.0f);
  EXPECT_EQ(t.game.Enemies[2].RespawnDelay, -0.5f);  // kept at spawn
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[1].Fade, 0.0f);
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[1].Fade, 1.0f);
  EXPECT_EQ(t.game.Enemies[1].RespawnDelay, 0.0f);
  EXPECT_EQ(t.game.EnemiesLeft, 1);  // survival never counts down
}

TEST_F(LevelsTest, OutOfSpawnsTheEdgeRunnerReturnsOnlyWithMoreThanSixLiving) {
  Start(false, 3, 3);
  EmptyAllSlots(0);
  t.game.EnemiesLeft = 0;
  t.game.BonusTypes[Bonus::C].Time = 100;  // keep them still
  for (int slot : {0, 1, 2, 3, 5, 6}) Present(slot);
  Present(7).Ally = true;  // allies do not count
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[kEdgeRunner].Fade, 0.0f);
  EXPECT_GT(t.game.PlayerHealth, 0.0f);

  Present(7);
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[kEdgeRunner].Fade, 1.0f);
  EXPECT_EQ(t.game.EnemiesLeft, 0);
}

TEST_F(LevelsTest, ClearingTheHighestLevelUnlocksTheNextOnce) {
  Start(false, 2, 2);
  EmptyAllSlots(0);  // several slots find the clear in the same pass
  t.game.EnemiesLeft = 0;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.PlayerHealth, 0.0f);
  EXPECT_EQ(t.game.PlayerFade, 0.0f);
  EXPECT_EQ(t.game.HighestLevel, 3);
  auto writes = t.Calls("Utility.WriteIni");
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0], "Utility.WriteIni \"LEVEL\" \"PASSED\" \"3\" \"files\\\\bullet.dds\" 0");
  auto won = t.Calls("Engine.PlaySound \"won\"");
  ASSERT_EQ(won.size(), 1u);
  EXPECT_EQ(won[0], "Engine.PlaySound \"won\" 0 100 0 0");
  EXPECT_EQ(PassedInFile(), "3");

  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.HighestLevel, 3);
  EXPECT_EQ(PassedWrites(), 1);
  EXPECT_EQ(WonSounds(), 1);
}

TEST_F(LevelsTest, ClearingALowerLevelWritesNothing) {
  Start(false, 2, 5);
  ClearTheLevel();
  EXPECT_EQ(t.game.PlayerHealth, 0.0f);
  EXPECT_EQ(t.game.PlayerFade, 0.0f);
  EXPECT_EQ(t.game.HighestLevel, 5);
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
  EXPECT_EQ(t.Count("Engine.PlaySound"), 0);
}

TEST_F(LevelsTest, TheLastLevelStaysTheHighestAndCelebratesOnce) {
  Start(false, 99, 99);
  ClearTheLevel();
  EXPECT_EQ(t.game.HighestLevel, 100);
  EXPECT_EQ(PassedWrites(), 1);
  EXPECT_EQ(WonSounds(), 1);
  EXPECT_EQ(PassedInFile(), "100");

  // Level 100 cleared at HighestLevel 100: nothing left to unlock and nothing written, but the
  // fanfare plays as for every other level, once, though every empty slot finds the clear again
  // in this pass and the next ones.
  for (int game = 0; game < 2; ++game) {
    SCOPED_TRACE(game);
    Start(false, 100, 100);
    EmptyAllSlots(0);
    t.game.EnemiesLeft = 0;
    for (int pass = 0; pass < 3; ++pass) {
      t.game.PlayerHealth = 5;
      UpdateEnemies(t.game);
      EXPECT_EQ(t.game.PlayerHealth, 0.0f);
    }
    EXPECT_EQ(t.game.HighestLevel, 100);
    EXPECT_EQ(PassedWrites(), 0);
    EXPECT_EQ(WonSounds(), 1);
    EXPECT_EQ(t.Calls("Engine.PlaySound \"won\"").at(0), "Engine.PlaySound \"won\" 0 100 0 0");
    EXPECT_EQ(PassedInFile(), "100");
  }
}

TEST_F(LevelsTest, AlliesTheEdgeRunnerAndTheDyingDoNotHoldAClear) {
  Start(false, 1, 1);
  EmptyAllSlots(0);
  t.game.EnemiesLeft = 0;
  t.game.BonusTypes[Bonus::C].Time = 100;
  Present(0).Ally = true;
  Present(1, 0);  // dying
  Present(kEdgeRunner, 50);
  Present(5, 100);  // one living enemy holds the clear
  UpdateEnemies(t.game);
  EXPECT_GT(t.game.PlayerHealth, 0.0f);
  EXPECT_EQ(t.game.HighestLevel, 1);

  // Killed before it had fully faded in, so its death gives the ship nothing.
  t.game.Enemies[5].Health = -1;
  t.game.Enemies[5].Fade = 50;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.PlayerHealth, 0.0f);
  EXPECT_EQ(t.game.HighestLevel, 2);
}

TEST_F(LevelsTest, ANewDeathInTheClearingPassDelaysTheEndByOneFrame) {
  Start(false, 1, 1);
  t.LoadResources();
  EmptyAllSlots(1e6f);
  t.game.Enemies[0].RespawnDelay = 0;  // finds the clear first
  t.game.EnemiesLeft = 0;
  t.game.PlayerHealth = 50;
  t.game.PlayerFade = 100;
  Present(1, 0);  // dies at full presence later in the same pass

  Pass(false);
  EXPECT_EQ(t.game.PlayerHealth, 5.0f);
  EXPECT_EQ(t.game.HighestLevel, 2);
  Pass(false);  // the ship fades in again, the clear is found again
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_EQ(t.game.PlayerHealth, 0.0f);
  Pass(false);
  EXPECT_EQ(t.game.GameMode, "");
  EXPECT_EQ(t.game.HighestLevel, 2);
}

TEST_F(LevelsTest, SurvivalGainsASlotOnThe750thPassAndEvery700After) {
  t.LoadResources();
  Start(true);
  for (int pass = 1; pass <= 749; ++pass) Pass();
  EXPECT_EQ(t.game.EnemyMax, 4);
  EXPECT_EQ(t.game.Enemies.size(), 5u);
  Pass();
  ASSERT_EQ(t.game.EnemyMax, 5);
  ASSERT_EQ(t.game.Enemies.size(), 6u);
  EXPECT_EQ(t.game.SurvivalClock, 1.0f);
  // The new slot spawned in the same frame.
  EXPECT_EQ(t.game.Enemies[5].Fade, 1.0f);
  EXPECT_EQ(t.game.Enemies[5].Health, 100.0f);
  EXPECT_EQ(t.game.EnemiesLeft, 1);

  for (int pass = 751; pass <= 1449; ++pass) Pass();
  EXPECT_EQ(t.game.EnemyMax, 5);
  Pass();
  EXPECT_EQ(t.game.EnemyMax, 6);
  EXPECT_EQ(t.game.Enemies.size(), 7u);
}

TEST_F(LevelsTest, APauseOverTheWholeWindowSkipsTheGrowthForGood) {
  t.LoadResources();
  for (int lastPaused : {799, 798}) {
    SCOPED_TRACE(lastPaused);
    Start(true);
    int grewAt = 0;
    for (int pass = 1; pass <= 2200 && grewAt == 0; ++pass) {
      t.game.Paused = pass >= 750 && pass <= lastPaused;
      Pass();
      if (t.game.EnemyMax > 4) grewAt = pass;
    }
    EXPECT_EQ(grewAt, lastPaused == 799 ? 0 : 799);
  }
}

TEST_F(LevelsTest, GrowthOnlyInSurvivalAndOnlyAtFifteen) {
  Start(false, 1, 1);
  t.game.SurvivalClock = 15.5f;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.EnemyMax, 5);
  EXPECT_EQ(t.game.SurvivalClock, 15.5f);

  Start(true);
  t.game.SurvivalClock = 16;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.EnemyMax, 4);
  t.game.SurvivalClock = 15.99f;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.EnemyMax, 5);
  EXPECT_EQ(t.game.Enemies.size(), 6u);
}

TEST_F(LevelsTest, TheTableStopsGrowingWhereItsIndexWouldOverflow) {
  constexpr int16_t kTop = std::numeric_limits<int16_t>::max();
  Start(true);
  t.game.EnemyMax = kTop - 1;
  t.game.Enemies.resize(static_cast<size_t>(kTop));
  t.game.SurvivalClock = 15;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.EnemyMax, kTop);
  EXPECT_EQ(t.game.Enemies.size(), static_cast<size_t>(kTop) + 1);
  EXPECT_EQ(t.game.Enemies[kTop].Fade, 1.0f);

  t.game.SurvivalClock = 15;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.EnemyMax, kTop);
  EXPECT_EQ(t.game.Enemies.size(), static_cast<size_t>(kTop) + 1);
  EXPECT_EQ(t.game.SurvivalClock, 1.0f);
}

}  // namespace
