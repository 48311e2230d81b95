#include "engine/common/pass_schedule.h"

int64_t PassSchedule::NextDue() const {
  return start_ + passes_ * kSecond / kPassesPerSecond;
}

bool PassSchedule::PassDone(int64_t now) {
  if (!started_) {
    started_ = true;
    start_ = now;
    passes_ = 0;
    backToBack_ = 0;
  }
  ++passes_;
  if (passes_ > kPassesPerSecond) {  // a whole second is exact: move the start, keep numbers small
    start_ += kSecond;
    passes_ -= kPassesPerSecond;
  }
  if (now - NextDue() > kMaxLag) {
    start_ = now;
    passes_ = 1;  // the next pass one interval from now
  }
  if (Due(now) && backToBack_ < kMaxCatchUp) {
    ++backToBack_;
    return true;
  }
  backToBack_ = 0;
  return false;
}
