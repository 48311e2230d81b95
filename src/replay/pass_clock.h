// The time of day a recorded game reads. Dozens of readings a pass (the background sways with
// the clock) would not fit a small file, so while a game is recorded or played back the game
// reads one clock that moves 1/60 s a pass from a reading of the wall clock (an anchor), the
// pace the window keeps anyway. When the wall clock drifts more than a tenth of a second from
// it (a stall, a held window), the clock takes a new anchor, which the replay keeps.
#pragma once

#include <cmath>
#include <cstdint>

class PassClock {
 public:
  static constexpr double kLargestDrift = 0.1;

  void Anchor(double timeOfDay, int64_t pass) {
    anchor_ = timeOfDay;
    anchorPass_ = pass;
    set_ = true;
  }
  bool IsSet() const { return set_; }
  // Plain IEEE arithmetic on doubles: the same bits on every platform.
  double At(int64_t pass) const { return anchor_ + static_cast<double>(pass - anchorPass_) / 60.0; }
  bool Drifted(double wallClock, int64_t pass) const {
    return !set_ || !(std::fabs(wallClock - At(pass)) <= kLargestDrift);
  }

 private:
  double anchor_ = 0;
  int64_t anchorPass_ = 0;
  bool set_ = false;
};
