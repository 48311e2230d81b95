#include <string>

#include "core/numbers.h"
#include "render/drawing.h"
#include "render/render.h"

namespace {

// One row of the bonus list in the top-left corner: the timed bonuses, each "|" standing for 50
// passes of its time.
struct BonusRow {
  int type;
  const char* letter;
  float y;
};
constexpr BonusRow kBonusRows[] = {
    {Bonus::A, "A ", 25}, {Bonus::C, "C ", 40},  {Bonus::D, "D ", 55},  {Bonus::E, "E ", 70},
    {Bonus::F, "F ", 85}, {Bonus::G, "G ", 100}, {Bonus::X, "X ", 115}, {Bonus::J, "J ", 130},
};
constexpr int kPassesPerBar = 50;

constexpr int32_t kWhite = -1;

// The texts fade when the ship flies under them, so they never hide it.
int32_t WhiteText(bool shipUnder) {
  return shipUnder ? packColor(30, 255, 255, 255) : kWhite;
}
int32_t RedText(bool shipUnder) {
  return shipUnder ? packColor(50, 255, 55, 55) : packColor(250, 255, 55, 55);
}

}  // namespace

std::string BarString(int16_t n) {
  std::string bars;
  if (n > 0) bars.assign(static_cast<size_t>(n), '|');
  return bars;
}

void DrawHud(Game& game) {
  Engine& engine = game.engine;
  const float x = game.PlayerX;
  const float y = game.PlayerY;

  // The score shown includes the health the ship still has; the game adds it at the end too.
  const float shownScore = static_cast<float>(game.Score) + game.PlayerHealth;
  std::string& room = game.TextRoom;
  engine.DrawText("score", 4, 2, 150, 30, Compose(room, "SCORE: ", FormatSingle(shownScore)),
                  WhiteText(x < 150 && y < 35), 0);
  engine.DrawText("score", 4, 456, 150, 30,
                  Compose(room, "HEALTH: ", FormatSingle(game.PlayerHealth)),
                  WhiteText(x < 150 && y > 420), 0);
  if (!game.SurvivalMode) {
    engine.DrawText("score", 4, 2, 630, 30,
                    Compose(room, std::to_string(game.EnemiesLeft), " ENEMIES LEFT"),
                    RedText(x > 400 && y < 50), 2);
  }

  for (const BonusRow& row : kBonusRows) {
    const int16_t bars =
        static_cast<int16_t>(NearestInt16(BonusTime(game, row.type)) / kPassesPerBar);
    room.assign(row.letter);
    if (bars > 0) room.append(static_cast<size_t>(bars), '|');  // as BarString(bars)
    engine.DrawText("smalltext", 3, row.y, 250, 15, room, kWhite, 0);
  }
  // The bonuses in effect travel with the ship, centred under it.
  room.clear();
  for (const BonusRow& row : kBonusRows) {
    if (BonusTime(game, row.type) > 0) room += row.letter;
  }
  engine.DrawText("smalltext", x - 16, y + 33, 64, 15, room, kWhite, 1);
}

void DrawPauseOverlay(Game& game) {
  Engine& engine = game.engine;
  // One pixel of enemy image 10 stretched over the whole screen, light blue at half opacity.
  engine.SetColor(155, 155, 255);
  DrawSprite(engine, game.EnemyTextures[10],
             {.size = {1, 1}, .opacity = 50, .drawnSize = {640, 480}});
  Untint(engine);
  engine.DrawText("xl", 0, 180, 640, 200, "PAUSED", kWhite, 1);
}
