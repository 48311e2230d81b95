// The enemies on the field: targets and movement, random fire, infection, dying and the edge
// runner.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <utility>

#include "gameplay/gameplay.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

class EnemiesTest : public test::GameTest {
 protected:
  void Start(bool survival, int16_t level = 1) {
    GameTest::Start(survival, level);
    // Every slot waits far in the future, so only the enemies a test places take part.
    for (Enemy& enemy : t.game.Enemies) enemy.RespawnDelay = 1e6f;
  }

  // A fully present enemy at (x, y), heading for (targetX, targetY).
  Enemy& Place(int slot, float x, float y, float targetX, float targetY, float speed = 1) {
    Enemy& enemy = t.game.Enemies[slot];
    enemy = Enemy{};
    enemy.X = x;
    enemy.Y = y;
    enemy.TargetX = targetX;
    enemy.TargetY = targetY;
    enemy.Speed = speed;
    enemy.Health = 100;
    enemy.Fade = 100;
    return enemy;
  }

  // Seeds the generator with the first seed whose coming numbers satisfy the wish.
  void SeedWhere(const std::function<bool(Random&)>& wish) {
    for (uint64_t seed = 1; seed < 100000; ++seed) {
      Random probe(seed);
      if (wish(probe)) {
        t.game.Rnd.Seed(seed);
        seed_ = seed;
        return;
      }
    }
    FAIL() << "no seed gives the wanted numbers";
  }
  // The numbers the generator gave since SeedWhere.
  std::vector<float> Drawn(int count) const {
    Random probe(seed_);
    std::vector<float> numbers;
    for (int i = 0; i < count; ++i) numbers.push_back(probe.Next());
    return numbers;
  }
  // True when the game has taken exactly `count` numbers from the generator since SeedWhere.
  bool TookDraws(int count) const {
    Random expected(seed_);
    for (int i = 0; i < count; ++i) expected.Next();
    Random actual = t.game.Rnd;
    for (int i = 0; i < 3; ++i) {
      if (expected.Next() != actual.Next()) return false;
    }
    return true;
  }

  int ActiveShots() const {
    int count = 0;
    for (const Shot& shot : t.game.Shots) count += shot.Active ? 1 : 0;
    return count;
  }

  // One pass of the enemies in which neither of the first two fires.
  void MoveWithoutFiring();
  std::pair<float, float> Position(int slot) const {
    return {t.game.Enemies[slot].X, t.game.Enemies[slot].Y};
  }

  uint64_t seed_ = 0;
};

// floor(20 r) = 1 fires; anything else does not.
bool Fires(float r) {
  return std::floor(20.0f * r) == 1.0f;
}

void EnemiesTest::MoveWithoutFiring() {
  SeedWhere([](Random& r) { return !Fires(r.Next()) && !Fires(r.Next()); });
  UpdateEnemies(t.game);
}

TEST_F(EnemiesTest, AnArrivedEnemyPicksARunAlongOneAxis) {
  Start(false);
  bool sawHorizontal = false;
  bool sawVertical = false;
  for (int round = 0; round < 2; ++round) {
    // Arrived in whole pixels: 4.9 and 2 are 4 and 2 (rounding to nearest would make it 5 and 2).
    Place(0, 104.9f, 200.2f, 102.0f, 202.9f);
    bool wantHorizontal = round % 2 == 0;
    SeedWhere([wantHorizontal](Random& r) {
      bool horizontal = std::floor(2 * r.Next()) == 1;
      r.Next();
      return !Fires(r.Next()) && horizontal == wantHorizontal;
    });
    UpdateEnemies(t.game);
    std::vector<float> r = Drawn(2);
    const Enemy& enemy = t.game.Enemies[0];
    if (std::floor(2 * r[0]) == 1) {
      sawHorizontal = true;
      EXPECT_EQ(enemy.TargetX, std::floor(608.0f * r[1]));
      EXPECT_EQ(enemy.TargetY, 200.2f);
    } else {
      sawVertical = true;
      EXPECT_EQ(enemy.TargetX, 104.9f);
      EXPECT_EQ(enemy.TargetY, std::floor(448.0f * r[1]));
    }
    EXPECT_TRUE(TookDraws(3));  // the run, its length, the fire test
  }
  EXPECT_TRUE(sawHorizontal);
  EXPECT_TRUE(sawVertical);
}

