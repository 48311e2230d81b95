// Closing the game's window, the same on every backend (the game calls it unloading frmMain): a
// close request asks the game's close handler, which may cancel it; a window once closed stays
// closed. Our own code calls every step of it "close".
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

class CloseRequest {
 public:
  void SetHandler(std::function<void(int16_t& cancel)> handler) { handler_ = std::move(handler); }

  // A close request: true when the window closes now (it was still open and the handler did not
  // cancel), after which it counts as closed.
  bool Request() {
    if (closed_) return false;
    int16_t cancel = 0;
    if (handler_) handler_(cancel);
    closed_ = cancel == 0;
    return closed_;
  }
  bool Closed() const { return closed_; }

 private:
  std::function<void(int16_t& cancel)> handler_;
  bool closed_ = false;
};
