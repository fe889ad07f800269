// Computing the shortest route between two markers on the road graph: the start node and the two
// targets from the markers' arcs, the direct link of two arcs that share one node or the search, and
// the assembly of both paths with their texts and their end pieces.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/Box.h"
#include "db/DbConnection.h"
#include "map/MapLayer.h"
#include "query/RouteChain.h"
#include "query/RoutingGraph.h"
#include "query/ShortestPathSearch.h"
#include "ui/UserInterface.h"

namespace viamappa {

// A route marker: the point chosen on the graph and the arc it lies on, none for a point that is on no
// arc (a node without arcs).
struct RoutePoint {
  Point at;
  std::optional<std::int32_t> arc;

  bool operator==(const RoutePoint&) const = default;
};

inline constexpr std::string_view kNoRouteMessage =
    "Non è possibile identificare il percorso minimo che connette i due punti indicati";
inline constexpr std::string_view kNoAlternativeRouteMessage =
    "Non è possibile identificare il percorso minimo alternativo che connette i due punti indicati";

// What a computation reads besides the graph: the arcs cache (the arcs' polylines) and the database
// (the arcs' names and localities).
struct RouteSources {
  DbConnection& connection;
  MapLayer& arcs;
};

// Both paths from start to end over graph, which must be built from the same arcs cache. Path 1 runs
// towards the first node of the end arc, path 2 towards its second. On failure the message of the path
// that failed is shown (stop icon) and nothing is answered.
std::optional<RouteResult> ComputeRoute(const RoutingGraph& graph, ShortestPathSearch& search,
                                        const RouteSources& sources, const RoutePoint& start,
                                        const RoutePoint& end, UserInterface& ui);

}  // namespace viamappa
