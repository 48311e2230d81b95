#include <algorithm>
#include <cctype>

#include "gameplay/gameplay.h"
#include "menu/menu.h"
#include "render/render.h"
#include "shell/shell.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

void StartUp(Game& game) {
  Platform& platform = game.platform;
  platform.SetCloseHandler([&game](int16_t& cancel) { Form_Unload(game, cancel); });

  const std::string appFolder = platform.AppFolder();
  bool fullScreen =
      Lower(game.utility.ReadIni("OPTIONS", "FS", appFolder + "\\opt.ini", 0)) == "true";
  game.engine.Initialize(platform.MainWindow(), appFolder, 640.0f, 480.0f, fullScreen, 0, 0, -1);
  game.utility.Setup(49);
  platform.SetCaption(platform.ExeName() + " " + std::to_string(platform.VersionMajor()) + "." +
                      std::to_string(platform.VersionMinor()));

  LoadTextures(game);
  if (platform.WindowUnloaded()) return;
  CreateFonts(game);
  LoadSounds(game);
  if (platform.WindowUnloaded()) return;

  ReadScores(game);
  game.NewLevelBest.fill(false);
  game.Running = true;
}

void ShutDown(Game& game) {
  ReleaseTextures(game);
  game.engine.Shutdown();
  game.platform.UnloadWindow();
}

void RunPass(Game& game) {
  // The clocks: sums formed in double precision, stored as single.
  game.AnimClock = static_cast<float>(static_cast<double>(game.AnimClock) + 1.0 / 1000.0);
  if (game.AnimClock > 360.0f) game.AnimClock = 0;
  game.SurvivalClock = static_cast<float>(static_cast<double>(game.SurvivalClock) + 1.0 / 50.0);

  // The music starts again when it has played to its end.
  int32_t position = game.musicPlayer.GetPosition();
  int32_t length = game.musicPlayer.GetLength();
  if (position >= length) game.musicPlayer.Play(-1);

  if (game.GameMode.empty()) {
    DrawMenu(game);
    HandleMenuInput(game);
  } else if (game.GameMode == "game") {
    HandleGameKeys(game);
    if (!game.Paused) {
      UpdatePlayer(game);
      UpdateEnemies(game);
      ProcessShots(game, false, 0, 0, 0, 0, false, kPlayerOwner);
      UpdateBonus(game);
    }
    DrawGame(game);
  }
}

void Form_Unload(Game& game, int16_t& Cancel) {
  if (game.Running) {
    Cancel = 1;
    game.Running = false;
  }
}

int Main(Game& game) {
  try {
    StartUp(game);
    while (game.Running) {
      game.platform.BeginPass();
      RunPass(game);
    }
    ShutDown(game);
    return 0;
  } catch (const EngineError& error) {
    game.platform.ReportFatal(error.what());
    return 1;
  }
}
