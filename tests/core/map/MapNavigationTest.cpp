// The navigation over the viewport: keys, drags and the previous view.
#include "map/MapNavigation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/map/MapTestViews.h"
#include "map/CommandIds.h"

namespace viamappa {
namespace {

using test::kOneUnitPixels;

const Box kData = Box::Of(1000, 2000, 9000, 8000);

class MapNavigationTest : public ::testing::Test {
 protected:
  MapNavigationTest() : view_(kOneUnitPixels, {1.0, 3000, 4000}), nav_(view_) {
    view_.SetClientSize(800, 600);
    Paint();
  }

  // What the window's paint does to the viewport.
  void Paint() {
    if (!view_.full_redraw) return;
    view_.full_quality = false;
    view_.UpdateExtent();
    view_.EndFullRedraw();
  }

  NavigationOutcome Run(int id) {
    NavigationOutcome outcome = nav_.Command(id, kData);
    if (outcome.repaint) Paint();
    return outcome;
  }

  Point Centre() const { return {(view_.x0() + view_.x1()) / 2, (view_.y0() + view_.y1()) / 2}; }

  Viewport view_;
  MapNavigation nav_;
};

TEST_F(MapNavigationTest, PageKeysZoomAroundTheCentreAndMoveKeysShiftByTheWindow) {
  ASSERT_EQ(view_.denominator(), 10000);
  const Point centre = Centre();
  Run(cmd::kZoomInTwice);
  Run(cmd::kZoomInTwice);
  EXPECT_EQ(view_.denominator(), 2500);
  EXPECT_EQ(Centre(), centre);
  Run(cmd::kZoomOutFourTimes);
  EXPECT_DOUBLE_EQ(view_.resolution(), 1.0);

  // The window is 800 m wide and 600 m high.
  const struct {
    int id;
    double east, north;
  } moves[] = {{cmd::kMoveWest, -100, 0},
               {cmd::kMoveEastFar, 600, 0},
               {cmd::kMoveNorthFar, 0, 450},
               {cmd::kMoveSouthEast, 100, -75}};
  for (const auto& move : moves) {
    const SavedMapView before = view_.Saved();
    EXPECT_TRUE(nav_.Command(move.id, kData).repaint) << move.id;
    EXPECT_TRUE(view_.full_redraw) << move.id;
    EXPECT_DOUBLE_EQ(view_.x0() - before.origin_x, move.east) << move.id;
    EXPECT_DOUBLE_EQ(view_.y0() - before.origin_y, move.north) << move.id;
    Paint();
  }
  EXPECT_FALSE(nav_.Command(cmd::kToponymSearch, kData).handled) << "not the navigation's";
}

TEST_F(MapNavigationTest, KeysLeaveOneFullQualityRedrawForTheNextPointerMovement) {
  EXPECT_FALSE(nav_.TakePendingQualityRedraw());
  Run(cmd::kMoveEast);
  EXPECT_TRUE(nav_.TakePendingQualityRedraw());
  EXPECT_TRUE(view_.full_redraw && view_.full_quality);
  Paint();
  EXPECT_FALSE(nav_.TakePendingQualityRedraw()) << "once";
}

TEST_F(MapNavigationTest, PreviousViewWalksBackThroughTheHistory) {
  const SavedMapView start = view_.Saved();
  Run(cmd::kMoveEast);
  const SavedMapView moved = view_.Saved();
  Run(cmd::kZoomInTwice);
  Run(cmd::kMoveNorthFar);
  Run(cmd::kPreviousView);
  Run(cmd::kPreviousView);
  EXPECT_EQ(view_.Saved(), moved);
  const NavigationOutcome back = Run(cmd::kPreviousView);
  EXPECT_EQ(view_.Saved(), start);
  EXPECT_EQ(back.panes[StatusPane::Prompt], "Nord= 4000.00        Est= 3000.00");
  EXPECT_FALSE(Run(cmd::kPreviousView).repaint) << "nothing older";
  EXPECT_EQ(view_.Saved(), start);
}

TEST_F(MapNavigationTest, ZoomDragStepsOnEachMovementAndKeepsTheCentre) {
  const Point centre = Centre();
  EXPECT_EQ(nav_.LeftButtonDown().pointer, PointerShape::Zoom);
  EXPECT_FALSE(nav_.PointerMoved(400, 300, true, kData).repaint) << "the first movement is the anchor";
  EXPECT_TRUE(nav_.PointerMoved(400, 290, true, kData).repaint);
  EXPECT_NEAR(view_.resolution(), std::pow(1 / 1.075, 10), 1e-12);
  EXPECT_EQ(nav_.anchor(), (PixelPoint{-1, -1})) << "the next movement starts a new step";
  Paint();
  EXPECT_NEAR(Centre().x, centre.x, 1e-9);
  EXPECT_NEAR(Centre().y, centre.y, 1e-9);
}

// A drag only previews; the release moves the view, unless the pointer came back to the anchor, where a
// view drawn fast is still drawn again in full.
TEST_F(MapNavigationTest, PanDragMovesOnlyOnReleaseAwayFromTheAnchor) {
  Run(cmd::kPan);
  const SavedMapView before = view_.Saved();
  nav_.LeftButtonDown();
  nav_.PointerMoved(100, 100, true, kData);
  const NavigationOutcome drag = nav_.PointerMoved(150, 80, true, kData);
  EXPECT_EQ(drag.pan_shift, (PixelPoint{50, -20}));
  EXPECT_FALSE(drag.repaint || view_.full_redraw);
  nav_.LeftButtonUp(100, 100, false);
  EXPECT_EQ(view_.Saved(), before);
  EXPECT_FALSE(view_.full_redraw);
  nav_.PointerMoved(200, 200, true, kData);
  nav_.LeftButtonUp(200, 200, true);
  EXPECT_EQ(view_.Saved(), before);
  EXPECT_TRUE(view_.full_redraw && view_.full_quality);
  Paint();

  nav_.PointerMoved(100, 100, true, kData);
  const NavigationOutcome up = nav_.LeftButtonUp(160, 70, false);
  EXPECT_EQ(view_.x0(), 2940) << "dragging east shows what lies west";
  EXPECT_EQ(view_.y0(), 3970) << "dragging north shows what lies south";
  EXPECT_TRUE(up.repaint && up.end_previews);
}

TEST_F(MapNavigationTest, AreaSelectionErasesTheOldBandAndFillsTheWindowWithTheRectangle) {
  Run(cmd::kAreaSelection);
  nav_.PointerMoved(100, 100, true, kData);
  nav_.PointerMoved(150, 250, true, kData);
  const NavigationOutcome moved = nav_.PointerMoved(90, 300, true, kData);
  EXPECT_EQ(moved.erase_band, (WindowRect{90, 90, 160, 260})) << "the old band widened by 10";
  EXPECT_EQ(moved.draw_band, (WindowRect{90, 100, 100, 300}));
  // 50 wide and 200 high: the height fills the 600 pixels.
  nav_.LeftButtonUp(150, 300, false);
  EXPECT_DOUBLE_EQ(view_.resolution(), 1.0 / 3);
  EXPECT_DOUBLE_EQ(view_.x0(), 3100);
  EXPECT_DOUBLE_EQ(view_.y0(), 4300);
}

}  // namespace
}  // namespace viamappa
