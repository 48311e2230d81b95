// The bridge between the browser backend and the page around the game (web/pre.js, web/page.js):
// giving the browser its turn, the status the page shows to tests, the player's saved files,
// downloads and messages. The only place of the backend that speaks JavaScript.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What the page's status says of the game (window.swayfireStatus()).
struct PageStatus {
  enum Mode { Loading = 0, Splash = 1, Menu = 2, Game = 3, Ended = 4, Replay = 5 };
  Mode mode = Loading;
  int menuSelection = 0;
  bool paused = false;
  int score = 0;
  int level = 0;
  // While a replay is watched: the passes played and recorded, and the first pass whose state
  // differed from the recording (-1: none so far).
  int64_t replayPass = 0;
  int64_t replayPasses = 0;
  int64_t replayDiffers = -1;
};

// A replay the page asks to watch: a file of the player's replays, or one opened or dropped.
struct WatchRequest {
  std::string name;
  std::string text;
};

class WebPage {
 public:
  // Where the status comes from; asked each time the browser gets its turn.
  void SetStatusSource(std::function<PageStatus()> source) { source_ = std::move(source); }
  void CountPass() { ++passes_; }
  int64_t Passes() const { return passes_; }
  // Tells the page what the game shows now.
  void Publish();

  // Gives the browser its turn until its next display refresh (requestAnimationFrame) but no
  // longer than `latest` milliseconds; Sleep for about `milliseconds`. The game's own code waits
  // meanwhile (ASYNCIFY).
  void WaitForRefresh(double latest);
  void Sleep(uint32_t milliseconds);
  // performance.now(), in milliseconds.
  static double Now();
  // How many display refreshes the browser has made so far.
  static int Refreshes();

  // The keyboard and focus events queued since the last call, one a line (see web/pre.js).
  static std::string TakeEvents();
  // Writes the player's files back to browser storage soon (after the writes of this pass).
  static void SaveSoon();
  // Offers the bytes as a download under the name.
  static void Download(const std::string& name, const void* data, size_t size,
                       const std::string& type);
  static void SetTitle(const std::string& title);
  // The replay the page's Replays part asked to watch since the last call, if any.
  static bool TakeWatchRequest(WatchRequest& request);
  // The page lists the replays kept in storage again (one was written).
  static void ReplaysChanged();
  // A replay the page asked for cannot be watched: why, shown in the Replays part.
  static void ReplayRefused(const std::string& why);
  // The game could not save its scores (for the rest of this visit): the page says once that
  // scores cannot be kept, and why, and the status says so.
  static void StorageFailed(const std::string& why);
  // Anything else the game tells the player: a line on the page, and the console.
  static void Notice(const std::string& title, const std::string& text);
  // The game is over: the page's status says so, and its message too when it ended normally (a
  // fatal error keeps its own message). Fatal shows such an error.
  void Ended(bool normally);
  static void Fatal(const std::string& message);

 private:
  std::function<PageStatus()> source_;
  int64_t passes_ = 0;
};