TEST_F(EnemiesTest, AnEnemyThreeWholePixelsAwayKeepsItsTarget) {
  Start(false);
  Place(0, 100.9f, 100, 103.1f, 100);  // 100 and 103: not arrived, though only 2.2 apart
  SeedWhere([](Random& r) { return !Fires(r.Next()); });
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[0].TargetX, 103.1f);
  EXPECT_EQ(t.game.Enemies[0].X, 101.9f);
  EXPECT_TRUE(TookDraws(1));
}

TEST_F(EnemiesTest, MovesOneSpeedStepPerAxisAndStepsOverANearTarget) {
  Start(false);
  Place(0, 100, 300, 400, 50, 1.5f);
  // Closer than one step but more than 3 whole pixels away. Ahead on an axis, the "greater" test
  // that follows brings it straight back; behind, nothing follows and it stays past the target.
  Place(1, 200, 200, 205, 196, 10);
  MoveWithoutFiring();
  EXPECT_EQ(Position(0), std::make_pair(101.5f, 298.5f));
  EXPECT_EQ(Position(1), std::make_pair(200.0f, 190.0f));
}

TEST_F(EnemiesTest, StaysOnTheField) {
  Start(false);
  Place(0, 607, 1, 900, -50, 1.9f);
  Place(1, 1, 447, -80, 900, 1.9f);
  MoveWithoutFiring();
  EXPECT_EQ(Position(0), std::make_pair(608.0f, 0.0f));
  EXPECT_EQ(Position(1), std::make_pair(0.0f, 448.0f));
}

TEST_F(EnemiesTest, StandStillFreezesMovementOnly) {
  Start(false);
  t.game.BonusTypes[Bonus::C].Time = 300;
  t.game.BonusTypes[Bonus::J].Time = 300;  // "J"
  t.game.PlayerX = 500;
  t.game.PlayerY = 400;
  Place(0, 100, 100, 300, 300).Fade = 50;   // fading in
  Place(1, 200, 100, 400, 100).Health = 0;  // dying at full presence
  Place(2, 490, 390, 100, 100);             // touching the ship
  Place(3, 300, 300, 100, 300);             // fires
  Place(kEdgeRunner, 0, 1, 300, 0);         // on the top-left corner
  SeedWhere([](Random& r) {
    if (Fires(r.Next())) return false;   // slot 0
    if (Fires(r.Next())) return false;   // slot 1
    r.Next(), r.Next(), r.Next();        // slot 1 dies: delay and drift point
    if (Fires(r.Next())) return false;   // slot 2
    if (!Fires(r.Next())) return false;  // slot 3 fires
    return true;
  });
  float healthBefore = t.game.PlayerHealth;
  UpdateEnemies(t.game);
  const auto& e = t.game.Enemies;
  EXPECT_EQ(e[0].X, 100.0f);
  EXPECT_EQ(e[0].Y, 100.0f);
  EXPECT_EQ(e[0].Fade, 51.0f);
  EXPECT_EQ(e[1].X, 200.0f);
  EXPECT_EQ(e[1].Fade, 99.0f);
  EXPECT_EQ(t.game.PlayerHealth, healthBefore + 5);
  EXPECT_EQ(e[2].X, 490.0f);
  EXPECT_TRUE(e[2].Infected);
  EXPECT_EQ(e[3].X, 300.0f);
  // The edge runner still turns at the corner.
  EXPECT_EQ(e[kEdgeRunner].X, 0.0f);
  EXPECT_EQ(e[kEdgeRunner].Y, 1.0f);
  EXPECT_EQ(e[kEdgeRunner].TargetX, 0.0f);
  EXPECT_EQ(e[kEdgeRunner].TargetY, 448.0f);
  ASSERT_GE(ActiveShots(), 1);
  EXPECT_EQ(t.game.Shots[0].Owner, 3.0f);
}

