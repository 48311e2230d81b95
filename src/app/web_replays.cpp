#include "web_replays.h"

#include "engine/web/web_page.h"
#include "replay/version.h"

void PageReplayRequests::SetCloseHandler(std::function<void(int16_t& cancel)> handler) {
  close_ = handler;
  inner_.SetCloseHandler(std::move(handler));
}

void PageReplayRequests::BeginPass() {
  inner_.BeginPass();
  if (Take() && close_) {
    int16_t cancel = 0;
    close_(cancel);
  }
}

bool PageReplayRequests::Take() {
  WatchRequest request;
  if (!WebPage::TakeWatchRequest(request)) return false;
  if (inGame_ && inGame_()) {
    WebPage::ReplayRefused(
        "A replay can be watched from the menu: leave your game first (Escape).");
    return false;
  }
  try {
    replay_ = ReadReplay(request.text, ReplayGameVersion());
  } catch (const ReplayError& problem) {
    WebPage::ReplayRefused(request.name + ": " + problem.what());
    return false;
  }
  name_ = request.name;
  pending_ = true;
  return true;
}

Replay PageReplayRequests::TakeReplay(std::string& name) {
  pending_ = false;
  name = name_;
  return std::move(replay_);
}
