// What a frame shows: the game screen with its heads-up display, and the menu screen.
//
// Drawing advances the game. These draws change game state, once per drawn frame, in this order
// (the named steps are in core/drawing_advances.h); keep their order and the order of every random
// draw and engine call, which the golden replays pin:
//   DrawGame   the enemy shots' colours under bonus "D" (3 draws from game.Rnd per hostile shot)
//              and every shot's spin and glow (2 draws per shot); the bonus item's fade
//              (AdvanceBonusFade: whether the item can be taken); the ship's presence held at 40
//              under bonus "X" (HoldShipPresence: whether enemy shots hit it)
//   DrawMenu   a new best score's shimmer (1 draw per new record shown); the exit caption, chosen
//              once per run (ChooseExitCaption: reseeds game.Rnd from the time of day, 1 draw);
//              the logo's fade (AdvanceLogoFade)
// DrawHud and DrawPauseOverlay change nothing of the game. (Every draw may build its texts in
// game.TextRoom, which no rule reads.)
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
