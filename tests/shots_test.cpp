// Shots: creation, flight, leaving the field, the bonus drag and every kind of hit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gameplay/boxes.h"
#include "gameplay/gameplay.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

constexpr bool kPlayerSide = true;
constexpr bool kEnemySide = false;

class ShotsTest : public ::testing::Test {
 protected:
  ShotsTest() {
    t.game.SurvivalMode = false;
    t.game.Level = 1;  // enemy slots 0..5
    NewGame(t.game);
    t.game.PlayerFade = 100;
    // Keep the bonus item far from every shot of these tests unless a test moves it.
    t.game.BonusX = 600;
    t.game.BonusY = 20;
    t.ClearTrace();
  }

  Shot& AddShot(size_t i, float x, float y, float speedX, float speedY, float hostile,
                float owner) {
    Shot& shot = t.game.Shots[i];
    shot = Shot{true, x, y, speedX, speedY, hostile, owner};
    return shot;
  }
  Enemy& PlaceEnemy(size_t j, float x, float y, bool ally = false) {
    Enemy& enemy = t.game.Enemies[j];
    enemy.X = x;
    enemy.Y = y;
    enemy.Health = 100;
    enemy.Fade = 100;
    enemy.Ally = ally;
    return enemy;
  }
  void Advance() { ProcessShots(t.game, false, 0, 0, 0, 0, false, kPlayerOwner); }
  int Sounds(const std::string& name) { return t.Count("Engine.PlaySound \"" + name + "\""); }
  int HitSounds() { return t.Count("Engine.PlaySound \"hit_0"); }
  void SetBonusTime(size_t type, float time) {
    t.game.BonusTypes[type].Active = true;
    t.game.BonusTypes[type].Time = time;
  }

  test::TestGame t;
};

// --- boxes -----------------------------------------------------------------------------------

TEST(BoxesTest, TouchingBoxesDoNotOverlap) {
  // An 8 x 8 box against a 32 x 32 box at (100, 100), touching each of its four sides.
  EXPECT_FALSE(BoxesOverlap(92, 110, 8, 8, 100, 100, 32, 32));
  EXPECT_FALSE(BoxesOverlap(132, 110, 8, 8, 100, 100, 32, 32));
  EXPECT_FALSE(BoxesOverlap(110, 92, 8, 8, 100, 100, 32, 32));
  EXPECT_FALSE(BoxesOverlap(110, 132, 8, 8, 100, 100, 32, 32));
  // Half a pixel further in, each one overlaps.
  EXPECT_TRUE(BoxesOverlap(92.5f, 110, 8, 8, 100, 100, 32, 32));
  EXPECT_TRUE(BoxesOverlap(131.5f, 110, 8, 8, 100, 100, 32, 32));
  EXPECT_TRUE(BoxesOverlap(110, 92.5f, 8, 8, 100, 100, 32, 32));
  EXPECT_TRUE(BoxesOverlap(110, 131.5f, 8, 8, 100, 100, 32, 32));
  // Both axes must overlap.
  EXPECT_FALSE(BoxesOverlap(110, 200, 8, 8, 100, 100, 32, 32));
}

// --- creating --------------------------------------------------------------------------------

TEST_F(ShotsTest, CreatingTakesTheLowestFreeEntryAndPlaysTheSideSound) {
  AddShot(0, 50, 50, 0, 0, 0, kPlayerOwner);
  AddShot(2, 50, 50, 0, 0, 0, kPlayerOwner);
  ProcessShots(t.game, true, 10, 20, -10, 0, kPlayerSide, kPlayerOwner);
  const Shot& mine = t.game.Shots[1];
  EXPECT_TRUE(mine.Active);
  EXPECT_EQ(mine.X, 10);
  EXPECT_EQ(mine.Y, 20);
  EXPECT_EQ(mine.SpeedX, -10);
  EXPECT_EQ(mine.SpeedY, 0);
  EXPECT_EQ(mine.Hostile, 0);
  EXPECT_EQ(mine.Owner, kPlayerOwner);
  EXPECT_EQ(t.Calls("Engine.PlaySound"),
            std::vector<std::string>{"Engine.PlaySound \"fire2\" 0 90 11 0"});

  t.ClearTrace();
  ProcessShots(t.game, true, 30, 40, 0, 7.5f, kEnemySide, 3);
  const Shot& theirs = t.game.Shots[3];
  EXPECT_TRUE(theirs.Active);
  EXPECT_EQ(theirs.SpeedY, 7.5f);
  EXPECT_EQ(theirs.Hostile, 1);
  EXPECT_EQ(theirs.Owner, 3);
  EXPECT_EQ(t.Calls("Engine.PlaySound"),
            std::vector<std::string>{"Engine.PlaySound \"fire\" 0 80 22 0"});
}

