// The layout of the progress display.
#include "app/ProgressLayout.h"

#include <gtest/gtest.h>

#include <utility>

namespace viamappa {
namespace {

TEST(ProgressLayoutTest, ClockShowsMinutesModuloSixtyAndSeconds) {
  const std::pair<long long, const char*> cases[] = {
      {0, "00:00"}, {75, "01:15"}, {59 * 60 + 59, "59:59"}, {61 * 60, "01:00"}, {100LL * 3600 + 5, "00:05"},
      {-3, "00:00"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(BusyClockText(seconds), text) << seconds;
}

TEST(ProgressLayoutTest, BannerSitsAboveTheBarAndCentresOrStartsAtTheLeft) {
  EXPECT_EQ(ProgressBarRect(800, 600), (PixelRect{0, 580, 800, 20}));
  const PhaseBannerPlace centred = PhaseBannerLayout(800, 600, 200, 16);
  EXPECT_EQ(centred.band, (PixelRect{0, 553, 800, 26}));  // bottom at 600 - 21
  EXPECT_EQ(centred.text_x, 300);
  EXPECT_EQ(centred.text_y, 558);
  EXPECT_EQ(PhaseBannerLayout(801, 600, 200, 16).text_x, 300);
  EXPECT_EQ(PhaseBannerLayout(800, 600, 800, 16).text_x, 0);
  EXPECT_EQ(PhaseBannerLayout(300, 600, 301, 16).text_x, 0);  // wider than the client
}

TEST(ProgressLayoutTest, PixelSizeFromTheScreenResolution) {
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(254), 10.0);
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(0), 2540.0 / 96);  // no resolution reported
}

}  // namespace
}  // namespace viamappa
