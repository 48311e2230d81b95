// What a frame shows: the game screen with its heads-up display, and the menu screen.
#pragma once

#include <cstdint>
#include <string>

#include "core/game.h"

// One whole game frame, from BeginFrame to EndFrame.
void DrawGame(Game& game);
// Score, health, enemies left, bonus rows and the letters under the ship.
void DrawHud(Game& game);
// The tinted overlay and "PAUSED".
void DrawPauseOverlay(Game& game);
// n characters "|", or "" when n is 0 or less.
std::string BarString(int16_t n);
// One whole menu frame, ending with EndFrame.
void DrawMenu(Game& game);
