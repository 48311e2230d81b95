#include <string>

#include "render/drawing.h"
#include "shell/shell.h"

namespace {

struct SoundFile {
  const char* name;
  const char* file;
};

// Registration order matters to no one but the trace; "fire" and "fire2" share one file.
constexpr SoundFile kSounds[] = {
    {"menu_opt", "files\\menu_opt.wav"}, {"enter", "files\\enter.wav"},
    {"hs", "files\\hs_name.wav"},        {"won", "files\\won.wav"},
    {"fire", "files\\fire.wav"},         {"fire2", "files\\fire.wav"},
    {"bonus", "files\\bonus.wav"},       {"hit_01", "files\\hit_01.wav"},
    {"hit_02", "files\\hit_02.wav"},     {"hit_03", "files\\hit_03.wav"},
    {"hit_04", "files\\hit_04.wav"},     {"hit_05", "files\\hit_05.wav"},
    {"ai_die", "files\\ai_die.wav"},
};

constexpr uint32_t kSplashMilliseconds = 2000;
// The splash wait sleeps this long between two looks at the window, so it stays responsive
// without keeping a core busy.
constexpr uint32_t kSplashNap = 10;

}  // namespace

void LoadTextures(Game& game) {
  Engine& engine = game.engine;
  engine.LoadTexture(game.LogoTexture, "files\\logo.jpg", 0);
  DrawSprite(engine, game.LogoTexture, {.size = {640.0f, 480.0f}});
  game.platform.DoEvents();
  engine.EndFrame();

  engine.LoadTexture(game.BlueFontTexture, "files\\Font_Blue.bmp", 0xFF00FF);
  engine.LoadTexture(game.FontTexture, "files\\font_default.dds", 0);
  engine.LoadTexture(game.BackgroundTexture, "files\\background.bmp", 0);
  for (int i : {10, 9, 8, 7, 0}) {
    engine.LoadTexture(game.PlayerTextures[i], "files\\player_" + std::to_string(i) + ".bmp", 0);
  }
  for (int i = 1; i <= 10; ++i) {
    engine.LoadTexture(game.EnemyTextures[i], "files\\ai_" + std::to_string(i) + ".bmp", 0);
  }
  engine.LoadTexture(game.BonusTexture, "files\\bonus.bmp", 0);
  engine.LoadTexture(game.MenuBackgroundTexture, "files\\mainmenu_background.bmp", 0);
  engine.LoadTexture(game.ArrowTexture, "files\\arrow.dds", 0);
  engine.LoadTexture(game.TitleTexture, "files\\menu-gametitle.dds", 0);
  engine.LoadTexture(game.KeysFireTexture, "files\\keys-fire.dds", 0);
  engine.LoadTexture(game.KeysMoveTexture, "files\\keys-move.dds", 0);
  engine.LoadTexture(game.HealthBarTexture, "files\\hpbar.dds", 0);
}

void CreateFonts(Game& game) {
  game.engine.CreateFont("smalltext", "Verdana", 7, 0, 0);
  game.engine.CreateFont("score", "Tahoma", 14, 0, 0);
  game.engine.CreateFont("xl", "Tahoma", 72, 0, 0);
}

void LoadSounds(Game& game) {
  if (game.utility.ReadIni("OPTIONS", "SND", "opt.ini", 0) == "True") {
    for (const SoundFile& sound : kSounds) game.engine.LoadSound(sound.name, sound.file);
    game.musicPlayer.Load("files\\music.wma", 0);
    game.musicPlayer.Play(-1);
    game.musicPlayer.SetVolume(90);
  }

  // Hold the splash for two seconds, looking after the window meanwhile.
  Platform& platform = game.platform;
  const uint32_t start = platform.GetTickCount();
  while (platform.GetTickCount() - start <= kSplashMilliseconds) {
    platform.DoEvents();
    if (platform.WindowUnloaded()) return;
    platform.Sleep(kSplashNap);
  }
}

void ReleaseTextures(Game& game) {
  for (Texture* texture :
       {&game.FontTexture, &game.BlueFontTexture, &game.BackgroundTexture, &game.BonusTexture,
        &game.MenuBackgroundTexture, &game.LogoTexture, &game.ArrowTexture, &game.TitleTexture,
        &game.KeysFireTexture, &game.KeysMoveTexture, &game.HealthBarTexture}) {
    texture->reset();
  }
  for (Texture& texture : game.PlayerTextures) texture.reset();
  for (Texture& texture : game.EnemyTextures) texture.reset();
}
