#include "engine/sdl/frame_pacer.h"

int64_t FramePacer::NextDeadline(int64_t now) {
  if (!started_) {
    started_ = true;
    start_ = now;
    frame_ = 0;
  }
  ++frame_;
  if (frame_ > kFramesPerSecond) {  // a whole second is exact: move the start, keep numbers small
    start_ += kSecond;
    frame_ -= kFramesPerSecond;
  }
  int64_t deadline = start_ + frame_ * kSecond / kFramesPerSecond;
  if (now - deadline > kMaxLag) {
    start_ = now;
    frame_ = 0;
    return now;
  }
  return deadline;
}