TEST_F(ShotsTest, AnAllysShotIsStoredAsTheAllysAndCreatingMovesNothing) {
  AddShot(0, 100, 100, 10, 0, 0, kPlayerOwner);
  ProcessShots(t.game, true, 200, 200, 0, -6, kPlayerSide, 2);
  EXPECT_EQ(t.game.Shots[1].Owner, kAllyOwner);
  EXPECT_EQ(t.game.Shots[1].Hostile, 0);
  EXPECT_EQ(t.game.Shots[0].X, 100);  // a creating call does not advance
}

TEST_F(ShotsTest, AFullTableDropsTheShotSilently) {
  for (size_t i = 0; i < t.game.Shots.size(); ++i) AddShot(i, 300, 300, 0, 0, 1, 0);
  ASSERT_EQ(t.game.Shots.size(), 221u);
  const std::vector<Shot> before = t.game.Shots;
  ProcessShots(t.game, true, 10, 10, 10, 0, kPlayerSide, kPlayerOwner);
  ProcessShots(t.game, true, 10, 10, 10, 0, kEnemySide, 1);
  EXPECT_EQ(t.Count("Engine.PlaySound"), 0);
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(t.game.Shots[i].X, before[i].X);
  EXPECT_EQ(t.game.Shots.size(), 221u);

  t.game.Shots[220].Active = false;  // the last entry is usable too
  ProcessShots(t.game, true, 10, 10, 10, 0, kPlayerSide, kPlayerOwner);
  EXPECT_TRUE(t.game.Shots[220].Active);
  EXPECT_EQ(t.game.Shots[220].X, 10);
}

TEST_F(ShotsTest, AFadedOutShipCannotFireWhileEnemiesCan) {
  t.game.PlayerFade = 0;
  ProcessShots(t.game, true, 10, 10, 10, 0, kPlayerSide, kPlayerOwner);
  ProcessShots(t.game, true, 10, 10, 10, 0, kPlayerSide, 1);  // nor can an ally
  EXPECT_FALSE(t.game.Shots[0].Active);
  EXPECT_EQ(t.Count("Engine.PlaySound"), 0);

  ProcessShots(t.game, true, 10, 10, 10, 0, kEnemySide, 1);
  EXPECT_TRUE(t.game.Shots[0].Active);
  EXPECT_EQ(Sounds("fire"), 1);

  t.game.PlayerFade = 0.5f;  // any presence at all is enough
  ProcessShots(t.game, true, 10, 10, 10, 0, kPlayerSide, kPlayerOwner);
  EXPECT_TRUE(t.game.Shots[1].Active);
}

// --- flight ------------------------------------------------------------------------------------