TEST_F(EnemiesTest, RandomFireFollowsTheDirectionTable) {
  struct Case {
    int k;
    float dx, dy, sx, sy;
  };
  const Case cases[] = {{0, 0, 12, -1, 0}, {1, 24, 12, 1, 0}, {2, 12, 0, 0, -1}, {3, 12, 24, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.k);
    Start(false);
    t.game.BonusTypes[Bonus::C].Time = 10;  // keep the enemy still
    Place(2, 100, 200, 300, 200);
    SeedWhere([&](Random& r) {
      return Fires(r.Next()) && std::nearbyint(3.0f * r.Next()) == static_cast<float>(c.k);
    });
    UpdateEnemies(t.game);
    EXPECT_TRUE(TookDraws(3));  // fire test, direction, speed
    float s = 5.0f + 5.0f * Drawn(3)[2];
    ASSERT_EQ(ActiveShots(), 1);
    const Shot& shot = t.game.Shots[0];
    EXPECT_EQ(shot.X, 100 + c.dx);
    EXPECT_EQ(shot.Y, 200 + c.dy);
    EXPECT_EQ(shot.SpeedX, c.sx * s);
    EXPECT_EQ(shot.SpeedY, c.sy * s);
    EXPECT_EQ(shot.Hostile, 1.0f);
    EXPECT_EQ(shot.Owner, 2.0f);
  }
}

TEST_F(EnemiesTest, OnlyAFullyPresentEnemyFiresAndAnAllysShotsArePlayerSide) {
  Start(false);
  t.game.PlayerFade = 100;
  t.game.BonusTypes[Bonus::C].Time = 10;
  Place(0, 100, 100, 300, 100).Fade = 99;
  SeedWhere([](Random& r) { return Fires(r.Next()); });
  UpdateEnemies(t.game);
  EXPECT_TRUE(TookDraws(1));  // the fire test only: no shot at presence 99
  EXPECT_EQ(ActiveShots(), 0);

  Place(0, 100, 100, 300, 100).Ally = true;
  SeedWhere([](Random& r) { return Fires(r.Next()) && std::nearbyint(3.0f * r.Next()) == 1; });
  UpdateEnemies(t.game);
  EXPECT_TRUE(TookDraws(3));
  ASSERT_EQ(ActiveShots(), 1);
  EXPECT_EQ(t.game.Shots[0].Hostile, 0.0f);
  EXPECT_EQ(t.game.Shots[0].Owner, kAllyOwner);
}

TEST_F(EnemiesTest, TouchingTheShipInfectsOnlyUnderJ) {
  Start(true);  // no spreading between the enemies here
  t.game.BonusTypes[Bonus::C].Time = 10;
  t.game.PlayerX = 300;
  t.game.PlayerY = 300;
  Place(0, 320, 310, 0, 0);
  Place(1, 268, 300, 0, 0);  // touches the ship's left edge: no overlap
  Place(2, 290, 290, 0, 0).Ally = true;
  SeedWhere([](Random& r) { return !Fires(r.Next()) && !Fires(r.Next()) && !Fires(r.Next()); });
  UpdateEnemies(t.game);
  EXPECT_FALSE(t.game.Enemies[0].Infected);
  EXPECT_EQ(t.game.Enemies[0].Health, 100.0f);

  t.game.BonusTypes[Bonus::J].Time = 10;
  SeedWhere([](Random& r) { return !Fires(r.Next()) && !Fires(r.Next()) && !Fires(r.Next()); });
  UpdateEnemies(t.game);
  const auto& e = t.game.Enemies;
  EXPECT_TRUE(e[0].Infected);
  EXPECT_FALSE(e[0].InfectedByOther);
  // 0.4 for the touch, then 2/50 for the infection, each stored as single.
  float expected = static_cast<float>(static_cast<float>(100 - 0.4) - 2.0 / 50.0);
  EXPECT_EQ(e[0].Health, expected);
  EXPECT_FALSE(e[1].Infected);
  EXPECT_FALSE(e[2].Infected);
  EXPECT_EQ(e[2].Health, 100.0f);

  // The touch drains again in every frame of contact.
  SeedWhere([](Random& r) { return !Fires(r.Next()) && !Fires(r.Next()) && !Fires(r.Next()); });
  UpdateEnemies(t.game);
  expected = static_cast<float>(static_cast<float>(expected - 0.4) - 2.0 / 50.0);
  EXPECT_EQ(e[0].Health, expected);
}

