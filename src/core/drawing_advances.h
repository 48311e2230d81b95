// The game state that drawing advances. The game's drawing procedures move these on as they draw,
// once per drawn frame and in the order they draw; the game depends on it (the bonus item can be
// taken only once its fade is exactly 100, enemy shots miss a ship held at 40 presence), so the
// drawing calls these named steps rather than writing the state itself. Keep their order, and the
// order of every random draw and engine call around them: the golden replays pin it.
#pragma once

#include "core/game.h"

// The bonus item fades in by 1 a frame while it lies on the field and out by 10 a frame once it
// has been taken. True while it shows (its fade is above 0).
bool AdvanceBonusFade(Game& game);

// Under bonus "X" the ship's presence is held at 40, which enemy shots pass through.
void HoldShipPresence(Game& game);

// The splash logo dissolves into the menu over its first 100 frames of the run: the fade moves on
// by 1. True while the logo still shows (and has been moved on).
bool AdvanceLogoFade(Game& game);

// The exit entry's caption, picked at random once per run when the menu is first drawn: the
// generator is reseeded from the time of day and draws once.
void ChooseExitCaption(Game& game);
