#include "replay/game_state.h"

#include <cstring>
#include <type_traits>

namespace {

// Each field's value as a whole number (a float by its bits, a truth value as 0 or 1) stirred
// into the sum with a multiply and a shift, both of which undo, so that a change of any one field
// always changes the digest. Whole numbers, not bytes, keep it cheap; it is the same on every
// machine whatever its byte order.
class Digest {
 public:
  template <typename T>
  void Add(T value) {
    static_assert(std::is_integral_v<T> || std::is_floating_point_v<T>);
    if constexpr (std::is_same_v<T, float>) {
      uint32_t bits = 0;
      std::memcpy(&bits, &value, sizeof bits);
      Word(bits);
    } else if constexpr (std::is_same_v<T, bool>) {
      Word(value ? 1 : 0);
    } else {
      Word(static_cast<uint64_t>(value));
    }
  }
  void Add(const std::string& text) {
    Word(text.size());
    for (char c : text) Word(static_cast<uint8_t>(c));
  }
  uint64_t Value() const { return hash_; }

 private:
  void Word(uint64_t word) {
    hash_ = (hash_ ^ word) * 0x100000001B3ull;
    hash_ ^= hash_ >> 32;
  }
  uint64_t hash_ = 0xCBF29CE484222325ull;
};

}  // namespace

GameStart CaptureStart(const Game& game) {
  GameStart s;
  s.random = game.Rnd.State();
  s.playerX = game.PlayerX;
  s.playerY = game.PlayerY;
  s.playerSpeed = game.PlayerSpeed;
  s.playerHealth = game.PlayerHealth;
  s.playerFade = game.PlayerFade;
  s.enemiesLeft = game.EnemiesLeft;
  s.enemies = game.Enemies;
  s.shots = game.Shots;
  s.bonusVisible = game.BonusVisible;
  s.bonusTaken = game.BonusTaken;
  s.bonusFade = game.BonusFade;
  s.bonusType = game.BonusType;
  s.bonusX = game.BonusX;
  s.bonusY = game.BonusY;
  for (size_t i = 0; i < game.BonusTypes.size() && i < s.bonusActive.size(); ++i) {
    s.bonusActive[i] = game.BonusTypes[i].Active;
    s.bonusTime[i] = game.BonusTypes[i].Time;
  }
  s.score = game.Score;
  s.survival = game.SurvivalMode;
  s.level = game.Level;
  s.highestLevel = game.HighestLevel;
  s.paused = game.Paused;
  s.animClock = game.AnimClock;
  s.survivalClock = game.SurvivalClock;
  s.lastLevelWon = game.LastLevelWon;
  s.menuSelection = game.MenuSelection;
  s.menuDelay = game.MenuDelay;
  s.logoFade = game.LogoFade;
  s.exitCaption = game.ExitCaption;
  s.bestScore = game.BestScore;
  s.levelBest = game.LevelBestScores;
  s.newBestScore = game.NewBestScore;
  s.newLevelBest = game.NewLevelBest;
  s.lastScore = game.LastScore;
  return s;
}

void RestoreStart(const GameStart& s, Game& game) {
  game.Rnd.Seed(s.random);
  game.PlayerX = s.playerX;
  game.PlayerY = s.playerY;
  game.PlayerSpeed = s.playerSpeed;
  game.PlayerHealth = s.playerHealth;
  game.PlayerFade = s.playerFade;
  game.EnemyMax = static_cast<int16_t>(s.enemies.size() - 1);
  game.EnemiesLeft = s.enemiesLeft;
  game.Enemies = s.enemies;
  game.Shots = s.shots;
  game.BonusVisible = s.bonusVisible;
  game.BonusTaken = s.bonusTaken;
  game.BonusFade = s.bonusFade;
  game.BonusType = s.bonusType;
  game.BonusX = s.bonusX;
  game.BonusY = s.bonusY;
  game.BonusTypes.assign(kBonusTypeCount, BonusState{});
  for (int i = 0; i < kBonusTypeCount; ++i) {
    game.BonusTypes[i].Letter = kBonusLetters[i];
    game.BonusTypes[i].Active = s.bonusActive[i];
    game.BonusTypes[i].Time = s.bonusTime[i];
  }
  game.Score = s.score;
  game.SurvivalMode = s.survival;
  game.Level = s.level;
  game.HighestLevel = s.highestLevel;
  game.GameMode = "game";
  game.Paused = s.paused;
  game.AnimClock = s.animClock;
  game.SurvivalClock = s.survivalClock;
  game.LastLevelWon = s.lastLevelWon;
  game.MenuSelection = s.menuSelection;
  game.MenuDelay = s.menuDelay;
  game.LogoFade = s.logoFade;
  game.ExitCaption = s.exitCaption;
  game.BestScore = s.bestScore;
  game.LevelBestScores = s.levelBest;
  game.NewBestScore = s.newBestScore;
  game.NewLevelBest = s.newLevelBest;
  game.LastScore = s.lastScore;
}

uint64_t StateDigest(const Game& game) {
  Digest d;
  d.Add(game.Rnd.State());
  for (float v :
       {game.PlayerX, game.PlayerY, game.PlayerSpeed, game.PlayerHealth, game.PlayerFade}) {
    d.Add(v);
  }
  d.Add(game.EnemyMax);
  d.Add(game.EnemiesLeft);
  d.Add(static_cast<uint32_t>(game.Enemies.size()));
  for (const Enemy& e : game.Enemies) {
    for (float v : {e.X, e.Y, e.Speed, e.TargetX, e.TargetY, e.Health, e.Fade, e.RespawnDelay}) {
      d.Add(v);
    }
    d.Add(e.Ally);
    d.Add(e.Infected);
    d.Add(e.InfectedByOther);
  }
  d.Add(static_cast<uint32_t>(game.Shots.size()));
  for (const Shot& s : game.Shots) {
    d.Add(s.Active);
    for (float v : {s.X, s.Y, s.SpeedX, s.SpeedY, s.Hostile, s.Owner}) d.Add(v);
  }
  d.Add(game.BonusVisible);
  d.Add(game.BonusTaken);
  d.Add(game.BonusFade);
  d.Add(game.BonusType);
  d.Add(game.BonusX);
  d.Add(game.BonusY);
  d.Add(static_cast<uint32_t>(game.BonusTypes.size()));
  for (const BonusState& b : game.BonusTypes) {
    d.Add(b.Active);
    d.Add(b.Time);
    d.Add(b.Letter);
  }
  d.Add(game.Score);
  d.Add(game.SurvivalMode);
  d.Add(game.Level);
  d.Add(game.HighestLevel);
  d.Add(game.GameMode);
  d.Add(game.Paused);
  d.Add(game.AnimClock);
  d.Add(game.SurvivalClock);
  d.Add(game.LastLevelWon);
  d.Add(game.MenuSelection);
  d.Add(game.MenuDelay);
  d.Add(game.LogoFade);
  d.Add(game.ExitCaption);
  d.Add(game.BestScore);
  for (float v : game.LevelBestScores) d.Add(v);
  d.Add(game.NewBestScore);
  for (bool v : game.NewLevelBest) d.Add(v);
  d.Add(game.LastScore);
  return d.Value();
}