TEST_F(EnemiesTest, InfectionSpreadsInLevelGamesOnlyAndReachesAllies) {
  for (bool survival : {false, true}) {
    SCOPED_TRACE(survival ? "survival" : "level");
    Start(survival);
    t.game.BonusTypes[Bonus::C].Time = 10;
    Place(0, 100, 100, 0, 0).Infected = true;
    Place(1, 120, 120, 0, 0).Ally = true;  // overlaps slot 0
    Place(2, 100, 132, 0, 0);              // touches slot 0: no overlap
    Place(3, 80, 80, 0, 0).Health = -3;    // dying, overlapping
    Place(kEdgeRunner, 110, 90, 110, 90);  // the edge runner is an enemy too
    SeedWhere([](Random& r) {
      for (int i = 0; i < 3; ++i) {
        if (Fires(r.Next())) return false;
      }
      return true;
    });
    UpdateEnemies(t.game);
    const auto& e = t.game.Enemies;
    EXPECT_EQ(e[1].Infected, !survival);
    EXPECT_EQ(e[1].InfectedByOther, !survival);
    EXPECT_FALSE(e[2].Infected);
    EXPECT_EQ(e[3].Infected, !survival);
    EXPECT_EQ(e[kEdgeRunner].Infected, !survival);
    // Half the drain for a caught infection: the ally lost 1/50 in its own turn.
    EXPECT_EQ(e[1].Health, survival ? 100.0f : static_cast<float>(100 - 1.0 / 50.0));
  }
}

TEST_F(EnemiesTest, AnInfectedAllyDoesNotPassItOn) {
  Start(false);
  t.game.BonusTypes[Bonus::C].Time = 10;
  Enemy& ally = Place(0, 100, 100, 0, 0);
  ally.Ally = true;
  ally.Infected = true;
  Place(1, 110, 110, 0, 0);
  SeedWhere([](Random& r) { return !Fires(r.Next()) && !Fires(r.Next()); });
  UpdateEnemies(t.game);
  EXPECT_FALSE(t.game.Enemies[1].Infected);
  EXPECT_EQ(t.game.Enemies[0].Health, static_cast<float>(100 - 2.0 / 50.0));
}

TEST_F(EnemiesTest, InfectionDrainsTwoOrOneFiftiethPerPass) {
  Start(true);
  t.game.BonusTypes[Bonus::C].Time = 1000;
  Place(0, 100, 100, 0, 0).Infected = true;
  Enemy& caught = Place(1, 300, 300, 0, 0);
  caught.Infected = true;
  caught.InfectedByOther = true;
  float own = 100;
  float other = 100;
  for (int pass = 0; pass < 50; ++pass) {
    SeedWhere([](Random& r) { return !Fires(r.Next()) && !Fires(r.Next()); });
    UpdateEnemies(t.game);
    own = static_cast<float>(own - 2.0 / 50.0);
    other = static_cast<float>(other - 1.0 / 50.0);
  }
  EXPECT_EQ(t.game.Enemies[0].Health, own);
  EXPECT_EQ(t.game.Enemies[1].Health, other);
  EXPECT_NEAR(own, 98.0f, 1e-3);
  EXPECT_NEAR(other, 99.0f, 1e-3);
}

TEST_F(EnemiesTest, AnEnemyKilledAtFullPresenceGivesFiveHealthAndOneSoundOnly) {
  Start(true);
  t.game.PlayerHealth = 40;
  Place(0, 100, 100, 300, 300).Health = -2;
  for (int pass = 1; pass <= 100; ++pass) {
    UpdateEnemies(t.game);
    const Enemy& e = t.game.Enemies[0];
    EXPECT_EQ(e.Fade, 100.0f - pass);
    EXPECT_GE(e.RespawnDelay, 150.0f);
    EXPECT_LE(e.RespawnDelay, 299.0f);
    EXPECT_EQ(e.RespawnDelay, std::floor(e.RespawnDelay));
    EXPECT_GE(e.TargetX, 0.0f);
    EXPECT_LT(e.TargetX, 608.0f);
    EXPECT_LT(e.TargetY, 448.0f);
  }
  EXPECT_EQ(t.game.PlayerHealth, 45.0f);
  auto sounds = t.Calls("Engine.PlaySound \"ai_die\"");
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0], "Engine.PlaySound \"ai_die\" 0 80 0 66");
  // Faded out: the slot is now absent and waits out its delay.
  float delay = t.game.Enemies[0].RespawnDelay;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[0].RespawnDelay, delay - 1);
  EXPECT_EQ(t.game.Enemies[0].Fade, 0.0f);
}