TEST_F(ShotsTest, ShotsLeaveTheFieldOnlyBeyondItsEdges) {
  AddShot(0, 630, 100, 10, 0, 0, kPlayerOwner);     // lands on 640: stays
  AddShot(1, 630.5f, 100, 10, 0, 0, kPlayerOwner);  // lands on 640.5: freed
  AddShot(2, 2, 100, -10, 0, 0, kPlayerOwner);      // -8: stays
  AddShot(3, 1.5f, 100, -10, 0, 0, kPlayerOwner);   // -8.5: freed
  AddShot(4, 100, 470, 0, 10, 0, kPlayerOwner);     // y 480: stays
  AddShot(5, 100, 470.5f, 0, 10, 0, kPlayerOwner);  // y 480.5: freed
  AddShot(6, 100, 2, 0, -10, 0, kPlayerOwner);      // y -8: stays
  AddShot(7, 100, 1.5f, 0, -10, 0, kPlayerOwner);   // y -8.5: freed
  Advance();
  EXPECT_TRUE(t.game.Shots[0].Active);
  EXPECT_EQ(t.game.Shots[0].X, 640);
  EXPECT_FALSE(t.game.Shots[1].Active);
  EXPECT_EQ(t.game.Shots[1].X, 640.5f);
  EXPECT_TRUE(t.game.Shots[2].Active);
  EXPECT_FALSE(t.game.Shots[3].Active);
  EXPECT_TRUE(t.game.Shots[4].Active);
  EXPECT_FALSE(t.game.Shots[5].Active);
  EXPECT_TRUE(t.game.Shots[6].Active);
  EXPECT_FALSE(t.game.Shots[7].Active);

  // A freed entry stays put and is reused.
  Advance();
  EXPECT_EQ(t.game.Shots[1].X, 640.5f);
  EXPECT_FALSE(t.game.Shots[0].Active);  // 650 now
  ProcessShots(t.game, true, 1, 2, 3, 4, kPlayerSide, kPlayerOwner);
  EXPECT_EQ(t.game.Shots[0].X, 1);
}

TEST_F(ShotsTest, BonusGSlowsOnlyEnemyShots) {
  SetBonusTime(8, 10);
  Shot& enemyShot = AddShot(0, 300, 100, -9, 0, 1, 1);
  Shot& downShot = AddShot(1, 300, 100, 0, 7.5f, 1, 1);
  Shot& playerShot = AddShot(2, 300, 300, 10, 0, 0, kPlayerOwner);
  Shot& allyShot = AddShot(3, 300, 400, -6, 0, 0, kAllyOwner);
  Advance();
  EXPECT_EQ(enemyShot.X, 297);
  EXPECT_EQ(downShot.Y, 102.5f);
  EXPECT_EQ(playerShot.X, 310);
  EXPECT_EQ(allyShot.X, 294);

  SetBonusTime(8, 0);  // no longer in effect: full speed again
  Advance();
  EXPECT_EQ(enemyShot.X, 288);
}

// --- the bonus item -----------------------------------------------------------------------------

TEST_F(ShotsTest, PlayerSideShotsDragTheBonusItemTowardsTheShip) {
  t.game.PlayerX = 320;  // ship centre minus 8: (328, 248)
  t.game.PlayerY = 240;
  t.game.BonusX = 100;
  t.game.BonusY = 400;
  Shot& shot = AddShot(0, 104, 404, 0, 0, 0, kPlayerOwner);
  Advance();
  EXPECT_EQ(t.game.BonusX, 108);
  EXPECT_EQ(t.game.BonusY, 392);
  EXPECT_TRUE(shot.Active);  // the shot flies on
  Advance();                 // and drags again while it still overlaps
  EXPECT_EQ(t.game.BonusX, 116);
  EXPECT_EQ(t.game.BonusY, 384);

  // Enemy shots leave the item alone.
  shot.Hostile = 1;
  Advance();
  EXPECT_EQ(t.game.BonusX, 116);
  EXPECT_EQ(t.game.BonusY, 384);
}

TEST_F(ShotsTest, TheDragStopsAtTheShip) {
  t.game.PlayerX = 320;
  t.game.PlayerY = 240;
  t.game.BonusX = 324;  // BonusX + 8 = 332 > 328: moves left to 316, then 324 < 328: back to 324
  t.game.BonusY = 248;  // 256 > 248: up to 240, then 248 = 248: stays at 240
  AddShot(0, 326, 246, 0, 0, 0, kAllyOwner);
  Advance();
  EXPECT_EQ(t.game.BonusX, 324);
  EXPECT_EQ(t.game.BonusY, 240);
}

// --- the ship ----------------------------------------------------------------------------------

