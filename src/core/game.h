// The whole state of a running Swayfire, passed explicitly to every procedure of the game.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/rules.h"
#include "engine/engine.h"

// One enemy slot. Slot kEdgeRunner is the edge runner.
struct Enemy {
  float X = 0;      // left edge of the 32 x 32 box
  float Y = 0;      // top edge
  float Speed = 0;  // pixels per pass on each axis toward the target
  float TargetX = 0;
  float TargetY = 0;
  float Health = 0;              // at or below 0 the enemy is dying
  float Fade = 0;                // presence 0..100; above 0 the slot is on the field
  float RespawnDelay = 0;        // passes to wait while absent
  bool Ally = false;             // fights on the player's side (bonus "I")
  bool Infected = false;         // bonus "J": loses health, passes it on by contact
  bool InfectedByOther = false;  // caught from another enemy: loses health at half the rate
};

// One entry of the shot table.
struct Shot {
  bool Active = false;
  float X = 0;  // left edge of the 8 x 8 box
  float Y = 0;  // top edge
  float SpeedX = 0;
  float SpeedY = 0;
  float Hostile = 0;  // 0 player-side, 1 enemy shot
  float Owner = 0;    // firing enemy's index, kPlayerOwner or kAllyOwner
};

// State of one bonus type.
struct BonusState {
  bool Active = false;
  float Time = 0;  // passes left; for "E", spent by auto-fire
  std::string Letter;
};

struct Game {
  Game(Engine& engine_, Utility& utility_, MusicPlayer& musicPlayer_, Platform& platform_)
      : engine(engine_), utility(utility_), musicPlayer(musicPlayer_), platform(platform_) {}

  // The engine component and the platform around it.
  Engine& engine;
  Utility& utility;
  MusicPlayer& musicPlayer;
  Platform& platform;

  // The one random generator of the game.
  Random Rnd;

  // Player.
  float PlayerX = 0;
  float PlayerY = 0;
  float PlayerSpeed = 0;
  float PlayerHealth = 0;
  float PlayerFade = 0;

  // Enemies and shots.
  std::vector<Enemy> Enemies;  // indexes 0..EnemyMax
  int16_t EnemyMax = 0;
  int16_t EnemiesLeft = 0;
  std::vector<Shot> Shots;  // indexes 0..220
  // Our own room for the shots' pass: the enemies a shot can hit in this pass, by index. Kept
  // here, passed with the game, so that a pass reuses it instead of allocating.
  std::vector<size_t> ShotTargets;
  // Our own room in which drawing builds a text just before it is drawn, reused every frame so
  // that drawing allocates nothing. No rule reads it.
  std::string TextRoom;

  // Bonus item.
  bool BonusVisible = false;
  bool BonusTaken = false;
  float BonusFade = 0;
  int16_t BonusType = 0;
  float BonusX = 0;
  float BonusY = 0;
  std::vector<BonusState> BonusTypes;  // indexes 0..11

  // Game progress and modes.
  int16_t Score = 0;
  bool SurvivalMode = false;
  int16_t Level = 0;
  int16_t HighestLevel = 0;
  std::string GameMode;  // "" the menu, "game" playing
  bool Paused = false;
  bool Running = false;
  float AnimClock = 0;
  float SurvivalClock = 0;
  bool LastLevelWon = false;  // level 100 cleared in this game: its fanfare has played

  // Menu and scores.
  int16_t MenuSelection = 0;
  int16_t MenuDelay = 0;
  float LogoFade = 0;
  std::string ExitCaption;
  float BestScore = 0;
  std::array<float, kMaxLevel + 1> LevelBestScores{};
  bool NewBestScore = false;
  std::array<bool, kMaxLevel + 1> NewLevelBest{};
  float LastScore = 0;

  // Textures, loaded once at start.
  Texture FontTexture;
  Texture BlueFontTexture;
  std::array<Texture, 11> PlayerTextures;  // 0 and 7..10 loaded
  std::array<Texture, 11> EnemyTextures;   // 1..10 loaded
  Texture BackgroundTexture;
  Texture BonusTexture;
  Texture MenuBackgroundTexture;
  Texture LogoTexture;
  Texture ArrowTexture;
  Texture TitleTexture;
  Texture KeysFireTexture;
  Texture KeysMoveTexture;
  Texture HealthBarTexture;
};

// The time left of a bonus type; 0 when the table has no such entry (before the first game).
inline float BonusTime(const Game& game, int type) {
  return type >= 0 && static_cast<size_t>(type) < game.BonusTypes.size()
             ? game.BonusTypes[static_cast<size_t>(type)].Time
             : 0.0f;
}
// A bonus type is in effect while it has time left.
inline bool BonusInEffect(const Game& game, int type) {
  return BonusTime(game, type) > 0;
}
