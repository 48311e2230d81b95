// Closing the game's window, the same on every backend: the game's close handler may cancel a
// request; a window once closed stays closed.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

class CloseRequest {
 public:
  void SetHandler(std::function<void(int16_t& cancel)> handler) { handler_ = std::move(handler); }

  // Asks the handler about closing: true when the window is to close now (it is still open and
  // the handler did not cancel).
  bool Ask() const {
    if (closed_) return false;
    int16_t cancel = 0;
    if (handler_) handler_(cancel);
    return cancel == 0;
  }
  void MarkClosed() { closed_ = true; }
  bool Closed() const { return closed_; }

 private:
  std::function<void(int16_t& cancel)> handler_;
  bool closed_ = false;
};
