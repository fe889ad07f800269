// The busy clock's text and the size of a pixel, at their edges.
#include "app/ProgressLayout.h"

#include <gtest/gtest.h>

#include <utility>

namespace viamappa {
namespace {

TEST(ProgressLayoutTest, TheClockWrapsAtAnHourAndAMissingResolutionIsTakenAsNinetySix) {
  const std::pair<long long, const char*> cases[] = {
      {75, "01:15"}, {59 * 60 + 59, "59:59"}, {61 * 60, "01:00"}, {100LL * 3600 + 5, "00:05"}, {-3, "00:00"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(BusyClockText(seconds), text) << seconds;
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(254), 10.0);
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(0), 2540.0 / 96);
}

}  // namespace
}  // namespace viamappa
