#include "query/RouteSnap.h"

#include "edit/GraphCaches.h"
#include "edit/Picking.h"

namespace viamappa {

std::optional<RoutePoint> SnapRoutePoint(LayerSet& layers, const Point& p, double radius) {
  if (!(radius > 0)) return std::nullopt;
  const GraphCaches caches(layers);
  const std::optional<SnapHit> hit = HoverSnap(caches, PointerFrame(p, radius));
  if (!hit) return std::nullopt;
  RoutePoint point{hit->point, std::nullopt};
  if (hit->on_arc) point.arc = hit->on_arc->id;
  return point;
}

}  // namespace viamappa
