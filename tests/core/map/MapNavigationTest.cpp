#include "map/MapNavigation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/CommandIds.h"

namespace viamappa {
namespace {

// One pixel is one screen unit; an 800 x 600 window at r = 1 shows 1:10000.
const DeviceMetrics kOneUnitPixels(10.0);
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

TEST_F(MapNavigationTest, PageKeysZoomAroundTheCentre) {
  ASSERT_EQ(view_.denominator(), 10000);
  const Point centre = Centre();
  Run(cmd::kZoomInTwice);
  Run(cmd::kZoomInTwice);
  EXPECT_EQ(view_.denominator(), 2500);
  EXPECT_EQ(Centre(), centre);
  Run(cmd::kZoomOutFourTimes);
  EXPECT_DOUBLE_EQ(view_.resolution(), 1.0);
  Run(cmd::kZoomInFourTimes);
  Run(cmd::kZoomOutTwice);
  EXPECT_DOUBLE_EQ(view_.resolution(), 0.5);
  EXPECT_EQ(Centre(), centre);
}

TEST_F(MapNavigationTest, MoveKeysShiftByAnEighthOrThreeQuartersOfTheWindow) {
  struct Case {
    int id;
    double east;  // metres, with a window 800 m wide and 600 m high
    double north;
  };
  const Case cases[] = {
      {cmd::kMoveWest, -100, 0},      {cmd::kMoveWestFar, -600, 0},     {cmd::kMoveEast, 100, 0},
      {cmd::kMoveEastFar, 600, 0},    {cmd::kMoveNorth, 0, 75},         {cmd::kMoveNorthFar, 0, 450},
      {cmd::kMoveSouth, 0, -75},      {cmd::kMoveSouthFar, 0, -450},    {cmd::kMoveNorthWest, -100, 75},
      {cmd::kMoveNorthEast, 100, 75}, {cmd::kMoveSouthWest, -100, -75}, {cmd::kMoveSouthEast, 100, -75}};
  for (const Case& c : cases) {
    const double x0 = view_.x0();
    const double y0 = view_.y0();
    const NavigationOutcome outcome = nav_.Command(c.id, kData);
    EXPECT_TRUE(outcome.handled && outcome.repaint) << c.id;
    EXPECT_TRUE(view_.full_redraw) << c.id;
    EXPECT_DOUBLE_EQ(view_.x0() - x0, c.east) << c.id;
    EXPECT_DOUBLE_EQ(view_.y0() - y0, c.north) << c.id;
    EXPECT_DOUBLE_EQ(view_.resolution(), 1.0) << c.id;
    Paint();
  }
}

TEST_F(MapNavigationTest, KeyZoomsAndMovesLeaveOneFullQualityRedrawForTheNextMovement) {
  EXPECT_FALSE(nav_.TakePendingQualityRedraw());
  Run(cmd::kMoveEast);
  view_.full_quality = false;  // the repaint of the key was fast
  EXPECT_TRUE(nav_.quality_redraw_pending());
  EXPECT_TRUE(nav_.TakePendingQualityRedraw());
  EXPECT_TRUE(view_.full_redraw);
  EXPECT_TRUE(view_.full_quality);
  Paint();
  EXPECT_FALSE(nav_.TakePendingQualityRedraw()) << "once";
  // The tools change nothing of the view.
  EXPECT_FALSE(nav_.Command(cmd::kPan, kData).repaint);
  EXPECT_FALSE(nav_.quality_redraw_pending());
}

TEST_F(MapNavigationTest, ToolsHomeAndUnknownCommands) {
  EXPECT_EQ(nav_.tool(), NavigationTool::Zoom) << "the view starts with the zoom tool";
  NavigationOutcome pan = Run(cmd::kPan);
  EXPECT_EQ(nav_.tool(), NavigationTool::Pan);
  EXPECT_EQ(pan.panes[0], " ");
  EXPECT_EQ(pan.panes[1], "Scala 1:10000");
  EXPECT_EQ(pan.panes[2], "Spostamento Mappa");
  EXPECT_EQ(pan.panes[3], " ");
  EXPECT_EQ(Run(cmd::kAreaSelection).panes[2], "Selezione Area Evidenziata");
  EXPECT_EQ(Run(cmd::kZoom).panes[2], "Zoom Scala");

  const NavigationOutcome home = Run(cmd::kHomeView);
  EXPECT_EQ(view_.x0(), 1000);
  EXPECT_EQ(view_.y0(), 2000);
  EXPECT_DOUBLE_EQ(view_.resolution(), 10.0) << "8000 x 6000 m in 800 x 600 units";
  EXPECT_EQ(home.panes[1], "Scala 1:100000");
  EXPECT_EQ(home.panes[2], "Ripristina centratura e scala");

  EXPECT_FALSE(nav_.Command(cmd::kToponymSearch, kData).handled);
  EXPECT_FALSE(nav_.Command(cmd::kInsertVertex, kData).handled);
}

TEST_F(MapNavigationTest, PreviousViewWalksBackThroughTheHistory) {
  const SavedMapView start = view_.Saved();
  Run(cmd::kMoveEast);
  const SavedMapView moved = view_.Saved();
  Run(cmd::kZoomInTwice);
  Run(cmd::kMoveNorthFar);
  ASSERT_EQ(view_.history().size(), 4);

  Run(cmd::kPreviousView);
  Run(cmd::kPreviousView);
  EXPECT_EQ(view_.Saved(), moved);
  const NavigationOutcome back = Run(cmd::kPreviousView);
  EXPECT_EQ(view_.Saved(), start);
  EXPECT_EQ(back.panes[1], "Scala 1:10000");
  EXPECT_EQ(back.panes[2], "Nord= 4000.00        Est= 3000.00");
  EXPECT_EQ(back.pointer, PointerShape::Normal);

  const NavigationOutcome refused = Run(cmd::kPreviousView);
  EXPECT_TRUE(refused.handled);
  EXPECT_FALSE(refused.repaint);
  EXPECT_EQ(view_.Saved(), start);

  // A new view after going back is recorded again, and F9 returns from it.
  Run(cmd::kMoveWest);
  Run(cmd::kPreviousView);
  EXPECT_EQ(view_.Saved(), start);
}

TEST_F(MapNavigationTest, ZoomDragStepsOnEachMovementAndKeepsTheCentre) {
  const Point centre = Centre();
  EXPECT_EQ(nav_.LeftButtonDown().pointer, PointerShape::Zoom);
  NavigationOutcome first = nav_.PointerMoved(400, 300, true, kData);
  EXPECT_EQ(nav_.anchor(), (PixelPoint{400, 300})) << "the first movement records the anchor";
  EXPECT_FALSE(first.repaint);
  EXPECT_EQ(first.panes[0], "Zoom");
  EXPECT_EQ(first.panes[2], "Nord=Zoom(+)    Sud=Zoom(-)");

  const NavigationOutcome up = nav_.PointerMoved(400, 290, true, kData);
  EXPECT_TRUE(up.repaint);
  EXPECT_NEAR(view_.resolution(), std::pow(1 / 1.075, 10), 1e-12);
  EXPECT_EQ(nav_.anchor(), (PixelPoint{-1, -1})) << "the next movement starts a new step";
  Paint();
  EXPECT_NEAR(Centre().x, centre.x, 1e-9);
  EXPECT_NEAR(Centre().y, centre.y, 1e-9);

  // A release right after a step has no anchor: nothing more changes.
  const double r = view_.resolution();
  const NavigationOutcome up_again = nav_.LeftButtonUp(400, 250, false);
  EXPECT_EQ(view_.resolution(), r);
  EXPECT_EQ(up_again.pointer, PointerShape::Normal);
}

TEST_F(MapNavigationTest, PanDragPreviewsWithoutChangingTheViewAndMovesOnRelease) {
  Run(cmd::kPan);
  EXPECT_EQ(nav_.LeftButtonDown().pointer, PointerShape::Pan);
  nav_.PointerMoved(100, 100, true, kData);
  const NavigationOutcome drag = nav_.PointerMoved(150, 80, true, kData);
  EXPECT_EQ(drag.pan_shift, (PixelPoint{50, -20}));
  EXPECT_EQ(drag.panes[0], "Spostamento");
  EXPECT_EQ(drag.panes[2], "Trascina la mappa nel punto voluto");
  EXPECT_FALSE(drag.repaint);
  EXPECT_FALSE(view_.full_redraw);
  EXPECT_EQ(view_.x0(), 3000);

  // Released after a full-quality redraw, the new view is still drawn.
  const NavigationOutcome up = nav_.LeftButtonUp(160, 70, false);
  EXPECT_EQ(view_.x0(), 2940) << "dragging east shows what lies west";
  EXPECT_EQ(view_.y0(), 3970) << "dragging north shows what lies south";
  EXPECT_TRUE(view_.full_redraw);
  EXPECT_FALSE(view_.full_quality);
  EXPECT_TRUE(up.repaint && up.end_previews);
  EXPECT_EQ(up.pointer, PointerShape::Normal);
  EXPECT_EQ(nav_.anchor(), (PixelPoint{-1, -1}));
}

TEST_F(MapNavigationTest, ReleaseOnTheAnchorChangesNothingButAsksQualityAfterAFastRedraw) {
  Run(cmd::kPan);
  nav_.LeftButtonDown();
  nav_.PointerMoved(200, 200, true, kData);
  const SavedMapView before = view_.Saved();
  nav_.LeftButtonUp(200, 200, false);
  EXPECT_EQ(view_.Saved(), before);
  EXPECT_FALSE(view_.full_redraw);

  nav_.PointerMoved(200, 200, true, kData);
  nav_.LeftButtonUp(200, 200, true);
  EXPECT_EQ(view_.Saved(), before);
  EXPECT_TRUE(view_.full_redraw);
  EXPECT_TRUE(view_.full_quality);
}

TEST_F(MapNavigationTest, AreaSelectionDrawsAndErasesTheBandAndZoomsToTheRectangle) {
  Run(cmd::kAreaSelection);
  EXPECT_FALSE(nav_.LeftButtonDown().pointer.has_value());
  const NavigationOutcome first = nav_.PointerMoved(100, 100, true, kData);
  EXPECT_FALSE(first.erase_band.has_value());
  EXPECT_EQ(first.panes[0], "Selezione");
  EXPECT_EQ(first.panes[2], "Delimita l'area che desideri ingrandire");
  const NavigationOutcome second = nav_.PointerMoved(150, 250, true, kData);
  EXPECT_EQ(second.draw_band, (WindowRect{100, 100, 150, 250}));
  const NavigationOutcome third = nav_.PointerMoved(90, 300, true, kData);
  EXPECT_EQ(third.erase_band, (WindowRect{90, 90, 160, 260})) << "the old band widened by 10";
  EXPECT_EQ(third.draw_band, (WindowRect{90, 100, 100, 300}));

  // A rectangle 50 wide and 200 high: its height fills the 600 pixels.
  nav_.LeftButtonUp(150, 300, false);
  EXPECT_DOUBLE_EQ(view_.resolution(), 1.0 / 3);
  EXPECT_DOUBLE_EQ(view_.x0(), 3100);
  EXPECT_DOUBLE_EQ(view_.y0(), 4300);
  Paint();
  EXPECT_NEAR(view_.y1() - view_.y0(), 200, 1e-9);
}

TEST_F(MapNavigationTest, WheelZoomsOnlyWithTheZoomTool) {
  EXPECT_TRUE(nav_.Wheel(-120, kData).repaint);
  EXPECT_DOUBLE_EQ(view_.resolution(), 2.0);
  nav_.Wheel(120, kData);
  EXPECT_DOUBLE_EQ(view_.resolution(), 1.0);
  EXPECT_FALSE(nav_.Wheel(0, kData).handled);
  for (const int tool : {cmd::kPan, cmd::kAreaSelection}) {
    Run(tool);
    EXPECT_FALSE(nav_.Wheel(-120, kData).handled);
    EXPECT_DOUBLE_EQ(view_.resolution(), 1.0);
  }
}

TEST_F(MapNavigationTest, MovementWithoutDragShowsModeScaleAndPosition) {
  NavigationOutcome hover = nav_.PointerMoved(100, 500, false, kData);
  EXPECT_EQ(hover.panes[0], "Modo Navigazione");
  EXPECT_EQ(hover.panes[1], "Scala 1:10000");
  EXPECT_EQ(hover.panes[2], "Nord= 4100.00        Est= 3100.00");
  EXPECT_FALSE(hover.panes[3].has_value());

  nav_.SetModeName("Modo Disegno Nuovo Arco");
  hover = nav_.PointerMoved(100, 500, false, Box());
  EXPECT_EQ(hover.panes[0], "Modo Disegno Nuovo Arco");
  EXPECT_EQ(hover.panes[1], " ");
  EXPECT_EQ(hover.panes[2], "Mappa Vuota");

  // Without a tool a held button is no drag.
  nav_.ClearTool();
  EXPECT_FALSE(nav_.LeftButtonDown().pointer.has_value());
  hover = nav_.PointerMoved(100, 500, true, kData);
  EXPECT_EQ(nav_.anchor(), (PixelPoint{-1, -1}));
  EXPECT_EQ(hover.panes[0], "Modo Disegno Nuovo Arco");
}

}  // namespace
}  // namespace viamappa
