// Start-up, the main loop and shutdown; new games; resources; in-game keys; the score file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shell/game.h"

// The whole life of the program: start-up, the main loop, shutdown. Returns the exit status.
int Main(Game& game);
// One pass of the main loop: clocks, music check, then the menu or the game.
void RunPass(Game& game);
// Close handler of the window frmMain: a close request while the loop runs ends it after the
// current pass instead of closing the window at once.
void Form_Unload(Game& game, int16_t& Cancel);

// Resets the state for a new game (survival or level, as SurvivalMode says) and starts playing.
void NewGame(Game& game);

// Shows the splash logo and loads every picture.
void LoadTextures(Game& game);
void CreateFonts(Game& game);
// Registers the sounds and starts the music when sound is on; then holds the splash two seconds.
void LoadSounds(Game& game);
void ReleaseTextures(Game& game);

// Pause, Escape, the screenshot key and the health keys of a running game.
void HandleGameKeys(Game& game);

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
