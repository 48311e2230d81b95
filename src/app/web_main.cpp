// swayfire in the browser: the same game over the browser backend. Its own files are packed at
// /data (swayfire.data); the player's options, scores and replays live in /save, kept in browser
// storage (web/saves.js reads it before the game starts). Every game played is recorded; the
// page's Replays part can ask for a replay to be watched, in the game's place, after which the
// game starts afresh.
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>

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
#include "replay/recorder.h"
#include "replay/replay_store.h"
#include "replay/watch.h"
#include "shell/shell.h"
#include "web_replays.h"

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

// A replay the page asked for, read and ready to watch.
struct Watch {
  std::string name;
  Replay replay;
};

// What stays for the whole visit; each game and each replay watched gets a window (the page) and
// a music player of its own, so that nothing of one is left to the next.
struct Page {
  WebPage& page;
  WebInput& input;
  WebAudio& audio;
  WebEngine& engine;
  Paths& paths;
  IniUtility& files;
  SavingUtility& utility;
  const ReplayStore& store;
  std::optional<Watch> next;

  void TakeRequest(PageReplayRequests& requests) {
    if (!requests.Pending()) return;
    Watch watch;
    watch.replay = requests.TakeReplay(watch.name);
    next = std::move(watch);
  }
};

// The game, from its splash until the player leaves it from the menu or the page asks for a
// replay. Every game played is recorded and kept in storage. Returns the exit status.
int PlayGame(Page& p) {
  WebPlatform platform(p.page, p.input, p.audio, p.paths.AppFolder());
  WebMusicPlayer music(p.audio, p.paths);
  const Game* current = nullptr;
  PageReplayRequests requests(platform,
                              [&current] { return current && current->GameMode == "game"; });
  p.files.TellPlayerThrough(platform);
  GameRecorder recorder(p.engine, p.utility, requests,
                        [&p](const Replay& game, const std::string& recordKey) {
                          p.store.Keep(game, recordKey);
                          WebPage::SaveSoon();
                          WebPage::ReplaysChanged();
                        });
  Game game(recorder.engine(), recorder.utility(), music, recorder.platform());
  current = &game;
  recorder.Attach(game);
  p.page.SetStatusSource([&game] { return StatusOf(game); });
  const int status = Main(game);
  p.page.SetStatusSource(nullptr);
  p.TakeRequest(requests);
  return status;
}

// A replay watched in the page, as `swayfire --replay` does in a window; the page's status says
// how far it has played. Writes nothing to storage. False when the engine failed.
bool WatchInPage(Page& p, Watch watch) {
  WebPlatform platform(p.page, p.input, p.audio, p.paths.AppFolder());
  WebMusicPlayer music(p.audio, p.paths);
  PageReplayRequests requests(platform, [] { return false; });
  p.files.TellPlayerThrough(platform);
  ReplayPlayback playback(p.engine, p.utility, requests, std::move(watch.replay), true);
  Game game(playback.engine(), playback.utility(), music, playback.platform());
  p.page.SetStatusSource([&game, &playback] {
    PageStatus status = StatusOf(game);
    status.mode = PageStatus::Replay;
    status.replayPass = playback.Pass();
    status.replayPasses = playback.replay().passes;
    status.replayDiffers = playback.FirstDifference();
    return status;
  });
  bool ok = true;
  try {
    WatchReplay(game, playback, p.engine, requests, watch.name, std::cout, std::cerr);
  } catch (const EngineError& error) {
    platform.ReportFatal(error.what());
    ok = false;
  }
  p.page.SetStatusSource(nullptr);
  p.TakeRequest(requests);
  return ok;
}

// After the player has left the game the page stays: a replay may still be watched.
void AwaitReplay(Page& p) {
  WebPlatform platform(p.page, p.input, p.audio, p.paths.AppFolder());
  PageReplayRequests requests(platform, [] { return false; });
  p.page.SetStatusSource([] {
    PageStatus status;
    status.mode = PageStatus::Ended;
    return status;
  });
  while (!requests.Take()) p.page.Sleep(100);
  p.page.SetStatusSource(nullptr);
  p.TakeRequest(requests);
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
    IniUtility files(paths);
    SavingUtility utility(files);
    const ReplayStore store(folders.app + "/files");
    Page p{page, input, audio, engine, paths, files, utility, store, std::nullopt};
    WebPage::ReplaysChanged();
    for (;;) {
      if (p.next) {
        Watch watch = std::move(*p.next);
        p.next.reset();
        if (!WatchInPage(p, std::move(watch))) {
          status = 1;
          break;
        }
        continue;
      }
      status = PlayGame(p);
      if (p.next) continue;
      if (status != 0) break;
      page.Ended(true);
      AwaitReplay(p);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "swayfire: error: %s\n", error.what());
    WebPage::Fatal(error.what());
  }
  WebPage::SaveSoon();
  page.Ended(false);
  return status;
}
