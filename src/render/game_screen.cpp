#include <algorithm>
#include <cmath>

#include "core/drawing_advances.h"
#include "core/numbers.h"
#include "render/drawing.h"
#include "render/render.h"

namespace {

// The background sways with the wall clock, not with the frame count: every sine or cosine
// takes its own reading of the time of day.
double SinOfTime(Game& game) {
  return std::sin(game.platform.TimeOfDay());
}
double CosOfTime(Game& game) {
  return std::cos(game.platform.TimeOfDay());
}

void DrawBackground(Game& game) {
  Engine& engine = game.engine;
  // The deeper the level, the redder the field. Survival keeps the tint of the last frame, which
  // is always neutral.
  if (!game.SurvivalMode) {
    const int16_t shade = ToInt16(122 - 2 * static_cast<int>(game.Level));
    engine.SetColor(255, shade, shade);
  }

  float width = static_cast<float>(640 + 4 * CosOfTime(game));
  float angle = static_cast<float>(-SinOfTime(game) / 15);
  float drawnWidth = static_cast<float>(680 + 19 * SinOfTime(game));
  float drawnHeight = static_cast<float>(499 + 18 * CosOfTime(game));
  DrawSprite(engine, game.BackgroundTexture,
             {.size = {width, 480}, .angle = angle, .drawnSize = {drawnWidth, drawnHeight}});

  angle = static_cast<float>(SinOfTime(game) / 12);
  drawnWidth = static_cast<float>(650 + 5 * SinOfTime(game));
  drawnHeight = static_cast<float>(490 + 5 * CosOfTime(game));
  DrawSprite(
      engine, game.BackgroundTexture,
      {.size = {640, 480}, .angle = angle, .opacity = 70, .drawnSize = {drawnWidth, drawnHeight}});

  Untint(engine);
}

void DrawShots(Game& game) {
  Engine& engine = game.engine;
  const size_t count = game.Shots.size();
  for (size_t i = 0; i < count; ++i) {
    const Shot& shot = game.Shots[i];
    if (!shot.Active) continue;
    if (shot.Hostile == 0) engine.SetColor(33, 33, 222);
    if (shot.Hostile == 1) engine.SetColor(222, 33, 33);
    if (BonusInEffect(game, Bonus::D) && shot.Hostile > 0) {
      const float r1 = game.Rnd.Next();
      const float r2 = game.Rnd.Next();
      const float r3 = game.Rnd.Next();
      engine.SetColor(ToInt16(255 - std::floor(150.0 * r1)), ToInt16(237 - std::floor(50.0 * r2)),
                      ToInt16(95 + std::floor(50.0 * r3)));
    }
    // A new spin and a new glow in every frame.
    const float r4 = game.Rnd.Next();
    const float r5 = game.Rnd.Next();
    const float angle = static_cast<float>(std::floor(360.0 * r4));
    const int16_t opacity = NearestInt16(30.0 * r5 + 40);
    DrawSprite(engine, game.EnemyTextures[10],
               {.at = {shot.X, shot.Y}, .size = {8, 8}, .angle = angle, .opacity = opacity});
    Untint(engine);
  }
}

// Advances the item's fade (the pick-up waits for it to reach exactly 100), then draws it.
void DrawBonusItem(Game& game) {
  if (!AdvanceBonusFade(game)) return;

  const float angle = static_cast<float>(500 * std::sin(50.0 * game.AnimClock));
  DrawSprite(game.engine, game.BonusTexture,
             {.at = {game.BonusX, game.BonusY},
              .size = {16, 16},
              .angle = angle,
              .opacity = NearestInt16(game.BonusFade)});
  static const std::string kNoLetter;
  const size_t type = static_cast<size_t>(game.BonusType);
  const std::string& letter =
      type < game.BonusTypes.size() ? game.BonusTypes[type].Letter : kNoLetter;
  game.engine.DrawText("smalltext", game.BonusX, game.BonusY + 2, 16, 16, letter, -1, 1);
}

int ShipImage(float health) {
  int image = 0;
  if (health >= 90) image = 10;
  if (health < 90) image = 9;
  if (health < 50) image = 8;
  if (health < 20) image = 7;
  if (health <= 0) image = 0;
  return image;
}

// Bars are 0.32 pixels per health point, at most 32 (the width of a ship or an enemy); a bar of
// zero or negative width is passed on as it is and shows nothing.
float BarWidth(float health) {
  return std::min(static_cast<float>(Nearest(0.32 * health)), 32.0f);
}

void DrawShip(Game& game) {
  Engine& engine = game.engine;
  const int image = ShipImage(game.PlayerHealth);
  HoldShipPresence(game);
  const int16_t opacity = NearestInt16(game.PlayerFade);
  DrawSprite(engine, game.PlayerTextures[image],
             {.at = {game.PlayerX, game.PlayerY}, .size = {32, 32}, .opacity = opacity});

  if (BonusInEffect(game, Bonus::J)) {
    engine.SetColor(33, 222, 33);
    const double a = 45.0 * game.AnimClock;
    const float x = static_cast<float>(game.PlayerX + std::sin(a));
    const float y = static_cast<float>(game.PlayerY + std::cos(a));
    const int16_t haloOpacity = NearestInt16(game.PlayerFade / 1.5);
    const float drawnWidth = static_cast<float>(32 + 2 * std::sin(a));
    const float drawnHeight = static_cast<float>(32 - 2 * std::cos(a));
    DrawSprite(engine, game.PlayerTextures[0],
               {.at = {x, y},
                .size = {32, 32},
                .opacity = haloOpacity,
                .drawnSize = {drawnWidth, drawnHeight}});
    Untint(engine);
  }

  // The health bar under the ship, on a black backing at half the ship's opacity.
  const float barY = game.PlayerY + 32;
  engine.SetColor(0, 0, 0);
  DrawSprite(
      engine, game.HealthBarTexture,
      {.at = {game.PlayerX, barY}, .size = {32, 3}, .opacity = static_cast<int16_t>(opacity / 2)});
  Untint(engine);
  DrawSprite(
      engine, game.HealthBarTexture,
      {.at = {game.PlayerX, barY}, .size = {BarWidth(game.PlayerHealth), 3}, .opacity = opacity});
}

int EnemyImage(float health) {
  int image = std::max<int>(FloorInt16(health / 10.0), 2);
  if (health <= 0) image = 1;
  if (health > 100) image = 10;
  return image;
}

void DrawEnemies(Game& game) {
  Engine& engine = game.engine;
  const bool bands = !game.BonusTypes.empty() && game.BonusTypes[Bonus::A].Active;
  const size_t count = game.Enemies.size();
  for (size_t i = 0; i < count; ++i) {
    const Enemy& enemy = game.Enemies[i];
    // Every tint whose condition holds is set; the last one wins.
    engine.SetColor(222, 33, 33);
    if (enemy.Infected) engine.SetColor(33, 200, 33);
    if (enemy.Ally) engine.SetColor(255, 255, 255);
    if (i == static_cast<size_t>(kEdgeRunner)) engine.SetColor(255, 237, 95);

    // Absent enemies are drawn too, at an opacity that shows nothing.
    const Texture& texture = game.EnemyTextures[EnemyImage(enemy.Health)];
    DrawSprite(engine, texture,
               {.at = {enemy.X, enemy.Y}, .size = {32, 32}, .opacity = NearestInt16(enemy.Fade)});
    if (bands) {
      const int16_t faint = NearestInt16(enemy.Fade / 10.0);
      DrawSprite(engine, texture,
                 {.at = {0, enemy.Y}, .size = {32, 32}, .opacity = faint, .drawnSize = {640, 32}});
      DrawSprite(engine, texture,
                 {.at = {enemy.X, 0}, .size = {32, 32}, .opacity = faint, .drawnSize = {32, 480}});
    }
    Untint(engine);

    // The bar shows at full opacity whatever the enemy's presence.
    Untint(engine);
    DrawSprite(engine, game.HealthBarTexture,
               {.at = {enemy.X, enemy.Y + 30}, .size = {BarWidth(enemy.Health), 2}});
  }
}

}  // namespace

void DrawGame(Game& game) {
  game.engine.BeginFrame(0, 0, 0);
  DrawBackground(game);
  DrawShots(game);
  DrawBonusItem(game);
  DrawShip(game);
  DrawEnemies(game);
  DrawHud(game);
  if (game.Paused) DrawPauseOverlay(game);
  game.engine.EndFrame();
}
