#include "query/RouteComputation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/query/RouteTestNetwork.h"

namespace viamappa {
namespace {

using testing::Arc;
using testing::On;
using testing::RouteNetworkTest;

class RouteComputationTest : public RouteNetworkTest {
 protected:
  struct Expected {
    RoutePoint start, end;
    std::vector<std::int32_t> arcs;  // of the path chosen
    double length;
  };

  void ExpectRoutes(std::initializer_list<Expected> cases) {
    for (const Expected& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << c.start.at.x << "," << c.start.at.y << " to " << c.end.at.x << "," << c.end.at.y);
      const std::optional<RouteResult> result = Compute(c.start, c.end);
      ASSERT_TRUE(result);
      EXPECT_EQ(ArcsOf(result->Chosen()), c.arcs);
      EXPECT_NEAR(result->Chosen().TotalLength(), c.length, 1e-9);
    }
  }
};

TEST_F(RouteComputationTest, TwoArcsThatShareANodeAreJoinedThereWhicheverWayTheyRun) {
  // The four ways the first edges of two arcs can meet, each arc drawn either way: four networks apart,
  // each with a diagonal from its first node to its third, a detour the route must not take.
  std::vector<NodeRow> nodes;
  std::vector<testing::ArcRow> arcs;
  for (int k = 0; k < 4; ++k) {
    const bool start_reversed = k & 1, end_reversed = k & 2;
    const double x = 1000 + 1000 * k;
    const std::int32_t n = 10 * k;
    nodes.insert(nodes.end(), {{n + 1, x, 1000}, {n + 2, x + 100, 1000}, {n + 3, x + 100, 1100}});
    std::vector<Point> first{{x, 1000}, {x + 100, 1000}};
    std::vector<Point> second{{x + 100, 1000}, {x + 100, 1100}};
    if (start_reversed) std::reverse(first.begin(), first.end());
    if (end_reversed) std::reverse(second.begin(), second.end());
    arcs.push_back(Arc(n + 1, start_reversed ? n + 2 : n + 1, start_reversed ? n + 1 : n + 2, first));
    arcs.push_back(Arc(n + 2, end_reversed ? n + 3 : n + 2, end_reversed ? n + 2 : n + 3, second));
    arcs.push_back(Arc(n + 3, n + 1, n + 3, {{x, 1000}, {x + 100, 1100}}));
  }
  Network(nodes, arcs);
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    const double x = 1000 + 1000 * k;
    const std::int32_t n = 10 * k;
    const std::optional<RouteResult> result = Compute(On(n + 1, x + 50, 1000), On(n + 2, x + 100, 1050));
    ASSERT_TRUE(result);
    for (const RouteChain* chain : {&result->path1, &result->path2}) {
      EXPECT_EQ(ArcsOf(*chain), (std::vector<std::int32_t>{n + 1, n + 2}));
      EXPECT_DOUBLE_EQ(chain->TotalLength(), 100);
    }
  }
}

TEST_F(RouteComputationTest, MarkersOnANodeAddNothingOfTheArcLeftThereAndOnOneArcTakeItsPiece) {
  // Three arcs in a row along the x axis, the first with two vertices inside.
  Network({{1, 1000, 1000}, {2, 1100, 1000}, {3, 1200, 1000}, {4, 1300, 1000}},
          {Arc(1, 1, 2, {{1000, 1000}, {1040, 1000}, {1060, 1000}, {1100, 1000}}),
           Arc(2, 2, 3, {{1100, 1000}, {1200, 1000}}), Arc(3, 3, 4, {{1200, 1000}, {1300, 1000}})});
  ExpectRoutes({
      // On the far ends: the whole arcs, none cut.
      {On(1, 1000, 1000), On(3, 1300, 1000), {1, 2, 3}, 300},
      // On the node between arcs 1 and 2, with arc 1 chosen: arc 1 takes no part.
      {On(1, 1100, 1000), On(3, 1300, 1000), {2, 3}, 200},
      // Arcs that share the node the marker is on.
      {On(1, 1100, 1000), On(2, 1150, 1000), {2}, 50},
      {On(1, 1050, 1000), On(2, 1100, 1000), {1}, 50},
      // On one arc: its piece between the markers (the cut's own test sees its points), or nothing of it.
      {On(1, 1070, 1000), On(1, 1010, 1000), {1}, 60},
      {On(1, 1000, 1000), On(1, 1000, 1000), {1}, 0},
  });
  const std::optional<RouteResult> whole = Compute(On(1, 1000, 1000), On(3, 1300, 1000));
  ASSERT_TRUE(whole);
  for (const RouteItem& item : whole->Chosen().items) EXPECT_FALSE(item.cut) << item.arc;
}

TEST_F(RouteComputationTest, AStartMarkerHalfwayStartsFromTheSecondNode) {
  // From node 2 a diagonal reaches the end arc more directly than back through node 1, but not more
  // shortly than from node 1 itself.
  Network({{1, 1000, 1000}, {2, 1100, 1000}, {3, 1000, 1300}, {4, 1000, 1310}},
          {Arc(1, 1, 2, {{1000, 1000}, {1100, 1000}}), Arc(2, 3, 4, {{1000, 1300}, {1000, 1310}}),
           Arc(3, 1, 3, {{1000, 1000}, {1000, 1300}}), Arc(4, 2, 3, {{1100, 1000}, {1000, 1300}})});
  ExpectRoutes({{On(1, 1050, 1000), On(2, 1000, 1305), {1, 4, 2}, 50 + std::hypot(100, 300) + 5},
                {On(1, 1049.99, 1000), On(2, 1000, 1305), {1, 3, 2}, 49.99 + 300 + 5}});
}

