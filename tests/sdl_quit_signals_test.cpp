// SIGTERM and SIGINT end the desktop game even when its main loop is stuck in a call that does not
// return (a display that does not answer): SDL's quit event would wait for a pump that never comes.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "engine/sdl/sdl_backend.h"
#include "engine/sdl/sdl_platform.h"

namespace {

// In a child process: SDL started, then the signals, then a main loop stuck for `stuck`.
[[noreturn]] void SignalAStuckGame(std::initializer_list<int> signals,
                                   std::chrono::milliseconds stuck) {
  UseOffscreenSdl();
  SdlSystem system;
  if (!system.Ok()) std::_Exit(3);
  for (int signal : signals) std::raise(signal);
  std::this_thread::sleep_for(stuck);
  std::_Exit(0);
}

}  // namespace

TEST(SdlQuitSignalsTest, AStuckGameEndsBySigtermASecondLater) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(SignalAStuckGame({SIGTERM}, std::chrono::seconds(10)),
              ::testing::KilledBySignal(SIGTERM), "");
}

TEST(SdlQuitSignalsTest, ASecondSignalEndsAStuckGameAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Well before the second's deadline.
  EXPECT_EXIT(SignalAStuckGame({SIGINT, SIGINT}, std::chrono::milliseconds(300)),
              ::testing::KilledBySignal(SIGINT), "");
}
