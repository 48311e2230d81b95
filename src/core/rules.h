// The rules' names: the numbers the game's rules give a meaning to, named once for every layer.
#pragma once

#include <cstdint>

inline constexpr int kShotCount = 221;      // Shots 0..220
inline constexpr int kBonusTypeCount = 12;  // BonusTypes 0..11
inline constexpr int kMaxLevel = 100;       // LevelBestScores and NewLevelBest 0..100

// Bonus types by the letter the player sees, as indexes of BonusTypes:
//   A marks every enemy with bands across and down the screen; B slows the enemies to a third;
//   C holds them still; D lets enemy shots hit enemies (they flicker in warm colours);
//   E fires held keys on its own, each shot paid from its time; F fires every press four ways;
//   X keeps enemy shots off the ship (the ship shows half transparent); Y gives 55 health;
//   G slows enemy shots to a third; H sends walls of shots in from both sides;
//   I turns an enemy into an ally; J infects the enemies the ship touches (a green halo).
namespace Bonus {
enum : int { A, B, C, D, E, F, X, Y, G, H, I, J };
}  // namespace Bonus
// The letter of each type, in the same order.
inline constexpr const char* kBonusLetters[kBonusTypeCount] = {"A", "B", "C", "D", "E", "F",
                                                               "X", "Y", "G", "H", "I", "J"};

// Enemy slot 4 is the edge runner, which circles the border.
inline constexpr int kEdgeRunner = 4;

// Owners of player-side shots: the player's own (the only shots that score) and an ally's.
// Enemy shots carry the index of the enemy that fired them.
inline constexpr int16_t kPlayerOwner = 999;
inline constexpr int16_t kAllyOwner = 888;

// The main menu's entries, top to bottom, as MenuSelection holds them.
inline constexpr int16_t kSurvivalEntry = 0;
inline constexpr int16_t kLevelEntry = 1;
inline constexpr int16_t kExitEntry = 2;