TEST_F(ShotsTest, AnEnemyShotHitsTheShipWithDrawnSoundAndDamage) {
  for (uint64_t seed : {1u, 7u, 42u, 1234u, 99999u}) {
    t.game.Rnd.Seed(seed);
    Random expect = t.game.Rnd;
    const int sound = static_cast<int>(std::floor(expect.Next() * 5.0f)) + 1;
    const float damage = std::floor(expect.Next() * 5.0f) + 5.0f;
    ASSERT_GE(damage, 5);
    ASSERT_LE(damage, 9);

    t.game.PlayerHealth = 100;
    t.ClearTrace();
    Shot& shot = AddShot(0, 330, 250, 0, 0, 1, 2);
    Advance();
    EXPECT_FALSE(shot.Active);
    EXPECT_EQ(t.game.PlayerHealth, 100 - damage) << "seed " << seed;
    EXPECT_EQ(t.Calls("Engine.PlaySound"),
              std::vector<std::string>{"Engine.PlaySound \"hit_0" + std::to_string(sound) +
                                       "\" 0 80 0 0"});
  }
}

TEST_F(ShotsTest, HealthIsClampedAtZero) {
  t.game.PlayerHealth = 4;
  AddShot(0, 330, 250, 0, 0, 1, 2);
  Advance();
  EXPECT_EQ(t.game.PlayerHealth, 0);
}

TEST_F(ShotsTest, AShotTouchingTheShipEdgeToEdgeMisses) {
  // PlayerX 320: a shot with X + 8 = 320 only touches; one on the far side too.
  Shot& left = AddShot(0, 312, 250, 0, 0, 1, 2);
  Shot& right = AddShot(1, 352, 250, 0, 0, 1, 2);
  Shot& above = AddShot(2, 330, 232, 0, 0, 1, 2);
  Advance();
  EXPECT_TRUE(left.Active);
  EXPECT_TRUE(right.Active);
  EXPECT_TRUE(above.Active);
  EXPECT_EQ(t.game.PlayerHealth, 111);
  EXPECT_EQ(HitSounds(), 0);
}

TEST_F(ShotsTest, BonusXAndALowPresenceLetEnemyShotsThrough) {
  Shot& shot = AddShot(0, 316, 250, 2, 0, 1, 2);
  SetBonusTime(6, 5);
  Advance();
  EXPECT_TRUE(shot.Active);
  EXPECT_EQ(shot.X, 318);  // flies on

  SetBonusTime(6, 0);
  t.game.PlayerFade = 90;
  Advance();
  EXPECT_TRUE(shot.Active);
  EXPECT_EQ(t.game.PlayerHealth, 111);

  t.game.PlayerFade = 91;
  Advance();
  EXPECT_FALSE(shot.Active);
  EXPECT_LT(t.game.PlayerHealth, 111);
}

TEST_F(ShotsTest, PlayerSideShotsNeverHurtTheShip) {
  AddShot(0, 330, 250, 0, 0, 0, kPlayerOwner);
  AddShot(1, 340, 260, 0, 0, 0, kAllyOwner);
  Advance();
  EXPECT_TRUE(t.game.Shots[0].Active);
  EXPECT_TRUE(t.game.Shots[1].Active);
  EXPECT_EQ(t.game.PlayerHealth, 111);
}

// --- enemies -------------------------------------------------------------------------------------

TEST_F(ShotsTest, APlayersShotDamagesAnEnemyAndScores) {
  Enemy& enemy = PlaceEnemy(0, 100, 100);
  t.game.Rnd.Seed(5);
  Random expect = t.game.Rnd;
  const float damage = std::nearbyint(expect.Next() * 5.0f + 5.0f);
  const int sound = static_cast<int>(std::floor(expect.Next() * 5.0f)) + 1;

  Shot& shot = AddShot(0, 100, 140, 0, -10, 0, kPlayerOwner);  // moves to y 130: overlaps by 2
  Advance();
  EXPECT_FALSE(shot.Active);
  EXPECT_EQ(enemy.Health, 100 - damage);
  EXPECT_EQ(t.game.Score, damage);
  EXPECT_EQ(
      t.Calls("Engine.PlaySound"),
      std::vector<std::string>{"Engine.PlaySound \"hit_0" + std::to_string(sound) + "\" 0 80 0 0"});
}

