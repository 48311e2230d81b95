#include "render/render.h"

// Not built yet: the menu background, presented.
void DrawMenu(Game& game) {
  game.engine.DrawSprite(game.MenuBackgroundTexture, 0, 0, 640, 480, 0, 100, 0, 0, 0, 0, -1, -1);
  game.engine.EndFrame();
}
