#include "menu/menu.h"

#include "shell/shell.h"

// Not built yet beyond the essentials: Space or Enter on the first entry would start a game; for
// now Escape or Enter leaves, so the program can be ended from the keyboard.
void HandleMenuInput(Game& game) {
  if (game.engine.IsKeyHit(Key::Escape) || game.engine.IsKeyHit(Key::Enter)) game.Running = false;
}
