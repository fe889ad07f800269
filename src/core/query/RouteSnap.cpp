#include "query/RouteSnap.h"

#include <cmath>

#include "geom/Distance.h"
#include "map/LayerNames.h"

namespace viamappa {

namespace {

double DistanceBetween(const Point& a, const Point& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace

std::optional<RoutePoint> SnapRoutePoint(const LayerSet& layers, const Point& p, double radius) {
  if (!(radius > 0)) return std::nullopt;
  // Whatever lies within the radius has its box within the square around p.
  const Box near = Box::Of(p.x - radius, p.y - radius, p.x + radius, p.y + radius);
  const MapLayer* arcs = layers.FindLayer(kArcLayer);
  const std::vector<const LineFeature*> candidates =
      arcs ? arcs->LinesMeeting(near) : std::vector<const LineFeature*>{};
  for (const LineFeature* arc : candidates) {
    for (const PointArray& line : arc->polylines) {
      if (line.empty()) continue;
      if (DistanceBetween(line.front(), p) < radius) return RoutePoint{line.front(), arc->id};
      if (DistanceBetween(line.back(), p) < radius) return RoutePoint{line.back(), arc->id};
    }
  }
  if (const MapLayer* nodes = layers.FindLayer(kNodeLayer)) {
    for (const PointFeature* node : nodes->PointsMeeting(near))
      if (DistanceBetween(node->point, p) < radius) return RoutePoint{node->point, std::nullopt};
  }
  std::optional<RoutePoint> nearest;
  double best = radius;
  for (const LineFeature* arc : candidates) {
    for (const PointArray& line : arc->polylines) {
      const std::optional<FootOnPolyline> foot = NearestFoot(line, p.x, p.y);
      if (foot && foot->distance < best) {
        best = foot->distance;
        nearest = RoutePoint{foot->foot, arc->id};
      }
    }
  }
  return nearest;
}

}  // namespace viamappa
