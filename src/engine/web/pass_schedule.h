// The browser's schedule of main-loop passes: 60 a second from a fixed start, whatever the
// display's refresh rate. Pass k is due at start + k / 60 s. After each pass the engine asks
// whether the next one is due: if so it runs at once (a late display refresh is caught up),
// otherwise the browser gets its turn until it is. Far behind (a hidden tab, a stall), the
// schedule starts afresh rather than replaying the missed passes as a burst.
#pragma once

#include <cstdint>

class PassSchedule {
 public:
  static constexpr double kInterval = 1000.0 / 60.0;  // milliseconds
  // A pass may start this much before it is due: the display refresh nearest to it, so that a
  // 60 Hz display whose refreshes fall just before the due times does not miss every other one.
  static constexpr double kEarly = 4.0;
  // Further behind than this, the schedule restarts.
  static constexpr double kMaxLag = 250.0;
  // Passes run back to back at most this many times before the browser gets its turn anyway.
  static constexpr int kMaxCatchUp = 8;

  // A pass has ended at `now` (milliseconds).
  void PassDone(double now) {
    if (!started_) {
      started_ = true;
      start_ = now;
      passes_ = 0;
    }
    ++passes_;
    if (now - NextDue() > kMaxLag) {
      start_ = now;
      passes_ = 1;  // the next pass one interval from now
    }
  }
  // Whether the next pass may start at `now`.
  bool Due(double now) const { return now + kEarly >= NextDue(); }
  double NextDue() const { return start_ + static_cast<double>(passes_) * kInterval; }

 private:
  bool started_ = false;
  double start_ = 0;
  int64_t passes_ = 0;
};
