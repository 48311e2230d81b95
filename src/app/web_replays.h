// Replays in the page: the page's Replays part asks for a replay to watch (one of the player's,
// or a file opened or dropped on the page); the game takes the request at its next pass, reads
// the replay and, when it can be played, ends what runs (the menu, or a replay being watched)
// the way a closed window does, so that the replay can be watched in its place. A player's game
// is never ended for one: during a game the request is refused, with why.
#pragma once

#include <functional>
#include <string>

#include "replay/forwarding.h"
#include "replay/replay_file.h"

class PageReplayRequests : public ForwardingPlatform {
 public:
  // `inGame`: whether the player is in a game now.
  PageReplayRequests(Platform& inner, std::function<bool()> inGame)
      : ForwardingPlatform(inner), inGame_(std::move(inGame)) {}

  void SetCloseHandler(std::function<void(int16_t& cancel)> handler) override;
  void BeginPass() override;

  // Takes a request of the page, if there is one: true when it holds a replay to watch now
  // (then the running game has been asked to end), false when there was none or it was refused.
  bool Take();
  // The replay asked for, and the name the page knows it by (taken once).
  bool Pending() const { return pending_; }
  Replay TakeReplay(std::string& name);

 private:
  std::function<bool()> inGame_;
  std::function<void(int16_t& cancel)> close_;
  bool pending_ = false;
  Replay replay_;
  std::string name_;
};
