// Where a point given for a route lies on the graph, found by the hover snap of the map window's route
// modes: the first arc end within the radius (arcs in cache order, the first point of each before its
// last), else the first node within it, else the nearest foot of a perpendicular on a segment of an
// arc, nearer than the radius. The arc is kept with the point, for a foot as for an arc end. The
// command line uses it; it has no window, so the whole map counts as visible.
#pragma once

#include <optional>

#include "map/LayerSet.h"
#include "query/RouteComputation.h"

namespace viamappa {

// The snap radius of the command line when none is given, in metres.
inline constexpr double kRouteSnapMetres = 15;

// The point the snap finds within radius metres of p, with its arc; nullopt when none.
std::optional<RoutePoint> SnapRoutePoint(LayerSet& layers, const Point& p, double radius);

}  // namespace viamappa
