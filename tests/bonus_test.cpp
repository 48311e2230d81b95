// Bonus items: where and when they appear, when the ship takes them, what each of the twelve does
// and how long it lasts.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "gameplay/gameplay.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

class BonusTest : public test::GameTest {
 protected:
  // The item lies fully faded in under the ship (no new item will be placed).
  void Offer(int type) {
    t.game.PlayerX = 300;
    t.game.PlayerY = 200;
    t.game.BonusVisible = true;
    t.game.BonusTaken = false;
    t.game.BonusFade = 100;
    t.game.BonusType = static_cast<int16_t>(type);
    t.game.BonusX = 308;
    t.game.BonusY = 208;
  }
  // Collects an item of the type and returns the time it was given (before this pass's count).
  float Collect(int type) {
    Offer(type);
    Random probe = t.game.Rnd;
    nextDraw_ = probe.Next();
    UpdateBonus(t.game);
    EXPECT_TRUE(t.game.BonusTaken);
    float time = t.game.BonusTypes[type].Time;
    return type == 4 ? time : time + 1;
  }
  int ActiveShots() const {
    int count = 0;
    for (const Shot& shot : t.game.Shots) count += shot.Active ? 1 : 0;
    return count;
  }

  float nextDraw_ = 0;
};

TEST_F(BonusTest, AnItemComesOnlyWhileTheEdgeRunnerIsLongGoneAndNoneIsOut) {
  Start(true);
  Enemy& runner = t.game.Enemies[kEdgeRunner];
  runner.RespawnDelay = 100;
  UpdateBonus(t.game);
  EXPECT_FALSE(t.game.BonusVisible);

  runner.RespawnDelay = 101;
  t.game.BonusTaken = true;
  UpdateBonus(t.game);
  EXPECT_FALSE(t.game.BonusVisible);

  t.game.BonusTaken = false;
  t.game.BonusVisible = true;
  t.game.BonusX = 1;
  UpdateBonus(t.game);
  EXPECT_EQ(t.game.BonusX, 1.0f);

  t.game.BonusVisible = false;
  t.game.BonusFade = 50;  // the last item still fading out: the new one starts from there
  UpdateBonus(t.game);
  EXPECT_TRUE(t.game.BonusVisible);
  EXPECT_FALSE(t.game.BonusTaken);
  EXPECT_EQ(t.game.BonusFade, 50.0f);
}

TEST_F(BonusTest, PlacingReseedsTwiceAndDrawsPositionThenType) {
  Start(true);
  t.game.Enemies[kEdgeRunner].RespawnDelay = 150;
  t.game.Rnd.Seed(77);
  t.backend.clock().Advance(5000);
  double now = t.game.platform.TimeOfDay();
  Random expected(77);
  expected.ReseedFromTime(now);
  float x = expected.Next() * 560.0f + 40.0f;
  expected.ReseedFromTime(now);
  float y = expected.Next() * 400.0f + 40.0f;
  int type = static_cast<int>(std::floor(expected.Next() * 12.0f));
  t.game.PlayerX = 0;
  t.game.PlayerY = 0;
  UpdateBonus(t.game);
  EXPECT_EQ(t.game.BonusX, x);
  EXPECT_EQ(t.game.BonusY, y);
  EXPECT_EQ(t.game.BonusType, type);
  EXPECT_EQ(t.game.Rnd.Next(), expected.Next());
}

TEST_F(BonusTest, ItemsLandInsideTheMarginsWithEveryType) {
  Start(true);
  t.game.PlayerX = -100;  // never under an item
  std::set<int> types;
  for (int i = 0; i < 2000; ++i) {
    t.game.Enemies[kEdgeRunner].RespawnDelay = 200;
    t.game.BonusVisible = false;
    t.game.Rnd.Seed(static_cast<uint64_t>(i) * 7919u);
    t.backend.clock().Advance(i % 7);
    UpdateBonus(t.game);
    ASSERT_TRUE(t.game.BonusVisible);
    // Placed with its corner in 40..600 across and 40..440 down.
    EXPECT_TRUE(t.game.BonusX >= 40 && t.game.BonusX < 600 && t.game.BonusY >= 40 &&
                t.game.BonusY < 440)
        << t.game.BonusX << ", " << t.game.BonusY;
    ASSERT_TRUE(t.game.BonusType >= 0 && t.game.BonusType < kBonusTypeCount) << t.game.BonusType;
    types.insert(t.game.BonusType);
  }
  EXPECT_EQ(types.size(), 12u);
}

TEST_F(BonusTest, OnlyAFullyFadedInItemIsTaken) {
  Start(true);
  Offer(Bonus::Y);
  t.game.BonusFade = 99;
  UpdateBonus(t.game);
  EXPECT_TRUE(t.game.BonusVisible);
  EXPECT_FALSE(t.game.BonusTaken);
  EXPECT_EQ(t.Count("Engine.PlaySound"), 0);

  t.game.BonusFade = 100;
  UpdateBonus(t.game);
  EXPECT_FALSE(t.game.BonusVisible);
  EXPECT_TRUE(t.game.BonusTaken);
  auto sounds = t.Calls("Engine.PlaySound");
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0], "Engine.PlaySound \"bonus\" 0 90 0 44");

  // Taken: it is not taken again.
  t.game.BonusVisible = true;
  UpdateBonus(t.game);
  EXPECT_EQ(t.Count("Engine.PlaySound"), 1);
}

