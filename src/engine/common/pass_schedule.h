// The schedule of the main loop's passes, the same on every backend with a window: 60 passes a
// second from a fixed start, whatever the display's refresh rate. Pass k is due at
// start + k / 60 s, computed from the start each time, so rounding never adds up to a drift.
// After each pass the backend asks the schedule: a pass that is due (or nearly) runs at once, so
// a late one is caught up by passes back to back; otherwise the backend waits its own way (the
// desktop sleeps, the browser gives the page its turn) until it is. Far behind (a hidden page,
// loading, a dragged window), the schedule starts afresh instead of replaying the missed passes
// as a burst.
#pragma once

#include <cstdint>

class PassSchedule {
 public:
  // Times are nanoseconds on a steady clock.
  static constexpr int64_t kSecond = 1'000'000'000;
  static constexpr int64_t kPassesPerSecond = 60;
  // A pass may start this much before it is due: a display refresh just before the due time
  // counts, so a 60 Hz display whose refreshes fall just ahead of the schedule does not miss
  // every other one.
  static constexpr int64_t kEarly = 4'000'000;
  // Further behind than this, the schedule restarts.
  static constexpr int64_t kMaxLag = kSecond / 4;
  // Passes run back to back at most this many times before the backend waits anyway.
  static constexpr int kMaxCatchUp = 8;

  // A pass has ended at `now`. True when the next one runs at once (it is due and the passes
  // back to back are not yet too many); false when the backend is to wait until Due().
  bool PassDone(int64_t now);
  // Whether the next pass may start at `now`.
  bool Due(int64_t now) const { return now + kEarly >= NextDue(); }
  int64_t NextDue() const;
  // The game was held (a message box): the next pass starts a fresh schedule instead of catching
  // up the time it was held.
  void Restart() { started_ = false; }

  // After a pass: returns when the next one may start. `now()` reads the clock; `wait(due)`
  // waits the backend's way, at most until `due` or until something happens (a refresh); it is
  // called again until the pass is due.
  template <class Now, class Wait>
  void AwaitNextPass(Now now, Wait wait) {
    if (PassDone(now())) return;
    do {
      wait(NextDue());
    } while (!Due(now()));
  }

 private:
  bool started_ = false;
  int64_t start_ = 0;
  int64_t passes_ = 0;
  int backToBack_ = 0;
};
