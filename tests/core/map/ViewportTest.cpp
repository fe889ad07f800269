#include "map/Viewport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <tuple>

#include "core/map/MapTestViews.h"

namespace viamappa {
namespace {

using test::ViewOf;

TEST(ViewportTest, ScaleDenominatorArithmetic) {
  EXPECT_EQ(ScaleDenominator(1.0), 10000);
  EXPECT_EQ(ScaleDenominator(0.5), 5000);
  EXPECT_EQ(ScaleDenominator(0.3), 2999) << "2999.9999999999995 truncates";
  EXPECT_EQ(ScaleDenominator(1e300), std::numeric_limits<std::int32_t>::max()) << "no overflow";
  EXPECT_EQ(ScaleDenominator(kMinimumResolution), 0);
}

TEST(ViewportTest, MovesStopAtTheirLimits) {
  Viewport view = ViewOf(1.0, 4550, 0);
  view.PanByPixels(-1, -1, 500, 500);  // no anchor
  EXPECT_EQ(view.x0(), 4550);

  Viewport zoom = ViewOf(1.0, 0, 0);
  zoom.ZoomToPixelRect(10, 10, 10, 10);
  EXPECT_GE(zoom.resolution(), kMinimumResolution) << "a click is no infinite zoom";
  for (int i = 0; i < 400; ++i) zoom.ZoomSteps(1, 0);
  EXPECT_EQ(zoom.resolution(), kMinimumResolution);

  // A resize keeps the lower-left corner.
  Viewport resized = ViewOf(1.0, 300, 400);
  resized.SetClientSize(1000, 200);
  EXPECT_EQ(resized.PixelToWorld(0, 200), (Point{300, 400}));
}

TEST(ViewportTest, HomeFitsTheExtentAndLeavesAnEmptyOneAlone) {
  Viewport view = ViewOf(1.0, 0, 0);
  EXPECT_FALSE(view.Home(Box()));
  EXPECT_EQ(view.resolution(), 1.0);
  EXPECT_TRUE(view.Home(Box::Of(1000, 2000, 5000, 2600)));
  EXPECT_DOUBLE_EQ(view.resolution(), 5.0) << "4000 m over 800 units beats 600 m over 600";
  EXPECT_EQ(view.x0(), 1000);
  EXPECT_EQ(view.y0(), 2000);
  EXPECT_TRUE(view.Home(Box::Of(7000, 7000, 7000, 7000)));
  EXPECT_DOUBLE_EQ(view.resolution(), 5.0) << "a single point keeps the resolution";
  EXPECT_NEAR(view.x0() + 400 * 5.0, 7000, 1e-9);
}

TEST(ViewportTest, TheStartUpViewTakesTheStoredOneOnlyInsideTheData) {
  // One metre west of the data gives the home view, and so does the default resolution (no stored view).
  const std::tuple<double, double, double> cases[] = {{0.5, 2000, 2000}, {0.5, 999, 1000}, {1.0, 2000, 1000}};
  for (const auto& [r, x0, shown_x0] : cases) {
    Viewport view = ViewOf(r, x0, 3000);
    view.ApplyStartupView(Box::Of(1000, 1000, 9000, 9000));
    EXPECT_EQ(view.x0(), shown_x0) << r << " " << x0;
  }
}

}  // namespace
}  // namespace viamappa