TEST_F(BonusTest, TouchingTheItemsEdgeDoesNotTakeIt) {
  struct Case {
    float bonusX, bonusY;
    bool taken;
  };
  // Ship at (300, 200), 32 x 32; item 16 x 16.
  const Case cases[] = {
      {332, 210, false}, {331, 210, true},  // right edge of the ship
      {284, 210, false}, {285, 210, true},  // left edge
      {310, 232, false}, {310, 231, true},  // bottom edge
      {310, 184, false}, {310, 185, true},  // top edge
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bonusX << ", " << c.bonusY);
    Start(true);
    Offer(Bonus::Y);
    t.game.BonusX = c.bonusX;
    t.game.BonusY = c.bonusY;
    UpdateBonus(t.game);
    EXPECT_EQ(t.game.BonusTaken, c.taken);
  }
}

TEST_F(BonusTest, TimedTypesGetTimesFromTheirRanges) {
  struct Case {
    int type;
    bool survival;
    int16_t level;
    float range, base;
  };
  const Case cases[] = {
      {0, true, 1, 750, 750},  {0, false, 1, 750, 750},  {2, false, 1, 350, 750},
      {3, true, 1, 500, 1000}, {3, false, 10, 200, 400}, {3, false, 100, 200, 2200},
      {4, true, 1, 250, 750},  {5, true, 1, 750, 750},   {5, false, 4, 250, 650},
      {6, true, 1, 250, 750},  {6, false, 4, 250, 250},  {8, false, 1, 400, 750},
      {11, true, 1, 400, 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " level " << c.level);
    float lowest = 1e9f;
    float highest = -1e9f;
    for (int round = 0; round < 400; ++round) {
      Start(c.survival, c.level);
      t.game.Rnd.Seed(static_cast<uint64_t>(round) + 1);
      float time = Collect(c.type);
      EXPECT_TRUE(t.game.BonusTypes[c.type].Active);
      ASSERT_EQ(time, std::floor(nextDraw_ * c.range) + c.base);
      lowest = std::min(lowest, time);
      highest = std::max(highest, time);
    }
    EXPECT_GE(lowest, c.base);
    EXPECT_LT(lowest, c.base + c.range * 0.05f);
    EXPECT_LE(highest, c.base + c.range - 1);
    EXPECT_GT(highest, c.base + c.range * 0.95f);
  }
}

TEST_F(BonusTest, TimersRunDownAndEndThePassAfterZero) {
  Start(true);
  t.game.Enemies[kEdgeRunner].RespawnDelay = 0;
  for (int type = 0; type < kBonusTypeCount; ++type) {
    t.game.BonusTypes[type].Active = true;
    t.game.BonusTypes[type].Time = 2;
  }
  UpdateBonus(t.game);
  UpdateBonus(t.game);
  for (int type = 0; type < kBonusTypeCount; ++type) {
    SCOPED_TRACE(type);
    EXPECT_TRUE(t.game.BonusTypes[type].Active);
    EXPECT_EQ(t.game.BonusTypes[type].Time, type == 4 ? 2.0f : 0.0f);
  }
  UpdateBonus(t.game);
  for (int type = 0; type < kBonusTypeCount; ++type) {
    EXPECT_EQ(t.game.BonusTypes[type].Active, type == 4) << type;
  }
}

TEST_F(BonusTest, AutoFireKeepsItsTimeWhenNoShotIsFired) {
  Start(true);
  Collect(Bonus::E);
  float time = t.game.BonusTypes[Bonus::E].Time;
  for (int pass = 0; pass < 2000; ++pass) UpdateBonus(t.game);
  EXPECT_EQ(t.game.BonusTypes[Bonus::E].Time, time);
  EXPECT_TRUE(t.game.BonusTypes[Bonus::E].Active);
}

TEST_F(BonusTest, TakingStandStillAgainRestartsItWithAFreshTime) {
  Start(true);
  Collect(Bonus::C);
  for (int pass = 0; pass < 600; ++pass) UpdateBonus(t.game);
  ASSERT_LT(t.game.BonusTypes[Bonus::C].Time, 500.0f);
  t.game.Rnd.Seed(31);
  float time = Collect(Bonus::C);
  EXPECT_EQ(time, std::floor(nextDraw_ * 350.0f) + 750.0f);
  EXPECT_GE(t.game.BonusTypes[Bonus::C].Time, 749.0f);
}

TEST_F(BonusTest, ImmediateTypesActAndEndInTheSamePass) {
  for (int type : {1, 7, 9, 10}) {
    SCOPED_TRACE(type);
    Start(true);
    Collect(type);
    EXPECT_FALSE(t.game.BonusTypes[type].Active);
    EXPECT_EQ(t.game.BonusTypes[type].Time, 0.0f);
  }
}