TEST_F(EnemiesTest, AnEnemyKilledWhileFadingInGivesNothing) {
  Start(false);
  t.game.PlayerHealth = 40;
  Place(0, 100, 100, 300, 300).Fade = 99;
  t.game.Enemies[0].Health = 0;
  UpdateEnemies(t.game);
  EXPECT_EQ(t.game.Enemies[0].Fade, 98.0f);
  EXPECT_EQ(t.game.PlayerHealth, 40.0f);
  EXPECT_EQ(t.Count("Engine.PlaySound \"ai_die\""), 0);
}

TEST_F(EnemiesTest, TheEdgeRunnerEntersFromFourSidesAndReachesTheEdge) {
  struct Side {
    float x, y, targetX, targetY, edgeX, edgeY;
  };
  const Side sides[] = {{640, 0, 0, 0, 608, 0},
                        {-32, 448, 608, 448, 0, 448},
                        {0, -32, 0, 448, 0, 0},
                        {608, 480, 608, 0, 608, 448}};
  std::set<int> seen;
  for (uint64_t seed = 1; seed < 200 && seen.size() < 4; ++seed) {
    Start(false, 3);
    t.game.Enemies[kEdgeRunner].RespawnDelay = 0;
    t.game.Rnd.Seed(seed);
    int16_t left = t.game.EnemiesLeft;
    UpdateEnemies(t.game);
    const Enemy& runner = t.game.Enemies[kEdgeRunner];
    EXPECT_EQ(t.game.EnemiesLeft, left);  // the edge runner uses up no spawn
    EXPECT_EQ(runner.Speed, 4.0f);
    EXPECT_EQ(runner.Health, 50.0f);
    EXPECT_EQ(runner.Fade, 1.0f);
    int side = -1;
    for (int s = 0; s < 4; ++s) {
      if (runner.X == sides[s].x && runner.Y == sides[s].y) side = s;
    }
    ASSERT_NE(side, -1) << runner.X << " " << runner.Y;
    seen.insert(side);
    EXPECT_EQ(runner.TargetX, sides[side].targetX);
    EXPECT_EQ(runner.TargetY, sides[side].targetY);
    // Its first update puts it on the edge, heading the same way.
    UpdateEnemies(t.game);
    EXPECT_EQ(runner.X, sides[side].edgeX);
    EXPECT_EQ(runner.Y, sides[side].edgeY);
    EXPECT_EQ(runner.TargetX, sides[side].targetX);
    EXPECT_EQ(runner.TargetY, sides[side].targetY);
  }
  EXPECT_EQ(seen.size(), 4u);
}

