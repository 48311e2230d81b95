#include "render/render.h"

// Not built yet: the game screen and the menu screen arrive in their own changes. Until then a
// frame shows the background and is presented, so the loop keeps its pace.
void DrawGame(Game& game) {
  game.engine.BeginFrame(0, 0, 0);
  game.engine.DrawSprite(game.BackgroundTexture, 0, 0, 640, 480, 0, 100, 0, 0, 0, 0, -1, -1);
  game.engine.EndFrame();
}
void DrawHud(Game&) {}
void DrawPauseOverlay(Game&) {}
std::string BarString(int16_t n) { return n > 0 ? std::string(static_cast<size_t>(n), '|') : ""; }
void DrawMenu(Game& game) {
  game.engine.DrawSprite(game.MenuBackgroundTexture, 0, 0, 640, 480, 0, 100, 0, 0, 0, 0, -1, -1);
  game.engine.EndFrame();
}
