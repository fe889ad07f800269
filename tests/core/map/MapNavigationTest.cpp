// The viewport, the navigation over it and the map window's context menu.
#include "map/MapNavigation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "map/CommandIds.h"
#include "map/MapContextMenu.h"

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

TEST_F(MapNavigationTest, PanDragPreviewsAndMovesOnlyOnRelease) {
  Run(cmd::kPan);
  nav_.LeftButtonDown();
  nav_.PointerMoved(100, 100, true, kData);
  const NavigationOutcome drag = nav_.PointerMoved(150, 80, true, kData);
  EXPECT_EQ(drag.pan_shift, (PixelPoint{50, -20}));
  EXPECT_FALSE(drag.repaint || view_.full_redraw);
  EXPECT_EQ(view_.x0(), 3000);

  // Released after a full-quality redraw, the new view is still drawn.
  const NavigationOutcome up = nav_.LeftButtonUp(160, 70, false);
  EXPECT_EQ(view_.x0(), 2940) << "dragging east shows what lies west";
  EXPECT_EQ(view_.y0(), 3970) << "dragging north shows what lies south";
  EXPECT_TRUE(view_.full_redraw);
  EXPECT_TRUE(up.repaint && up.end_previews);
  EXPECT_EQ(up.pointer, PointerShape::Normal);
}

TEST_F(MapNavigationTest, ReleaseOnTheAnchorChangesNothingButAsksQualityAfterAFastRedraw) {
  Run(cmd::kPan);
  const SavedMapView before = view_.Saved();
  nav_.PointerMoved(200, 200, true, kData);
  nav_.LeftButtonUp(200, 200, false);
  EXPECT_EQ(view_.Saved(), before);
  EXPECT_FALSE(view_.full_redraw);
  nav_.PointerMoved(200, 200, true, kData);
  nav_.LeftButtonUp(200, 200, true);
  EXPECT_EQ(view_.Saved(), before);
  EXPECT_TRUE(view_.full_redraw && view_.full_quality);
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

TEST_F(MapNavigationTest, MovementWithoutDragShowsThePositionOrAnEmptyMap) {
  EXPECT_EQ(nav_.PointerMoved(100, 500, false, kData).panes[StatusPane::Prompt],
            "Nord= 4100.00        Est= 3100.00");
  const NavigationOutcome empty = nav_.PointerMoved(100, 500, false, Box());
  EXPECT_EQ(empty.panes[StatusPane::Scale], " ");
  EXPECT_EQ(empty.panes[StatusPane::Prompt], "Mappa Vuota");
}

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

const MapMenuEntry* Find(const std::vector<MapMenuEntry>& entries, int id) {
  for (const MapMenuEntry& entry : entries) {
    if (entry.kind == MapMenuEntry::Kind::Command && entry.id == id) return &entry;
    if (const MapMenuEntry* inner = Find(entry.items, id)) return inner;
  }
  return nullptr;
}

// The ids of a sub-menu in order, 0 for a separator.
std::vector<int> Ids(const MapMenuEntry& popup) {
  std::vector<int> ids;
  for (const MapMenuEntry& entry : popup.items) ids.push_back(entry.id);
  return ids;
}

TEST(MapContextMenuTest, SelectedToolAndGreyedEntries) {
  MapMenuState state;
  state.tool = NavigationTool::Pan;
  std::vector<MapMenuEntry> menu = BuildMapContextMenu(state);
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(Ids(menu[1]), (std::vector<int>{40009, 40007, 40008, 40010, 0, 40012, 40013}));
  // The selected tool is a checked text entry, the others keep their image.
  EXPECT_FALSE(Find(menu, cmd::kPan)->owner_drawn);
  EXPECT_TRUE(Find(menu, cmd::kPan)->checked);
  EXPECT_TRUE(Find(menu, cmd::kAreaSelection)->owner_drawn);
  EXPECT_FALSE(Find(menu, cmd::kPreviousView)->enabled) << "no previous view";
  for (const int id : {40009, 40007, 40008, 40010, 40011, 40012, 40013})
    EXPECT_FALSE(Find(menu, id)->enabled) << id << " without arcs";

  state.can_go_back = state.graph_has_arcs = true;
  menu = BuildMapContextMenu(state);
  EXPECT_TRUE(Find(menu, cmd::kPreviousView)->enabled);
  EXPECT_TRUE(Find(menu, cmd::kPathStart)->enabled);
  EXPECT_FALSE(Find(menu, cmd::kPathEnd)->enabled) << "no path start point yet";
  state.modes.start_point_set = true;
  EXPECT_TRUE(Find(BuildMapContextMenu(state), cmd::kPathEnd)->enabled);

  // A mode that is on stays checked and usable, even without arcs.
  state = {};
  state.modes.highlighting = true;
  const MapMenuEntry highlighting = *Find(BuildMapContextMenu(state), cmd::kHighlightRoads);
  EXPECT_TRUE(highlighting.checked && highlighting.enabled);
}

TEST(MapContextMenuTest, EditingEntriesFollowTheSituation) {
  MapMenuState state;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5115}));
  state.situation = EditingSituation::Digitising;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5517, 5521, 5519, 5520}));

  state.situation = EditingSituation::ArcSelected;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5114}));
  state.modes.delete_vertex = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5114})) << "no vertex chosen";
  state.vertex_chosen = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5122}));
  state.modes = {};
  state.modes.pick_end = true;
  state.point_chosen = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5124}));
}

}  // namespace
}  // namespace viamappa
