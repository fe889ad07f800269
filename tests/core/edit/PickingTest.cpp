#include "edit/Picking.h"

#include "EditingFixture.h"

namespace viamappa {
namespace {

using testing::EditingTest;

// The pointer's distance from arc 11 (y = 1100) and from vertex (1150, 1100) of arc 10, in screen units.
TEST_F(EditingTest, ArcsArePickedUnder30UnitsAndVerticesUnder15EitherWay) {
  modes_.drag = true;
  struct Case {
    Point pointer;
    std::int32_t arc;
    bool vertex;
  };
  const Case cases[] = {
      {{1250, 1129}, 11, false}, {{1250, 1130}, -1, false},  // arc at 29 picked, at 30 not
      {{1250, 1070}, -1, false},                             // below, 30 units too
      {{1164, 1100}, 10, true},  {{1165, 1100}, 10, false},  // vertex 14 units aside, 15 units aside
      {{1150, 1114}, 10, true},  {{1150, 1115}, 10, false},  // the same upward
      {{1320, 1100}, -1, false},  // beyond the end of a segment, although 20 units from it
  };
  for (const Case& c : cases) {
    Move(1000, 1000);  // away from everything: nothing stays hot
    Move(c.pointer.x, c.pointer.y);
    EXPECT_EQ(HotArc(), c.arc) << c.pointer.x << "," << c.pointer.y;
    EXPECT_EQ(editor_->state().hot_vertex.has_value(), c.vertex) << c.pointer.x << "," << c.pointer.y;
  }
}

TEST_F(EditingTest, TheFirstArcInTheCacheWinsAndAHotArcStaysWithinReach) {
  // Arc 15, later in the cache, runs 40 m above arc 10.
  {
    testing::NetworkBuilder build(db());
    ASSERT_TRUE(build.AddNode(20, 1100, 1140));
    ASSERT_TRUE(build.AddNode(21, 1180, 1140));
    ASSERT_TRUE(build.AddArc(testing::Arc(15, 20, 21, {{1100, 1140}, {1180, 1140}})));
  }
  Load();
  Move(1125, 1122);
  EXPECT_EQ(HotArc(), 10) << "22 units from 10, 18 from 15: the first in the cache wins";
  Move(1125, 1135);
  EXPECT_EQ(HotArc(), 15) << "35 units from 10";
  Move(1125, 1120);
  EXPECT_EQ(HotArc(), 15) << "the hot arc stays while within 30 units";
  modes_.draw_arc = true;
  Move(1125, 1121);
  EXPECT_EQ(HotArc(), 10) << "not in the drawing mode (nothing within the 15 units of a snap)";
}

TEST_F(EditingTest, TheHoverSnapTakesArcEndsThenNodesThenTheNearestFoot) {
  {
    testing::NetworkBuilder build(db());
    ASSERT_TRUE(build.AddNode(9, 1060, 1150));  // a node of no arc, beside arc 14's end (1050, 1150)
  }
  Load();
  modes_.pick_start = true;
  struct Case {
    Point pointer;
    std::optional<Point> snap;
    std::optional<std::int32_t> arc;  // the arc the path point lies on
  };
  const Case cases[] = {
      {{1056, 1150}, Point{1050, 1150}, 14},            // the arc end, although the node is nearer
      {{1066, 1150}, Point{1060, 1150}, std::nullopt},  // 16 from the arc end: the node
      {{1250, 1110}, Point{1250, 1100}, 11},            // the foot on arc 11
      {{1250, 1115}, std::nullopt, std::nullopt},       // 15 from the foot: not strictly within
  };
  for (const Case& c : cases) {
    Move(c.pointer.x, c.pointer.y);
    EXPECT_EQ(editor_->state().snap_point, c.snap) << c.pointer.x << "," << c.pointer.y;
    if (!c.snap) continue;
    route_.clear();
    Command(cmd::kInsertVertex);  // the path's start goes there, on its arc
    ASSERT_EQ(route_.size(), 1u);
    EXPECT_EQ(route_[0].arc, c.arc) << c.pointer.x << "," << c.pointer.y;
  }
}

// The drop target of a drag leaves out the dragged part's end nodes and every arc that meets them.
TEST_F(EditingTest, TheDropTargetSkipsTheArcsOfTheDraggedEnds) {
  const PointerFrame pointer(viewport_, 200, 150);
  LineFeature* arc12 = editor_->caches().FindArc(12);
  ASSERT_TRUE(arc12);
  const DropExclusions excluded =
      FindDropExclusions(db(), editor_->caches(), *arc12, {1200, 1100}, {1200, 1200});
  EXPECT_EQ(excluded.arcs, (std::unordered_set<std::int32_t>{10, 11, 12}));
  // Near node 2 and on arc 10 and 11: none of them counts; near arc 13 its foot does.
  EXPECT_FALSE(FindDropTarget(editor_->caches(), pointer, {1205, 1105}, excluded));
  const std::optional<DropTarget> target =
      FindDropTarget(editor_->caches(), pointer, {1233.333, 1240}, excluded);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->point, (Point{1233.33, 1250})) << "the foot, rounded";
  ASSERT_TRUE(target->arc);
  EXPECT_EQ(target->arc.get()->id, 13);
  EXPECT_EQ(target->segment_end, 1);
}

}  // namespace
}  // namespace viamappa
