// Thousands of passes of random play in both kinds of game, checking after every pass that the
// game state stays sound: everything on the field, the tables at their sizes, no NaN anywhere.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>

#include "shell/shell.h"
#include "test_support.h"

namespace {

constexpr int16_t kPlayKeys[] = {Key::Left, Key::Right, Key::Up, Key::Down,
                                 Key::A,    Key::D,     Key::W,  Key::S};

// The first broken rule of the state, or "" when all hold.
std::string CheckState(const Game& game) {
  std::ostringstream out;
  auto bad = [](float value) { return std::isnan(value) || std::isinf(value); };
  auto within = [](float value, float low, float high) { return value >= low && value <= high; };

  if (!within(game.PlayerX, 0, 608) || !within(game.PlayerY, 0, 448)) {
    out << "ship off the field at " << game.PlayerX << ", " << game.PlayerY;
  } else if (bad(game.PlayerHealth) || bad(game.PlayerFade) || bad(game.PlayerSpeed)) {
    out << "ship health " << game.PlayerHealth << " fade " << game.PlayerFade;
  } else if (game.Enemies.size() < 5 ||
             game.Enemies.size() != static_cast<size_t>(game.EnemyMax) + 1) {
    out << game.Enemies.size() << " enemy slots with EnemyMax " << game.EnemyMax;
  } else if (game.EnemiesLeft < 0) {
    out << "EnemiesLeft " << game.EnemiesLeft;
  } else if (game.Shots.size() != kShotCount || game.BonusTypes.size() != kBonusTypeCount) {
    out << game.Shots.size() << " shots, " << game.BonusTypes.size() << " bonus types";
  } else if (game.BonusType < 0 || game.BonusType > 11) {
    out << "BonusType " << game.BonusType;
  } else if (game.Level < 0 || game.Level > 100 || game.HighestLevel < 0 ||
             game.HighestLevel > 100) {
    out << "Level " << game.Level << " HighestLevel " << game.HighestLevel;
  } else if (bad(game.BonusX) || bad(game.BonusY) || bad(game.BonusFade) || bad(game.AnimClock) ||
             bad(game.SurvivalClock) || bad(game.BestScore) || bad(game.LastScore) ||
             bad(game.LogoFade)) {
    out << "NaN among the bonus item, the clocks or the scores";
  }
  if (!out.str().empty()) return out.str();

  for (size_t i = 0; i < game.Enemies.size(); ++i) {
    const Enemy& e = game.Enemies[i];
    for (float value :
         {e.X, e.Y, e.Speed, e.TargetX, e.TargetY, e.Health, e.Fade, e.RespawnDelay}) {
      if (bad(value)) out << "enemy " << i << " has a NaN";
    }
    if (!within(e.Fade, 0, 100)) out << "enemy " << i << " fade " << e.Fade;
    if (i == kEdgeRunner && e.Ally) out << "the edge runner is an ally";
    if (e.Fade <= 0) continue;
    bool onField = within(e.X, 0, 608) && within(e.Y, 0, 448);
    // The edge runner spawns just outside the field; its first update brings it onto the edge.
    bool entering = i == kEdgeRunner && e.Fade == 1 &&
                    ((e.X == 640 && e.Y == 0) || (e.X == -32 && e.Y == 448) ||
                     (e.X == 0 && e.Y == -32) || (e.X == 608 && e.Y == 480));
    if (!onField && !entering) out << "enemy " << i << " off the field at " << e.X << ", " << e.Y;
  }
  for (size_t i = 0; i < game.Shots.size(); ++i) {
    const Shot& s = game.Shots[i];
    for (float value : {s.X, s.Y, s.SpeedX, s.SpeedY, s.Hostile, s.Owner}) {
      if (bad(value)) out << "shot " << i << " has a NaN";
    }
  }
  for (size_t i = 0; i < game.BonusTypes.size(); ++i) {
    if (bad(game.BonusTypes[i].Time)) out << "bonus type " << i << " has a NaN time";
  }
  for (float best : game.LevelBestScores) {
    if (bad(best)) out << "a level record is NaN";
  }
  return out.str();
}

// Random play: held keys change now and then, a pause or a trip to the menu from time to time.
// So that level games also get cleared and bonus items taken, some enemies are hurt as if shot
// and some items are pushed under the ship, as the player's shots would do.
class RandomPlayer {
 public:
  RandomPlayer(test::TestGame& t, uint64_t seed, bool survival)
      : t_(t), game_(t.game), dice_(seed), survival_(survival) {
    game_.Rnd.Seed(seed);
    game_.HighestLevel = static_cast<int16_t>(Roll(1, 6));
  }

