#include "query/RoutingGraph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/query/RouteTestNetwork.h"
#include "query/ShortestPathSearch.h"

namespace viamappa {
namespace {

using testing::Arc;
using testing::RouteNetworkTest;

class RoutingGraphTest : public RouteNetworkTest {};

TEST_F(RoutingGraphTest, ArcsWithoutNodesOrGeometryAreLeftOutAndLoopsJoinNothing) {
  Network(
      {{1, 1000, 1000}, {2, 1100, 1000}, {3, 1200, 1000}, {4, 1300, 1000}},
      {Arc(1, 1, 2, {{1000, 1000}, {1100, 1000}}), Arc(2, 2, 3, {{1100, 1000}, {1200, 1000}}),
       Arc(3, 3, 3, {{1200, 1000}, {1250, 1050}, {1200, 1100}, {1200, 1000}}),
       Arc(4, 3, 4, {{1200, 1000}, {1300, 1000}}), Arc(5, 2, 1, {{1100, 1000}, {1050, 1050}, {1000, 1000}})});
  // Node 4 goes from nodi behind the relations' back, arc 2 from the map data.
  std::string error;
  ASSERT_TRUE(db().engine()->Execute(
      "DROP TRIGGER \"rel.archi_ini.del\"; DROP TRIGGER \"rel.archi_fin.del\"; DELETE FROM nodi WHERE ID = 4",
      error))
      << error;
  ASSERT_TRUE(arcs().RemoveLineFeature(*arcs().FindLineFeature(2)));
  graph_.MarkStale();
  graph_.Build(db(), arcs());

  EXPECT_FALSE(graph_.stale());
  EXPECT_EQ(graph_.node_count(), 3);
  EXPECT_EQ(graph_.largest_node_id(), 3);
  EXPECT_EQ(graph_.skips().missing_node, 1);
  EXPECT_EQ(graph_.skips().missing_geometry, 1);
  EXPECT_EQ(graph_.FindArc(2), kNoArc);
  EXPECT_EQ(graph_.FindArc(4), kNoArc);
  EXPECT_EQ(graph_.FindNode(4), kNoNode);
  ASSERT_NE(graph_.FindArc(3), kNoArc) << "a loop is still an arc a marker can lie on";
  EXPECT_DOUBLE_EQ(graph_.Arc(graph_.FindArc(3)).length, std::hypot(50, 50) * 2 + 100);
  EXPECT_TRUE(graph_.Steps(graph_.FindNode(3)).empty()) << "no node is its own neighbour";
  // The two arcs between nodes 1 and 2 each keep their own way (the route's test sees their lengths).
  EXPECT_EQ(graph_.Steps(graph_.FindNode(1)).size(), 2u);
}

// Random networks with parallel arcs, loops and parts apart: every search, one after another on the
// same search, finds what relaxing every arc until nothing changes finds, and walks back along arcs
// whose lengths add up to it.
TEST_F(RoutingGraphTest, SearchesAgreeWithRelaxingEveryArc) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(1000, 2000);
  constexpr int kNodes = 60;
  std::vector<NodeRow> nodes;
  for (int i = 1; i <= kNodes; ++i) nodes.push_back({i * 3, coordinate(random), coordinate(random)});
  std::uniform_int_distribution<int> any(0, kNodes - 1);
  std::vector<testing::ArcRow> rows;
  for (int id = 1; id <= 110; ++id) {
    const NodeRow& a = nodes[any(random) % (kNodes - 10)];  // the last ten nodes stay apart
    const NodeRow& b = id % 17 == 0 ? a : nodes[any(random) % (kNodes - 10)];
    // A bend of random size, so that parallel arcs differ in length.
    const Point bend{(a.x + b.x) / 2 + coordinate(random) / 20, (a.y + b.y) / 2};
    rows.push_back(Arc(id, a.id, b.id, {{a.x, a.y}, bend, {b.x, b.y}}));
  }
  Network(nodes, rows);

  const int n = graph_.node_count();
  for (const NodeIndex source : {0, 5, 17, 30, 5, 55}) {
    std::vector<double> expected(n, ShortestPathSearch::kUnreached);
    expected[source] = 0;
    for (bool changed = true; changed;) {
      changed = false;
      for (ArcIndex i = 0; i < graph_.arc_count(); ++i) {
        const RoutingArc& arc = graph_.Arc(i);
        for (const auto& [from, to] : {std::pair{arc.from, arc.to}, std::pair{arc.to, arc.from}}) {
          if (expected[from] != ShortestPathSearch::kUnreached &&
              expected[from] + arc.length < expected[to]) {
            expected[to] = expected[from] + arc.length;
            changed = true;
          }
        }
      }
    }
    search_.Begin(graph_, source);
    // Part of the way first, then the rest: a later run goes on from where the first stopped.
    search_.RunUntil((source + 1) % n);
    search_.RunToAll();
    for (NodeIndex node = 0; node < n; ++node) {
      SCOPED_TRACE(::testing::Message() << "from " << source << " to " << node);
      EXPECT_EQ(search_.Settled(node), expected[node] != ShortestPathSearch::kUnreached);
      if (!search_.Settled(node)) continue;
      EXPECT_NEAR(search_.Distance(node), expected[node], 1e-9);
      double walked = 0;
      int steps = 0;
      for (NodeIndex at = node; search_.Predecessor(at) != kNoNode && steps <= n;
           at = search_.Predecessor(at)) {
        const RoutingArc& arc = graph_.Arc(search_.PredecessorArc(at));
        EXPECT_TRUE((arc.from == at && arc.to == search_.Predecessor(at)) ||
                    (arc.to == at && arc.from == search_.Predecessor(at)));
        walked += arc.length;
        ++steps;
      }
      EXPECT_NEAR(walked, expected[node], 1e-9);
    }
  }
}

}  // namespace
}  // namespace viamappa
