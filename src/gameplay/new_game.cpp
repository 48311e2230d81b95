#include "gameplay/gameplay.h"

void NewGame(Game& game) {
  game.GameMode = "game";
  game.musicPlayer.SetVolume(83);

  game.PlayerX = 320;
  game.PlayerY = 240;
  game.PlayerSpeed = 3;
  game.PlayerHealth = 111;
  game.PlayerFade = 1;

  if (game.SurvivalMode) {
    game.EnemiesLeft = 1;
    game.EnemyMax = 4;
  } else {
    game.EnemiesLeft = static_cast<int16_t>(game.Level * 2 + 4);
    game.EnemyMax = static_cast<int16_t>(game.Level + 4);
  }

  game.Enemies.assign(static_cast<size_t>(game.EnemyMax) + 1, Enemy{});
  game.Shots.assign(kShotCount, Shot{});
  game.NewBestScore = false;
  game.NewLevelBest.fill(false);
  game.LastScore = 0;
  game.SurvivalClock = 0;
  game.Score = 0;
  game.Paused = false;
  game.LastLevelWon = false;

  game.BonusTypes.assign(kBonusTypeCount, BonusState{});
  for (int i = 0; i < kBonusTypeCount; ++i) game.BonusTypes[i].Letter = kBonusLetters[i];

  game.BonusVisible = false;
  game.BonusTaken = false;
  game.BonusFade = 0;
  game.BonusType = 0;
}