TEST_F(RouteComputationTest, OfTwoPathsOfEqualLengthTheSecondIsShown) {
  // The end marker in the middle of an arc whose ends are reached symmetrically.
  Network({{1, 1000, 1000}, {2, 1000, 1100}, {3, 900, 1200}, {4, 1100, 1200}},
          {Arc(1, 1, 2, {{1000, 1000}, {1000, 1100}}), Arc(2, 3, 4, {{900, 1200}, {1100, 1200}}),
           Arc(3, 2, 3, {{1000, 1100}, {900, 1200}}), Arc(4, 2, 4, {{1000, 1100}, {1100, 1200}})});
  const std::optional<RouteResult> result = Compute(On(1, 1000, 1050), On(2, 1000, 1200));
  ASSERT_TRUE(result);
  EXPECT_EQ(ArcsOf(result->path1), (std::vector<std::int32_t>{1, 3, 2}));
  EXPECT_EQ(ArcsOf(result->path2), (std::vector<std::int32_t>{1, 4, 2}));
  EXPECT_EQ(result->path1.TotalLength(), result->path2.TotalLength());
  EXPECT_EQ(ArcsOf(result->Chosen()), (std::vector<std::int32_t>{1, 4, 2}));
}

TEST_F(RouteComputationTest, ParallelArcsEachKeepTheirOwnLength) {
  // Two arcs join nodes 2 and 3: the first in identifier order is the longer.
  Network(
      {{1, 900, 1000}, {2, 1000, 1000}, {3, 1100, 1000}, {4, 1200, 1000}},
      {Arc(1, 1, 2, {{900, 1000}, {1000, 1000}}),
       Arc(2, 2, 3, {{1000, 1000}, {1050, 1100}, {1100, 1000}}, "VIA LUNGA"),
       Arc(3, 3, 2, {{1100, 1000}, {1000, 1000}}, "VIA CORTA"), Arc(4, 3, 4, {{1100, 1000}, {1200, 1000}})});
  ExpectRoutes({{On(1, 950, 1000), On(4, 1150, 1000), {1, 3, 4}, 200}});
  EXPECT_EQ(Compute(On(1, 950, 1000), On(4, 1150, 1000))->Chosen().items.at(1).street, "VIA CORTA");
}

TEST_F(RouteComputationTest, AClosedArcNeverMakesARouteGoRoundForever) {
  // A loop at node 2 between arcs 1 and 2.
  const std::vector<Point> loop{{1100, 1000}, {1150, 1100}, {1050, 1100}, {1100, 1000}};
  Network({{1, 1000, 1000}, {2, 1100, 1000}, {3, 1200, 1000}},
          {Arc(1, 1, 2, {{1000, 1000}, {1100, 1000}}), Arc(2, 2, 3, {{1100, 1000}, {1200, 1000}}),
           Arc(5, 2, 2, loop)});
  const double side = std::hypot(50, 100);
  ExpectRoutes({
      // From a point of the loop: round it to node 2, then on.
      {On(5, 1150, 1100), On(2, 1150, 1000), {5, 2}, side + 50},
      // Onto the loop: it is entered at its first point.
      {On(1, 1050, 1000), On(5, 1050, 1100), {1, 5}, 50 + side + 100},
      {On(5, 1150, 1100), On(5, 1050, 1100), {5}, 100},
  });
}

TEST_F(RouteComputationTest, PointsThatNoPathJoinsFailWithTheirMessage) {
  Network({{1, 1000, 1000}, {2, 1100, 1000}, {3, 2000, 1000}, {4, 2100, 1000}},
          {Arc(1, 1, 2, {{1000, 1000}, {1100, 1000}}), Arc(2, 3, 4, {{2000, 1000}, {2100, 1000}})});
  struct Case {
    RoutePoint start, end;
  };
  const Case cases[] = {
      {On(1, 1050, 1000), On(2, 2050, 1000)},                       // apart
      {RoutePoint{{1050, 1000}, std::nullopt}, On(2, 2050, 1000)},  // a start on no arc
      {On(1, 1050, 1000), On(99, 2050, 1000)},                      // an arc the graph does not hold
  };
  for (const Case& c : cases) {
    ui_.ClearMessages();
    EXPECT_FALSE(Compute(c.start, c.end));
    ASSERT_EQ(ui_.messages().size(), 1u);
    EXPECT_EQ(ui_.last_message().text, kNoRouteMessage);
    EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  }
  // An arc that left the map data after the graph was built cannot be assembled.
  Network({{5, 1200, 1000}}, {Arc(3, 2, 5, {{1100, 1000}, {1200, 1000}})});
  arcs().RemoveLineFeature(*arcs().FindLineFeature(3));
  ui_.ClearMessages();
  EXPECT_FALSE(Compute(On(1, 1050, 1000), On(3, 1150, 1000)));
  EXPECT_EQ(ui_.last_message().text, kNoRouteMessage);
}

}  // namespace
}  // namespace viamappa
