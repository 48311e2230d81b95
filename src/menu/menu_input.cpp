#include "menu/menu.h"

// Not built yet beyond leaving: Escape or Enter ends the program.
void HandleMenuInput(Game& game) {
  if (game.engine.IsKeyHit(Key::Escape) || game.engine.IsKeyHit(Key::Enter)) game.Running = false;
}
