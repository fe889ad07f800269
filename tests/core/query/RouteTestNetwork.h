// Small hand-drawn road networks for the shortest path tests: nodes and arcs written to a new database,
// the map data loaded from it, and the routing graph built over both.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "map/LayerLoader.h"
#include "map/LayerNames.h"
#include "query/RouteComputation.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa::testing {

class RouteNetworkTest : public RoadNetworkTest {
 protected:
  struct NodeRow {
    std::int32_t id;
    double x, y;
  };

  // Writes the nodes and arcs, loads the map data and builds the graph; the messages of the load are
  // forgotten.
  void Network(const std::vector<NodeRow>& nodes, const std::vector<ArcRow>& arcs) {
    {
      NetworkBuilder build(db());
      for (const NodeRow& node : nodes) ASSERT_TRUE(build.AddNode(node.id, node.x, node.y));
      for (const ArcRow& arc : arcs) ASSERT_TRUE(build.AddArc(arc));
    }
    Reload();
  }

  // The map data and the graph again from the database.
  void Reload() {
    layers_ = std::make_unique<LayerSet>();
    LoadLayers(*layers_, db(), MapStyling());
    graph_.Build(db(), arcs());
    ui_.ClearMessages();
  }

  MapLayer& arcs() { return *layers_->FindLayer(kArcLayer); }
  RouteSources sources() { return {db(), arcs()}; }

  std::optional<RouteResult> Compute(const RoutePoint& start, const RoutePoint& end) {
    return ComputeRoute(graph_, search_, sources(), start, end, ui_);
  }

  // The arcs of a chain in route order.
  static std::vector<std::int32_t> ArcsOf(const RouteChain& chain) {
    std::vector<std::int32_t> ids;
    for (const RouteItem& item : chain.items) ids.push_back(item.arc);
    return ids;
  }

  std::unique_ptr<LayerSet> layers_;
  RoutingGraph graph_;
  ShortestPathSearch search_;
};

// A point on an arc.
inline RoutePoint On(std::int32_t arc, double x, double y) {
  return RoutePoint{{x, y}, arc};
}

}  // namespace viamappa::testing
