// Holds the passes of the main loop at 60 a second on a steady schedule: frame k is due at
// start + k / 60 s, computed from the start each time, so rounding never accumulates into drift.
// A frame that comes late is not waited for, and the next ones catch up; after a long stall
// (loading, a dragged window) the schedule starts afresh instead of racing to catch up.
#pragma once

#include <cstdint>

class FramePacer {
 public:
  static constexpr int64_t kSecond = 1'000'000'000;  // nanoseconds
  static constexpr int64_t kFramesPerSecond = 60;
  // Further behind than this, the schedule restarts.
  static constexpr int64_t kMaxLag = kSecond / 10;

  // Called once a frame has been shown, with the steady time now (nanoseconds). Returns the time
  // to wait until before the next pass begins; a time at or before `now` means no wait.
  int64_t NextDeadline(int64_t now);
  // The game was held (a message box): the next frame starts a fresh schedule instead of catching
  // up the time it was held.
  void Restart() { started_ = false; }

 private:
  bool started_ = false;
  int64_t start_ = 0;
  int64_t frame_ = 0;
};
