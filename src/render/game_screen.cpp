#include "render/render.h"

// Not built yet: a frame shows the background and is presented, so the loop keeps its pace.
void DrawGame(Game& game) {
  game.engine.BeginFrame(0, 0, 0);
  game.engine.DrawSprite(game.BackgroundTexture, 0, 0, 640, 480, 0, 100, 0, 0, 0, 0, -1, -1);
  game.engine.EndFrame();
}
