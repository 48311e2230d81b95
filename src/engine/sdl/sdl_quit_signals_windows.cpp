// Quit signals on Windows: none to watch. Windows asks a program to end through its window (the
// close button, the session ending), which the main loop answers at its next pump, and it ends a
// program that does not answer in its own way; SDL turns the console's Ctrl+C into a quit event.
#include "engine/sdl/sdl_platform.h"

void EndPromptlyOnQuitSignals() {}
