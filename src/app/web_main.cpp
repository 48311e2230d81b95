// swayfire in the browser: the same game over the browser backend. Its own files are packed at
// /data (swayfire.data); the player's options and scores live in /save, kept in browser storage
// (web/pre.js reads it before the game starts).
#include <cstdio>
#include <exception>

#include "core/game.h"
#include "engine/web/saving_utility.h"
#include "engine/web/web_audio.h"
#include "engine/web/web_engine.h"
#include "engine/web/web_input.h"
#include "engine/web/web_music.h"
#include "engine/web/web_page.h"
#include "engine/web/web_platform.h"
#include "io/folders.h"
#include "io/ini_utility.h"
#include "io/paths.h"
#include "shell/shell.h"

namespace {

// What the page's status shows: the game is in its splash until the loop runs.
PageStatus StatusOf(const Game& game) {
  PageStatus status;
  if (!game.Running) {
    status.mode = PageStatus::Splash;
  } else {
    status.mode = game.GameMode == "game" ? PageStatus::Game : PageStatus::Menu;
  }
  status.menuSelection = game.MenuSelection;
  status.paused = game.Paused;
  status.score = game.Score;
  status.level = game.Level;
  return status;
}

}  // namespace

int main() {
  WebPage page;
  int status = 1;
  try {
    const Folders folders{"/save", "/data", false};
    // A first visit gets the default options: a window, sound on.
    const std::string problem = PrepareUserFolder(folders);
    if (!problem.empty()) std::fprintf(stderr, "swayfire: warning: %s\n", problem.c_str());
    WebPage::SaveSoon();

    Paths paths(folders.app, folders.data);
    WebInput input;
    WebAudio audio;
    WebEngine engine(page, input, audio, paths, "#screen", "/fonts/text.ttf");
    WebMusicPlayer music(audio, paths);
    WebPlatform platform(page, input, audio, paths.AppFolder());
    IniUtility files(paths);
    files.TellPlayerThrough(platform);
    SavingUtility utility(files);
    Game game(engine, utility, music, platform);
    page.SetStatusSource([&game] { return StatusOf(game); });
    status = Main(game);
    page.SetStatusSource(nullptr);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "swayfire: error: %s\n", error.what());
    WebPage::Fatal(error.what());
  }
  WebPage::SaveSoon();
  page.Ended(status == 0);
  return status;
}
