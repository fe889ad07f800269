#include "map/RedrawClock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace viamappa {
namespace {

TEST(RedrawClockTest, FullRedrawsWithinFiveSecondsAreFast) {
  using namespace std::chrono_literals;
  RedrawClock clock;
  const auto t0 = RedrawClock::Clock::time_point{} + 100s;
  EXPECT_FALSE(clock.BeginFullRedraw(false, t0));  // none before
  clock.EndFullRedraw(t0);
  EXPECT_TRUE(clock.BeginFullRedraw(false, t0 + 4999ms));
  EXPECT_TRUE(clock.last_was_fast());
  EXPECT_FALSE(clock.BeginFullRedraw(false, t0 + 5000ms));
  EXPECT_FALSE(clock.BeginFullRedraw(true, t0 + 1ms));
}

}  // namespace
}  // namespace viamappa