TEST_F(ShotsTest, DamageRoundsHalvesToEven) {
  // Seeds whose first draw gives r x 5 + 5 of exactly 6.5, 7.5 and 8.5.
  struct Case {
    uint64_t seed;
    float sum;
    float damage;
  };
  for (Case c : {Case{1347013, 6.5f, 6}, Case{4232414, 7.5f, 8}, Case{1326444, 8.5f, 8}}) {
    t.game.Rnd.Seed(c.seed);
    Random probe = t.game.Rnd;
    ASSERT_EQ(probe.Next() * 5.0f + 5.0f, c.sum) << "the generator changed; pick new seeds";
    Enemy& enemy = PlaceEnemy(1, 200, 200);
    t.game.Score = 0;
    AddShot(0, 210, 210, 0, 0, 0, kPlayerOwner);
    Advance();
    EXPECT_EQ(enemy.Health, 100 - c.damage) << "seed " << c.seed;
    EXPECT_EQ(t.game.Score, c.damage);
  }
}

TEST_F(ShotsTest, DamageStaysWithinFiveToTen) {
  Enemy& enemy = PlaceEnemy(0, 100, 100);
  for (int i = 0; i < 500; ++i) {
    enemy.Health = 100;
    AddShot(0, 110, 110, 0, 0, 0, kAllyOwner);
    Advance();
    const float damage = 100 - enemy.Health;
    ASSERT_GE(damage, 5);
    ASSERT_LE(damage, 10);
    ASSERT_EQ(damage, std::floor(damage));
  }
  EXPECT_EQ(t.game.Score, 0);  // an ally's shots never score
  // Every hit names one of the five sounds, and over many hits all five come up.
  for (int n = 1; n <= 5; ++n) {
    EXPECT_GT(Sounds("hit_0" + std::to_string(n)), 0) << n;
  }
  EXPECT_EQ(HitSounds(), 500);
}

TEST_F(ShotsTest, OneShotDamagesEveryEnemyItOverlaps) {
  Enemy& first = PlaceEnemy(0, 100, 100);
  Enemy& second = PlaceEnemy(3, 110, 90);
  t.game.Rnd.Seed(77);
  Random expect = t.game.Rnd;
  const float d1 = std::nearbyint(expect.Next() * 5.0f + 5.0f);
  expect.Next();
  const float d2 = std::nearbyint(expect.Next() * 5.0f + 5.0f);

  Shot& shot = AddShot(0, 112, 105, 0, 0, 0, kPlayerOwner);
  Advance();
  EXPECT_FALSE(shot.Active);
  EXPECT_EQ(first.Health, 100 - d1);
  EXPECT_EQ(second.Health, 100 - d2);
  EXPECT_EQ(HitSounds(), 2);
  EXPECT_EQ(t.game.Score, d1 + d2);
  // The deactivated shot is gone from the next pass on.
  Advance();
  EXPECT_EQ(first.Health, 100 - d1);
}

TEST_F(ShotsTest, EnemiesNotFullyPresentOrTouchingAreNotHit) {
  Enemy& fading = PlaceEnemy(0, 100, 100);
  fading.Fade = 99;
  Enemy& touching = PlaceEnemy(1, 300, 100);
  Shot& first = AddShot(0, 110, 110, 0, 0, 0, kPlayerOwner);
  Shot& second = AddShot(1, 332, 110, 0, 0, 0, kPlayerOwner);  // X = enemy X + 32
  Advance();
  EXPECT_TRUE(first.Active);
  EXPECT_TRUE(second.Active);
  EXPECT_EQ(fading.Health, 100);
  EXPECT_EQ(touching.Health, 100);
  EXPECT_EQ(HitSounds(), 0);
}

TEST_F(ShotsTest, PlayerSideShotsPassThroughAllies) {
  Enemy& ally = PlaceEnemy(2, 100, 100, true);
  Shot& mine = AddShot(0, 110, 110, 1, 0, 0, kPlayerOwner);
  Shot& allys = AddShot(1, 110, 110, 1, 0, 0, kAllyOwner);
  Advance();
  EXPECT_TRUE(mine.Active);
  EXPECT_TRUE(allys.Active);
  EXPECT_EQ(ally.Health, 100);
  EXPECT_EQ(t.game.Score, 0);
  EXPECT_EQ(HitSounds(), 0);
}