TEST_F(EnemiesTest, TheEdgeRunnerTurnsAtTheCornersWithinTheirDistances) {
  struct Case {
    float x, y;
    bool turns;
    float targetX, targetY;
  };
  const Case cases[] = {
      {1.9f, 0, true, 0, 448},  {0, 2, false, 0, 0},         {0, 433.1f, true, 608, 448},
      {0, 433, false, 0, 0},    {596.1f, 448, true, 608, 0}, {596, 448, false, 0, 0},
      {608, 11.9f, true, 0, 0}, {608, 12, false, 0, 0},      {0, 0, true, 0, 448},
      {0, 448, true, 608, 448}, {608, 448, true, 608, 0},    {608, 0, true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    Start(false);
    t.game.BonusTypes[Bonus::C].Time = 10;  // hold it in place
    Place(kEdgeRunner, c.x, c.y, 300, 200);
    UpdateEnemies(t.game);
    const Enemy& runner = t.game.Enemies[kEdgeRunner];
    EXPECT_EQ(runner.TargetX, c.turns ? c.targetX : 300.0f);
    EXPECT_EQ(runner.TargetY, c.turns ? c.targetY : 200.0f);
    // The four corners are asked in order, each time.
    auto distances = t.Calls("Utility.Distance");
    ASSERT_EQ(distances.size(), 4u);
    EXPECT_EQ(distances[0].rfind("Utility.Distance 0 0 ", 0), 0u);
    EXPECT_EQ(distances[1].rfind("Utility.Distance 0 448 ", 0), 0u);
    EXPECT_EQ(distances[2].rfind("Utility.Distance 608 448 ", 0), 0u);
    EXPECT_EQ(distances[3].rfind("Utility.Distance 608 0 ", 0), 0u);
  }
}

TEST_F(EnemiesTest, TheEdgeRunnerFiresAlongTheEdgesItIsOn) {
  struct Case {
    float x, y;
    int shots;
  };
  const Case cases[] = {{0, 0, 4}, {608, 448, 4}, {300, 0, 2}, {608, 200, 2}, {300, 200, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    Start(false);
    t.game.BonusTypes[Bonus::C].Time = 10;
    Place(kEdgeRunner, c.x, c.y, c.x, c.y).Fade = 20;  // edge fire goes on while fading in
    SeedWhere([](Random& r) { return !Fires(r.Next()) && std::floor(15.0f * r.Next()) == 1.0f; });
    UpdateEnemies(t.game);
    EXPECT_TRUE(TookDraws(2 + c.shots));  // fire test, edge fire test, one speed per shot
    ASSERT_EQ(ActiveShots(), c.shots);
    std::vector<float> r = Drawn(2 + c.shots);
    int next = 0;
    auto expectShot = [&](float dx, float dy, float sx, float sy) {
      const Shot& shot = t.game.Shots[next];
      float s = 5.0f + 5.0f * r[2 + next];
      EXPECT_EQ(shot.X, c.x + dx);
      EXPECT_EQ(shot.Y, c.y + dy);
      EXPECT_EQ(shot.SpeedX, sx * s);
      EXPECT_EQ(shot.SpeedY, sy * s);
      EXPECT_EQ(shot.Hostile, 1.0f);
      EXPECT_EQ(shot.Owner, 4.0f);
      ++next;
    };
    if (c.y == 0 || c.y == 448) {
      expectShot(0, 12, -1, 0);
      expectShot(24, 12, 1, 0);
    }
    if (c.x == 0 || c.x == 608) {
      expectShot(12, 0, 0, -1);
      expectShot(12, 24, 0, 1);
    }
  }
}

TEST_F(EnemiesTest, ADyingEdgeRunnerNearACornerTakesTheTurnOverItsDrift) {
  for (bool survival : {false, true}) {
    Start(survival);
    t.game.BonusTaken = true;
    Place(kEdgeRunner, 0, 440, 0, 448).Health = 0;
    t.game.Enemies[kEdgeRunner].Fade = 60;
    UpdateEnemies(t.game);
    const Enemy& runner = t.game.Enemies[kEdgeRunner];
    EXPECT_EQ(runner.TargetX, 608.0f);
    EXPECT_EQ(runner.TargetY, 448.0f);
    EXPECT_EQ(runner.Fade, 59.0f);
    EXPECT_FALSE(t.game.BonusTaken);
    if (survival) {
      EXPECT_GE(runner.RespawnDelay, 201.0f);
      EXPECT_LE(runner.RespawnDelay, 400.0f);
    } else {
      EXPECT_GE(runner.RespawnDelay, 101.0f);
      EXPECT_LE(runner.RespawnDelay, 200.0f);
    }
  }
}

TEST_F(EnemiesTest, TheEdgeRunnersDelayCoversItsWholeRange) {
  std::set<float> delays;
  Start(false);
  for (int pass = 0; pass < 4000; ++pass) {
    Place(kEdgeRunner, 300, 200, 300, 200).Health = 0;
    UpdateEnemies(t.game);
    delays.insert(t.game.Enemies[kEdgeRunner].RespawnDelay);
  }
  EXPECT_EQ(*delays.begin(), 101.0f);
  EXPECT_EQ(*delays.rbegin(), 200.0f);
  EXPECT_EQ(delays.size(), 100u);
}

}  // namespace
