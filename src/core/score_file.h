// The score file "files\bullet.dds" (INI text despite its name): the survival record "M1" and the
// level records "M2-" and a start level in section "SCORE", the highest level offered "PASSED" in
// section "LEVEL". Every key of it is read and written here, and only here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/game.h"

inline const char* const kScoreFile = "files\\bullet.dds";

// Reads the best scores at start, writing "0" for each missing one of M1 and M2-1 to M2-50.
void ReadScores(Game& game);
// The score-file key of a start level: "M2-" and the level in plain decimal.
std::string LevelKey(int level);
// The score in a score-file value; nothing when the value is not a decimal number or lies beyond
// the 16-bit scores the game writes.
std::optional<double> ScoreValue(const std::string& value);
// A score value as stored in the score file; anything that ScoreValue refuses reads as 0.
double ParseScore(const std::string& value);
// The "PASSED" value: empty or not a number means 1; a fraction goes to the nearest whole number
// (halves to even); kept within 1..100.
int16_t ParsePassed(const std::string& value);
// Reads "LEVEL"/"PASSED" for the menu's HighestLevel (ParsePassed), saying on stderr when the
// stored value is not a level the game could have written.
int16_t ReadHighestLevel(Game& game);
// Raises HighestLevel after a passed level, never beyond 100.
int16_t NextHighestLevel(int16_t highestLevel);

// A new survival record: shown by the menu and written under "M1".
void WriteBestScore(Game& game, int16_t score);
// A new record of a start level: shown by the menu and written under LevelKey(level).
void WriteLevelBest(Game& game, int level, int16_t score);
// The highest level offered, written under "PASSED" once a level game unlocks the next level.
void WritePassedLevel(Game& game);
// The player clears a record (the menu's R and E): "0" in memory and in the file.
void ResetBestScore(Game& game);
void ResetLevelBest(Game& game, int level);