  void StartGame() {
    game_.SurvivalMode = survival_;
    game_.Level =
        static_cast<int16_t>(Roll(std::max(1, game_.HighestLevel - 3), game_.HighestLevel));
    NewGame(game_);
    passesInGame_ = 0;
  }

  void PlayPass() {
    game_.platform.BeginPass();
    if (game_.GameMode != "game" && ++passesInMenu_ > 20) {
      passesInMenu_ = 0;
      t_.backend.ReleaseAllKeys();
      StartGame();
    }
    for (int16_t key : kPlayKeys) {
      if (Chance(0.08)) {
        if (held_[key]) {
          t_.backend.ReleaseKey(key);
        } else {
          t_.backend.PressKey(key);
        }
        held_[key] = !held_[key];
      }
    }
    if (Chance(game_.Paused ? 0.1 : 0.004)) t_.backend.TapKey(Key::P);
    if (Chance(0.002)) t_.backend.TapKey(Key::T);
    if (Chance(0.0005)) t_.backend.TapKey(Key::Escape);
    if (game_.GameMode == "game") Meddle();
    int16_t enemyMax = game_.EnemyMax;
    bool taken = game_.BonusTaken;
    bool wasPlaying = game_.GameMode == "game" && game_.PlayerHealth > 0;
    RunPass(game_);
    if (game_.EnemyMax > enemyMax && game_.SurvivalMode) ++growths;
    if (!taken && game_.BonusTaken) ++itemsTaken;
    if (wasPlaying && !game_.SurvivalMode && game_.EnemiesLeft == 0 && game_.PlayerHealth == 0 &&
        game_.PlayerFade == 0) {
      ++levelsCleared;
    }
  }

  // What the run went through, so that it cannot pass by playing nothing.
  int growths = 0;
  int itemsTaken = 0;
  int levelsCleared = 0;

 private:
  void Meddle() {
    if (++passesInGame_ > 2500) {
      // A stuck game (say, a ship that is never hit) ends in a new one.
      StartGame();
      return;
    }
    if (Chance(0.08)) {
      Enemy& target = game_.Enemies[Roll(0, game_.EnemyMax)];
      if (target.Fade > 99) target.Health -= static_cast<float>(Roll(5, 60));
    }
    if (game_.BonusVisible && Chance(0.02)) {
      game_.BonusX = game_.PlayerX + 8;
      game_.BonusY = game_.PlayerY + 8;
      game_.BonusFade = 100;  // as if it had faded in fully
    }
  }

  int Roll(int low, int high) { return std::uniform_int_distribution<int>(low, high)(dice_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(dice_); }

  test::TestGame& t_;
  Game& game_;
  std::mt19937_64 dice_;
  bool survival_;
  bool held_[256] = {};
  int passesInMenu_ = 0;
  int passesInGame_ = 0;
};

void PlayLong(uint64_t seed, bool survival, int passes) {
  test::TestGame t;
  t.LoadResources();
  t.backend.trace().SetKeepCalls(false);  // thousands of frames: keep no trace
  RandomPlayer player(t, seed, survival);
  player.StartGame();
  for (int pass = 1; pass <= passes; ++pass) {
    player.PlayPass();
    std::string broken = CheckState(t.game);
    ASSERT_EQ(broken, "") << "seed " << seed << ", pass " << pass;
  }
  // The run went through what it is meant to: items taken, and survival tables grown or levels
  // cleared.
  EXPECT_GT(player.itemsTaken, 0);
  if (survival) {
    EXPECT_GE(player.growths, 2);
  } else {
    EXPECT_GT(player.levelsCleared, 0);
  }
}

TEST(LongRunTest, RandomSurvivalPlayKeepsTheStateSound) {
  PlayLong(20240601, true, 6000);
}

TEST(LongRunTest, RandomLevelPlayKeepsTheStateSound) {
  PlayLong(777, false, 6000);
}

}  // namespace