TEST_F(ShotsTest, AnAllysShotDamagesEnemiesWithoutScoring) {
  Enemy& enemy = PlaceEnemy(0, 100, 100);
  Shot& shot = AddShot(0, 110, 110, 0, 0, 0, kAllyOwner);
  Advance();
  EXPECT_FALSE(shot.Active);
  EXPECT_LT(enemy.Health, 100);
  EXPECT_EQ(t.game.Score, 0);
}

TEST_F(ShotsTest, EnemyShotsHitOtherEnemiesOnlyWithBonusD) {
  Enemy& firer = PlaceEnemy(1, 100, 100);
  Enemy& other = PlaceEnemy(2, 100, 100);
  Shot& shot = AddShot(0, 110, 110, 0, 0, 1, 1);
  Advance();
  EXPECT_TRUE(shot.Active);
  EXPECT_EQ(firer.Health, 100);
  EXPECT_EQ(other.Health, 100);

  SetBonusTime(3, 1);
  Advance();
  EXPECT_FALSE(shot.Active);
  EXPECT_EQ(firer.Health, 100);  // never its own firer
  EXPECT_LT(other.Health, 100);
  EXPECT_EQ(t.game.Score, 0);  // enemy shots never score
  EXPECT_EQ(HitSounds(), 1);
}

TEST_F(ShotsTest, EnemyShotsHitAlliesButNeverTheirFirer) {
  Enemy& ally = PlaceEnemy(2, 100, 100, true);
  Shot& fromAlly = AddShot(0, 110, 110, 0, 0, 1, 2);  // an enemy shot with the ally as owner
  Advance();
  EXPECT_TRUE(fromAlly.Active);
  EXPECT_EQ(ally.Health, 100);

  Shot& fromEnemy = AddShot(1, 110, 110, 0, 0, 1, 0);
  Advance();
  EXPECT_FALSE(fromEnemy.Active);
  EXPECT_LT(ally.Health, 100);
}

TEST_F(ShotsTest, AnEnemyNeverHitsItselfEvenWithBonusD) {
  SetBonusTime(3, 100);
  Enemy& firer = PlaceEnemy(4, 100, 100);
  Shot& shot = AddShot(0, 110, 110, 0, 0, 1, 4);
  Advance();
  EXPECT_TRUE(shot.Active);
  EXPECT_EQ(firer.Health, 100);
  EXPECT_EQ(HitSounds(), 0);
}

TEST_F(ShotsTest, AShotThatHitsTheShipStillHitsEnemiesInThatPass) {
  SetBonusTime(3, 100);
  Enemy& enemy = PlaceEnemy(0, 320, 240);  // right on the ship
  Shot& shot = AddShot(0, 330, 250, 0, 0, 1, 1);
  Advance();
  EXPECT_FALSE(shot.Active);
  EXPECT_LT(t.game.PlayerHealth, 111);
  EXPECT_LT(enemy.Health, 100);
  EXPECT_EQ(HitSounds(), 2);
}

TEST_F(ShotsTest, TheScoreHoldsAt32767) {
  t.game.Score = 32765;
  PlaceEnemy(0, 100, 100);
  PlaceEnemy(1, 100, 100);
  AddShot(0, 110, 110, 0, 0, 0, kPlayerOwner);
  Advance();
  EXPECT_EQ(t.game.Score, 32767);

  AddShot(0, 110, 110, 0, 0, 0, kPlayerOwner);
  Advance();
  EXPECT_EQ(t.game.Score, 32767);
}

TEST_F(ShotsTest, ExtraEnemySlotsAreHitToo) {
  // A survival game grows its table; the loop reaches the newest slot.
  t.game.Enemies.resize(9);
  Enemy& last = PlaceEnemy(8, 500, 400);
  AddShot(0, 510, 410, 0, 0, 0, kPlayerOwner);
  Advance();
  EXPECT_LT(last.Health, 100);
}

}  // namespace
