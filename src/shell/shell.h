// The top layer: start-up, the main loop and shutdown; resources and the splash. It sees the whole
// game below it, so including this header brings every procedure of the game with it.
#pragma once

#include <cstdint>

#include "core/game.h"
#include "core/score_file.h"
#include "gameplay/gameplay.h"
#include "menu/menu.h"
#include "render/render.h"

// The whole life of the program: start-up, the main loop, shutdown. Returns the exit status.
int Main(Game& game);
// Start-up: the window, pictures, fonts, sounds and the records; Running is then true unless the
// window was closed meanwhile.
void StartUp(Game& game);
// Shutdown: the pictures released, the engine shut down, the window unloaded.
void ShutDown(Game& game);
// One pass of the main loop: clocks, music check, then the menu or the game.
void RunPass(Game& game);
// Close handler of the window frmMain: a close request while the loop runs ends it after the
// current pass instead of closing the window at once.
void Form_Unload(Game& game, int16_t& Cancel);

// Shows the splash logo and loads every picture.
void LoadTextures(Game& game);
void CreateFonts(Game& game);
// Registers the sounds and starts the music when sound is on; then holds the splash two seconds.
void LoadSounds(Game& game);
void ReleaseTextures(Game& game);
