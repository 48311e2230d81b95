// The main menu's keys: cursor, start level, game start, score reset, exit, screenshot.
#pragma once

#include "core/game.h"

void HandleMenuInput(Game& game);
