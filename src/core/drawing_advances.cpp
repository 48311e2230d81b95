#include "core/drawing_advances.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kExitCaptions[] = {
    "EXIT GAME", "GET OUT!", "GO AWAY!", "EXIT TO REAL LIFE", "BYE BYE", "LET ME OUT!",
};

}  // namespace

bool AdvanceBonusFade(Game& game) {
  if (game.BonusFade < 100 && game.BonusVisible) game.BonusFade = game.BonusFade + 1;
  if (game.BonusFade > 0 && !game.BonusVisible) game.BonusFade = game.BonusFade - 10;
  return game.BonusFade > 0;
}

void HoldShipPresence(Game& game) {
  if (BonusInEffect(game, Bonus::X)) game.PlayerFade = 40;
}

bool AdvanceLogoFade(Game& game) {
  if (!(game.LogoFade < 100)) return false;
  game.LogoFade += 1;
  return true;
}

void ChooseExitCaption(Game& game) {
  game.Rnd.ReseedFromTime(game.platform.TimeOfDay());
  float r = game.Rnd.Next();
  int k = std::clamp(static_cast<int>(std::floor(6.0 * r)), 0, 5);
  game.ExitCaption = kExitCaptions[k];
}
