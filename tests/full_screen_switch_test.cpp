// F11 and Alt+Enter pressed faster than the display switches: one switch at a time, spaced, to
// the mode the last press asked for.
#include "engine/common/full_screen_switch.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

constexpr int64_t kSettle = FullScreenSwitch::kSettleMilliseconds;

// A window that takes every switch it is asked for, each in `cost` milliseconds; notes when each
// began.
struct Window {
  FullScreenSwitch presses;
  bool full = false;
  int64_t cost = 0;
  std::vector<int64_t> switches;

  void Press(int times) {
    for (int i = 0; i < times; ++i) presses.Press(full);
  }
  // One pump at `now`: the switch that is due, if any. Returns when the pump ends.
  int64_t Pump(int64_t now) {
    if (const std::optional<bool> wanted = presses.Due(full, now)) {
      full = *wanted;
      switches.push_back(now);
      now += cost;
      presses.Switched(now);
    }
    return now;
  }
};

}  // namespace

TEST(FullScreenSwitchTest, NothingPressedNothingSwitched) {
  Window window;
  window.Pump(0);
  window.Pump(10'000);
  EXPECT_EQ(window.switches.size(), 0u);
  EXPECT_FALSE(window.presses.Waiting());
}

TEST(FullScreenSwitchTest, APressSwitchesAtOnceAndAgainOnlyAfterTheLastSettled) {
  Window window;
  window.Press(1);
  window.Pump(1000);
  EXPECT_TRUE(window.full);
  EXPECT_EQ(window.switches.size(), 1u);

  window.Press(1);  // too soon: only noted
  window.Pump(1000 + kSettle - 1);
  EXPECT_TRUE(window.full);
  EXPECT_TRUE(window.presses.Waiting());
  window.Pump(1000 + kSettle);
  EXPECT_FALSE(window.full);
  EXPECT_EQ(window.switches.size(), 2u);
  EXPECT_FALSE(window.presses.Waiting());
}

TEST(FullScreenSwitchTest, AnEvenBurstEndsWhereItStartedWithoutASwitch) {
  Window window;
  window.Press(300);
  window.Pump(0);
  EXPECT_FALSE(window.full);
  EXPECT_EQ(window.switches.size(), 0u);
  EXPECT_FALSE(window.presses.Waiting());  // the wish the window fulfils is forgotten
}

TEST(FullScreenSwitchTest, PressesDuringASlowSwitchAreOneWishAndTheLastOneWins) {
  // 300 presses, one every 10 ms, read by a pump every 16 ms; a switch holds its pump for 100 ms,
  // as an X server does.
  Window window;
  window.cost = 100;
  int64_t now = 0;
  for (int press = 0; press < 300 || now < 3000 + kSettle; now = window.Pump(now) + 16) {
    for (; press < 300 && press * 10 <= now; ++press) window.Press(1);
  }
  EXPECT_FALSE(window.full);  // an even number of presses
  EXPECT_FALSE(window.presses.Waiting());
  ASSERT_GE(window.switches.size(), 2u);
  for (size_t i = 1; i < window.switches.size(); ++i) {
    EXPECT_GE(window.switches[i] - window.switches[i - 1], window.cost + kSettle) << i;
  }

  window.Press(3);  // an odd number: full screen in the end
  for (int i = 0; i < 100; ++i) now = window.Pump(now) + 16;
  EXPECT_TRUE(window.full);
}

TEST(FullScreenSwitchTest, APressFollowsAModeTheWindowTookByItself) {
  // The window manager put the window in full screen (its own key, a maximise): F11 leaves it.
  Window window;
  window.full = true;
  window.Press(1);
  window.Pump(0);
  EXPECT_FALSE(window.full);
  EXPECT_EQ(window.switches.size(), 1u);
}

TEST(FullScreenSwitchTest, ASwitchTheDisplayRefusedIsNotTriedAgainAndAgain) {
  FullScreenSwitch presses;
  presses.Press(false);
  ASSERT_EQ(presses.Due(false, 0), std::optional<bool>(true));
  presses.Switched(100);  // the window stayed as it was
  EXPECT_EQ(presses.Due(false, 100 + kSettle), std::nullopt);
  EXPECT_FALSE(presses.Waiting());
}
