// Switching between a window and full screen (F11, Alt+Enter) on a display that may be slow about
// it: an X server holds the program for a tenth of a second or more over each switch. So presses
// that come faster than that are not each a switch. A press only flips the mode the player wants;
// the window makes at most one switch at a time, and none sooner than kSettleMilliseconds after
// the last one ended; then it switches to the mode wanted by then. The last press wins: an even
// number of presses in a burst leaves the window as it was.
#pragma once

#include <cstdint>
#include <optional>

class FullScreenSwitch {
 public:
  static constexpr int64_t kSettleMilliseconds = 300;

  // F11 or Alt+Enter, while the window is in full screen (`fullScreen`) or not.
  void Press(bool fullScreen);
  // Asked once a pump, with the window's mode and the time in milliseconds: the mode to switch to
  // now, if a switch is due. A wish the window already fulfils is forgotten.
  std::optional<bool> Due(bool fullScreen, int64_t now);
  // The switch that Due asked for has ended at `now` (whether the display made it or not).
  void Switched(int64_t now);
  // A press is waiting for its switch.
  bool Waiting() const { return wanted_.has_value(); }

 private:
  std::optional<bool> wanted_;
  std::optional<int64_t> lastSwitch_;
};
