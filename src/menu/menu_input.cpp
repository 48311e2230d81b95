#include "menu/menu.h"

#include "core/score_file.h"
#include "gameplay/gameplay.h"

namespace {

// The last number of a menu click tells what kind it is.
constexpr int16_t kMoveClick = 44;
constexpr int16_t kAcceptedClick = 66;
constexpr int16_t kRefusedClick = 11;

void Click(Game& game, int16_t kind) {
  game.engine.PlaySound("menu_opt", 0, 100, 0, kind);
}

void StartGame(Game& game, bool survival) {
  game.SurvivalMode = survival;
  // A level game can be asked for on the very first menu pass, before the start level has been
  // brought to 1; it must never start at level 0.
  if (!survival && game.Level < 1) game.Level = 1;
  NewGame(game);
  game.engine.PlaySound("enter", 0, 100, 0, 0);
}

// Up and Down, with the cursor wrapping around the three entries. After a game the menu ignores
// them for its first 49 passes, so keys still held from the game do not wander the cursor.
void MoveCursor(Game& game) {
  if (game.MenuDelay > 0) {
    --game.MenuDelay;
    if (game.MenuDelay > 0) return;
  }
  Engine& engine = game.engine;
  if (engine.IsKeyHit(Key::Down)) {
    ++game.MenuSelection;
    Click(game, kMoveClick);
  }
  if (engine.IsKeyHit(Key::Up)) {
    --game.MenuSelection;
    Click(game, kMoveClick);
  }
  if (game.MenuSelection > kExitEntry) game.MenuSelection = kSurvivalEntry;
  if (game.MenuSelection < kSurvivalEntry) game.MenuSelection = kExitEntry;
}

// Space or Enter: start the selected game, or leave. Both keys are read on every pass so that a
// press of either is used up even when the other one acts.
void Activate(Game& game) {
  bool space = game.engine.IsKeyHit(Key::Space);
  bool enter = game.engine.IsKeyHit(Key::Enter);
  if (!space && !enter) return;
  if (game.MenuSelection == kSurvivalEntry) {
    StartGame(game, true);
  } else if (game.MenuSelection == kLevelEntry) {
    StartGame(game, false);
  } else if (game.MenuSelection == kExitEntry) {
    game.Running = false;
  }
}

// Left and Right on the level entry. A step past either end sounds the refusal; it is undone
// by the bounds below in the same pass.
void ChooseLevel(Game& game) {
  if (game.MenuDelay > 0 || game.MenuSelection != kLevelEntry) return;
  Engine& engine = game.engine;
  if (engine.IsKeyHit(Key::Left)) {
    --game.Level;
    Click(game, game.Level >= 1 ? kAcceptedClick : kRefusedClick);
  }
  if (engine.IsKeyHit(Key::Right)) {
    ++game.Level;
    Click(game, game.Level > game.HighestLevel ? kRefusedClick : kAcceptedClick);
  }
}

// R held with E pressed clears the record of the selected entry, in memory and in the file.
void ResetRecord(Game& game) {
  bool held = game.engine.IsKeyDown(Key::R);
  bool pressed = game.engine.IsKeyHit(Key::E);
  if (!held || !pressed) return;
  if (game.MenuSelection == kSurvivalEntry) {
    ResetBestScore(game);
    Click(game, kMoveClick);
  } else if (game.MenuSelection == kLevelEntry) {
    ResetLevelBest(game, game.Level);
    Click(game, kMoveClick);
  }
}

}  // namespace

void HandleMenuInput(Game& game) {
  game.musicPlayer.SetVolume(95);
  MoveCursor(game);
  Activate(game);
  ChooseLevel(game);

  if (game.Level < 1) game.Level = 1;
  // The highest start level on offer comes from the score file on the first menu pass. A missing
  // or unreadable value means 1, and it never goes beyond the 100 levels the records can hold.
  if (game.HighestLevel == 0) {
    game.HighestLevel = ReadHighestLevel(game);
  }
  if (game.Level > game.HighestLevel) game.Level = game.HighestLevel;

  // Escape only moves the cursor to the exit entry.
  if (game.engine.IsKeyHit(Key::Escape)) {
    game.MenuSelection = kExitEntry;
    Click(game, kMoveClick);
  }
  ResetRecord(game);
  if (game.engine.IsKeyHit(Key::T)) game.engine.TakeScreenshot();
}
