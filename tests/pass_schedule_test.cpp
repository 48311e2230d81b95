// The pass schedule both windowed backends keep (engine/common/pass_schedule.h), driven through
// the same AwaitNextPass they call: the desktop's wait sleeps until the pass is due, the browser's
// lasts until the display's next refresh.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "engine/common/pass_schedule.h"

namespace {

constexpr int64_t kMs = 1'000'000;  // nanoseconds

// The desktop: each pass takes the work given for it, then the engine sleeps until the next one
// is due. Returns the times the passes began.
std::vector<int64_t> DesktopPasses(PassSchedule& schedule, int64_t& now,
                                   const std::vector<int64_t>& work) {
  std::vector<int64_t> starts;
  for (int64_t took : work) {
    starts.push_back(now);
    now += took;
    schedule.AwaitNextPass([&now] { return now; },
                           [&now](int64_t due) { now = std::max(now, due); });
  }
  return starts;
}

// The browser: the passes due at each display refresh (given in milliseconds) run back to back,
// and the engine waits for the next refresh. Returns the times the passes ran, in milliseconds.
std::vector<double> BrowserPasses(const std::vector<double>& refreshes) {
  PassSchedule schedule;
  std::vector<double> passes;
  auto at = [](double ms) { return static_cast<int64_t>(std::llround(ms * kMs)); };
  int64_t now = at(refreshes.front());
  size_t next = 1;
  while (next <= refreshes.size()) {
    passes.push_back(static_cast<double>(now) / kMs);
    schedule.AwaitNextPass([&now] { return now; },
                           [&](int64_t) {
                             // After the last refresh time stands still no more: the loop ends.
                             now = next < refreshes.size()
                                       ? at(refreshes[next])
                                       : std::numeric_limits<int64_t>::max() / 2;
                             ++next;
                           });
  }
  return passes;
}

std::vector<double> Refreshes(double hertz, double seconds, double phase = 0) {
  std::vector<double> times;
  for (double t = phase; t < seconds * 1000; t += 1000.0 / hertz) times.push_back(t);
  return times;
}

size_t PassesWithin(const std::vector<double>& passes, double from, double to) {
  size_t count = 0;
  for (double t : passes) count += t >= from && t < to;
  return count;
}

}  // namespace

TEST(DesktopPasses, SixtyASecondWithoutDrift) {
  PassSchedule schedule;
  int64_t now = 5'000'000'000;
  // Passes of 3 ms each: the schedule starts when the first has ended, and pass k begins exactly
  // k / 60 s after that, ten seconds for 600.
  const std::vector<int64_t> starts =
      DesktopPasses(schedule, now, std::vector<int64_t>(601, 3 * kMs));
  const int64_t origin = starts[0] + 3 * kMs;
  for (size_t k = 1; k < starts.size(); ++k) {
    ASSERT_EQ(starts[k], origin + static_cast<int64_t>(k) * PassSchedule::kSecond / 60) << k;
  }
  EXPECT_EQ(starts[600], origin + 10 * PassSchedule::kSecond);
}

TEST(DesktopPasses, LatePassesCatchUpAndLongStallsOrHeldGamesRestart) {
  PassSchedule schedule;
  int64_t now = 0;
  // The schedule starts when the first pass has ended. The third pass takes 40 ms: the next one
  // runs at once, and then they keep to the schedule again.
  std::vector<int64_t> starts = DesktopPasses(schedule, now, {kMs, kMs, 40 * kMs, kMs, kMs, kMs});
  const int64_t origin = kMs;
  EXPECT_EQ(starts[2], origin + 2 * PassSchedule::kSecond / 60);
  EXPECT_EQ(starts[4], starts[3] + kMs) << "behind: no wait";
  EXPECT_EQ(starts[5], origin + 5 * PassSchedule::kSecond / 60);

  // Half a second of loading: the schedule starts afresh instead of rushing 30 passes.
  const int64_t loadingEnds = now + PassSchedule::kSecond / 2;
  starts = DesktopPasses(schedule, now, {PassSchedule::kSecond / 2, kMs, kMs});
  EXPECT_EQ(starts[1], loadingEnds + PassSchedule::kSecond / 60);
  EXPECT_EQ(starts[2], loadingEnds + 2 * PassSchedule::kSecond / 60);

  // A message box held the game for 80 ms, too short to count as a stall: once it is closed the
  // schedule starts afresh from the next pass, so the passes go on at their pace instead of
  // rushing five.
  now += 80 * kMs;
  schedule.Restart();
  starts = DesktopPasses(schedule, now, {kMs, kMs, kMs});
  const int64_t afresh = starts[0] + kMs;
  EXPECT_EQ(starts[1], afresh + PassSchedule::kSecond / 60);
  EXPECT_EQ(starts[2], afresh + 2 * PassSchedule::kSecond / 60);
}

TEST(BrowserPasses, SixtyASecondWhateverTheDisplay) {
  for (double hertz : {60.0, 59.94, 75.0, 120.0, 144.0, 240.0}) {
    const std::vector<double> passes = BrowserPasses(Refreshes(hertz, 11));
    // Ten seconds after the first, 600 passes, give or take the one at the edge.
    EXPECT_NEAR(PassesWithin(passes, 1000, 11000), 600.0 * (hertz < 60 ? hertz / 60 : 1), 2)
        << hertz << " Hz";
  }
}

TEST(BrowserPasses, ASixtyHertzDisplayJustAheadOfTheScheduleRunsOnePassAFrame) {
  // Each refresh comes 1 ms before its pass is due: every refresh runs exactly one pass, none is
  // skipped and none runs two.
  std::vector<double> refreshes;
  for (int k = 0; k < 600; ++k) refreshes.push_back(k * 1000.0 / 60 - (k > 0 ? 1.0 : 0.0));
  const std::vector<double> passes = BrowserPasses(refreshes);
  std::map<double, int> perRefresh;
  for (double pass : passes) ++perRefresh[pass];
  EXPECT_EQ(perRefresh.size(), refreshes.size());
  for (const auto& [time, count] : perRefresh) EXPECT_EQ(count, 1) << "at " << time << " ms";
}

TEST(BrowserPasses, LateRefreshesAreCaughtUpAndALongStallIsNotReplayedAsABurst) {
  // A browser that refreshes 50 times a second with now and then a 66 ms gap, as headless
  // Chromium does: the missed passes run at the next refresh.
  std::vector<double> refreshes;
  double t = 0;
  for (int k = 0; t < 11000; ++k) {
    refreshes.push_back(t);
    t += k % 25 == 24 ? 66.7 : 18.7;
  }
  EXPECT_NEAR(PassesWithin(BrowserPasses(refreshes), 1000, 11000), 600, 3);

  // Refreshes stop for two seconds (a hidden tab): afterwards the passes do not try to make up
  // the 120 passes missed, and the game goes on at 60 a second.
  refreshes = Refreshes(60, 3);
  for (double r : Refreshes(60, 8, 5000.5)) refreshes.push_back(r);
  const std::vector<double> passes = BrowserPasses(refreshes);
  std::map<double, int> perRefresh;
  for (double pass : passes) ++perRefresh[pass];
  for (const auto& [time, count] : perRefresh) EXPECT_LE(count, 2) << "at " << time << " ms";
  EXPECT_NEAR(PassesWithin(passes, 6000, 8000), 120, 2);
}
