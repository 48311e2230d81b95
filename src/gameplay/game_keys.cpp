#include "gameplay/gameplay.h"

void HandleGameKeys(Game& game) {
  Engine& engine = game.engine;
  if (engine.IsKeyHit(Key::T)) {
    engine.TakeScreenshot();
    game.platform.Beep();
  }
  // Leaving by Escape records nothing; the rest of this pass still runs.
  if (engine.IsKeyHit(Key::Escape)) game.GameMode = "";
  if (engine.IsKeyHit(Key::P)) game.Paused = !game.Paused;
  // Switching to another window pauses a running game as P would; it never resumes one.
  if (game.platform.LostFocus() && !game.Paused) game.Paused = true;

  // Both keys are asked on every call, so an E press never waits for a later H.
  const bool healthHeld = engine.IsKeyDown(Key::H);
  const bool healthPressed = engine.IsKeyHit(Key::E);
  if (healthHeld && healthPressed) {
    game.PlayerHealth = 100;
    engine.PlaySound("menu_opt", 0, 100, 0, 44);
  }
}
