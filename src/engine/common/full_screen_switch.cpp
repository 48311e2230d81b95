#include "engine/common/full_screen_switch.h"

void FullScreenSwitch::Press(bool fullScreen) {
  wanted_ = !wanted_.value_or(fullScreen);
}

std::optional<bool> FullScreenSwitch::Due(bool fullScreen, int64_t now) {
  if (!wanted_) return std::nullopt;
  if (*wanted_ == fullScreen) {
    wanted_.reset();
    return std::nullopt;
  }
  if (lastSwitch_ && now - *lastSwitch_ < kSettleMilliseconds) return std::nullopt;
  return wanted_;
}

void FullScreenSwitch::Switched(int64_t now) {
  lastSwitch_ = now;
  wanted_.reset();
}