TEST_F(BonusTest, SlowEnemiesDividesEverySpeedByThree) {
  Start(false, 2);
  for (int slot = 0; slot <= t.game.EnemyMax; ++slot) {
    t.game.Enemies[slot].Speed = 1.0f + 0.25f * slot;
    t.game.Enemies[slot].Fade = slot % 2 == 0 ? 100.0f : 0.0f;  // absent ones too
  }
  Collect(Bonus::B);
  for (int slot = 0; slot <= t.game.EnemyMax; ++slot) {
    EXPECT_EQ(t.game.Enemies[slot].Speed, (1.0f + 0.25f * slot) / 3.0f) << slot;
  }
}

TEST_F(BonusTest, HealthAddsFiftyFiveWithoutLimit) {
  Start(true);
  t.game.PlayerHealth = 100;
  Collect(Bonus::Y);
  EXPECT_EQ(t.game.PlayerHealth, 155.0f);
}

TEST_F(BonusTest, WallsOfShotsFillOnlyTheFreeEntries) {
  Start(true);
  t.game.PlayerFade = 100;
  Collect(Bonus::H);
  EXPECT_EQ(ActiveShots(), 116);
  EXPECT_EQ(t.Count("Engine.PlaySound \"fire2\""), 116);
  const float speeds[4] = {6, -6, 3, -3};
  for (int i = 0; i < 116; ++i) {
    const Shot& shot = t.game.Shots[i];
    EXPECT_EQ(shot.X, i % 4 % 2 == 0 ? -8.0f : 640.0f) << i;
    EXPECT_EQ(shot.Y, static_cast<float>(i / 4 * 16 + 16)) << i;
    EXPECT_EQ(shot.SpeedX, speeds[i % 4]) << i;
    EXPECT_EQ(shot.SpeedY, 0.0f);
    EXPECT_EQ(shot.Hostile, 0.0f);
    EXPECT_EQ(shot.Owner, kPlayerOwner);
  }

  Start(true);
  t.game.PlayerFade = 100;
  for (int i = 0; i < 200; ++i) t.game.Shots[i].Active = true;
  Collect(Bonus::H);
  EXPECT_EQ(ActiveShots(), kShotCount);
  EXPECT_EQ(t.Count("Engine.PlaySound \"fire2\""), 21);
}

TEST_F(BonusTest, TurnAllyTakesTheFirstLivingOrdinaryEnemy) {
  Start(false, 2);  // slots 0..6
  auto present = [this](int slot) -> Enemy& {
    Enemy& enemy = t.game.Enemies[slot];
    enemy.Fade = 100;
    enemy.Health = 80;
    return enemy;
  };
  present(0).Ally = true;
  t.game.Enemies[1].Health = 100;  // absent
  present(2).Health = 0;           // dying
  present(kEdgeRunner);
  present(5).Fade = 30;  // still fading in: it counts
  present(6);
  Collect(Bonus::I);
  const auto& e = t.game.Enemies;
  EXPECT_EQ(e[0].Health, 80.0f);
  EXPECT_FALSE(e[1].Ally);
  EXPECT_FALSE(e[2].Ally);
  EXPECT_FALSE(e[kEdgeRunner].Ally);
  EXPECT_EQ(e[kEdgeRunner].Health, 80.0f);
  EXPECT_TRUE(e[5].Ally);
  EXPECT_EQ(e[5].Health, 250.0f);
  EXPECT_FALSE(e[6].Ally);

  // Only allies and the edge runner on the field: nothing changes.
  Start(false, 2);
  present(0).Ally = true;
  present(kEdgeRunner);
  Collect(Bonus::I);
  EXPECT_EQ(t.game.Enemies[0].Health, 80.0f);
  EXPECT_FALSE(t.game.Enemies[kEdgeRunner].Ally);
  EXPECT_EQ(t.game.Enemies[kEdgeRunner].Health, 80.0f);
}

TEST_F(BonusTest, NothingIsPlacedTakenOrCountedWhilePaused) {
  t.LoadResources();
  Start(true);
  t.game.Enemies[kEdgeRunner].RespawnDelay = 300;
  t.game.BonusTypes[Bonus::A].Active = true;
  t.game.BonusTypes[Bonus::A].Time = 10;
  t.game.Paused = true;
  t.game.platform.BeginPass();
  RunPass(t.game);
  EXPECT_FALSE(t.game.BonusVisible);
  EXPECT_EQ(t.game.BonusTypes[Bonus::A].Time, 10.0f);

  Offer(Bonus::Y);
  t.game.PlayerHealth = 50;
  t.game.platform.BeginPass();
  RunPass(t.game);
  EXPECT_TRUE(t.game.BonusVisible);
  EXPECT_FALSE(t.game.BonusTaken);
  EXPECT_EQ(t.game.PlayerHealth, 50.0f);

  // Unpaused, the same pass order places and takes.
  t.game.Paused = false;
  t.game.BonusVisible = false;
  t.game.platform.BeginPass();
  RunPass(t.game);
  EXPECT_TRUE(t.game.BonusVisible);
  EXPECT_EQ(t.game.BonusTypes[Bonus::A].Time, 9.0f);
}

}  // namespace
