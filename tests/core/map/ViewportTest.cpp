#include "map/Viewport.h"

#include <gtest/gtest.h>

#include <limits>

namespace viamappa {
namespace {

// 10 hundredths of a millimetre a pixel: one pixel is one screen unit, easy to follow.
const DeviceMetrics kOneUnitPixels(10.0);

Viewport ViewOf(double r, double x0, double y0, int w = 800, int h = 600) {
  Viewport view(kOneUnitPixels, {r, x0, y0});
  view.SetClientSize(w, h);
  return view;
}

TEST(ViewportTest, ScaleDenominatorArithmetic) {
  EXPECT_EQ(ScaleDenominator(1.0), 10000);
  EXPECT_EQ(ScaleDenominator(0.5), 5000);
  EXPECT_EQ(ScaleDenominator(0.3), 2999) << "2999.9999999999995 truncates";
  EXPECT_EQ(ScaleDenominator(1e300), std::numeric_limits<std::int32_t>::max()) << "no overflow";
  EXPECT_EQ(ScaleDenominator(kMinimumResolution), 0);
  EXPECT_EQ(ScaleText(2999), "Scala 1:2999");
  EXPECT_EQ(PositionText(651234.5, 5112345.678), "Nord=5112345.68        Est=651234.50");
  EXPECT_EQ(PositionText(1, 2), "Nord=    2.00        Est=    1.00");
}

TEST(ViewportTest, PixelsToScreenUnitsRound) {
  const DeviceMetrics screen(2540.0 / 96.0);  // 26.458 hundredths a pixel
  EXPECT_EQ(screen.PixelsToScreenUnits(1), 3) << "26 hundredths: 2 units, remainder 6 adds one";
  EXPECT_EQ(screen.PixelsToScreenUnits(2), 5) << "53 hundredths: 5 units, remainder 3";
  EXPECT_EQ(screen.PixelsToScreenUnits(-1), -2) << "a negative remainder never adds";
  Viewport view(screen, {2.0, 1000, 2000});
  view.SetClientSize(400, 300);
  EXPECT_EQ(view.PixelToWorld(0, 300), (Point{1000, 2000}));
  EXPECT_EQ(view.PixelToWorld(0, 299), (Point{1000, 2006}));
}

TEST(ViewportTest, WorldAndWindowMeetBothWays) {
  Viewport view = ViewOf(2.0, 1000, 2000);
  const Point world = view.PixelToWorld(100, 500);
  EXPECT_EQ(world, (Point{1200, 2200}));
  const Point pixel = view.WorldToPixel(world.x, world.y);
  EXPECT_DOUBLE_EQ(pixel.x, 100);
  EXPECT_DOUBLE_EQ(pixel.y, 500);
  view.UpdateExtent();
  EXPECT_EQ(view.Visible(), Box::Of(1000, 2000, 2600, 3200));
}

TEST(ViewportTest, MovesKeepWhatTheyShouldKeep) {
  Viewport view = ViewOf(1.0, 0, 0);
  view.CentreOn(5000, 7000);
  EXPECT_EQ(view.x0(), 4600);
  EXPECT_EQ(view.y0(), 6700);
  view.ZoomSteps(0, 3);
  EXPECT_NEAR(view.resolution(), 1.075 * 1.075 * 1.075, 1e-12);
  EXPECT_NEAR(view.x0() + 400 * view.resolution(), 5000, 1e-6) << "the centre stays";
  view.ZoomSteps(3, 0);
  EXPECT_NEAR(view.resolution(), 1.0, 1e-12);
  view.PanByPixels(100, 100, 150, 80);  // dragging right and up shows west and south
  EXPECT_NEAR(view.x0(), 4550, 1e-6);
  EXPECT_NEAR(view.y0(), 6680, 1e-6);
  view.PanByPixels(-1, -1, 500, 500);
  EXPECT_NEAR(view.x0(), 4550, 1e-6);

  Viewport zoom = ViewOf(1.0, 0, 0);
  zoom.ZoomToPixelRect(100, 400, 300, 500);  // 200 x 100 pixels of 800 x 600
  EXPECT_DOUBLE_EQ(zoom.x0(), 100);
  EXPECT_DOUBLE_EQ(zoom.y0(), 100);
  EXPECT_DOUBLE_EQ(zoom.resolution(), 0.25) << "the narrower ratio wins so the whole rectangle shows";
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
  const Box extent = Box::Of(1000, 1000, 9000, 9000);
  Viewport stored = ViewOf(0.5, 2000, 3000);
  stored.ApplyStartupView(extent);
  EXPECT_EQ(stored.x0(), 2000);
  EXPECT_EQ(stored.resolution(), 0.5);
  Viewport west = ViewOf(0.5, 999, 3000);
  west.ApplyStartupView(extent);
  EXPECT_EQ(west.x0(), 1000) << "one metre west of the data: the home view";
  Viewport fresh = ViewOf(1.0, 2000, 3000);
  fresh.ApplyStartupView(extent);
  EXPECT_EQ(fresh.x0(), 1000) << "the default resolution means no stored view";
}

TEST(ViewportTest, TheHistoryKeepsTheLastSixtyFourViews) {
  Viewport view = ViewOf(1.0, 0, 0);
  view.EndFullRedraw();
  view.EndFullRedraw();
  EXPECT_EQ(view.history().size(), 1) << "the same view is not recorded twice";
  for (int i = 1; i < 70; ++i) {
    view.CentreOn(1000.0 * i, 0);
    view.EndFullRedraw();
  }
  EXPECT_EQ(view.history().size(), 64);
  for (int i = 0; i < 63; ++i) {
    ASSERT_TRUE(view.PreviousView()) << i;
    view.EndFullRedraw();  // the redraw of a view gone back to is not recorded
  }
  EXPECT_NEAR(view.x0() + 400, 6000, 1e-6) << "the oldest view kept";
  EXPECT_FALSE(view.PreviousView());
}

}  // namespace
}  // namespace viamappa
