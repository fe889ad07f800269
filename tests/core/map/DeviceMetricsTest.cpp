#include "map/DeviceMetrics.h"

#include <gtest/gtest.h>

#include "map/Viewport.h"

namespace viamappa {
namespace {

TEST(DeviceMetricsTest, PixelsToScreenUnitsRound) {
  const DeviceMetrics screen(2540.0 / 96.0);  // 26.458 hundredths a pixel
  EXPECT_EQ(screen.PixelsToScreenUnits(1), 3) << "26 hundredths: 2 units, remainder 6 adds one";
  EXPECT_EQ(screen.PixelsToScreenUnits(2), 5) << "53 hundredths: 5 units, remainder 3";
  EXPECT_EQ(screen.PixelsToScreenUnits(-1), -2) << "a negative remainder never adds";
  Viewport view(screen, {2.0, 1000, 2000});
  view.SetClientSize(400, 300);
  EXPECT_EQ(view.PixelToWorld(0, 300), (Point{1000, 2000}));
  EXPECT_EQ(view.PixelToWorld(0, 299), (Point{1000, 2006}));
}

}  // namespace
}  // namespace viamappa
