#include "geom/PointInPolygon.h"

namespace viamappa {

bool PointInRing(const PointArray& ring, double x, double y) {
  const Box& box = ring.box();
  if (x < box.minx || x > box.maxx || y < box.miny || y > box.maxy) return false;
  const std::int32_t n = ring.count() - 1;  // the closing point is no vertex of its own
  if (n < 2) return false;
  bool inside = false;
  for (std::int32_t i = 0, j = n - 1; i < n; j = i++) {
    const Point& pi = ring[i];
    const Point& pj = ring[j];
    if (((pi.y <= y && y < pj.y) || (pj.y <= y && y < pi.y)) &&
        x < pi.x + (pj.x - pi.x) * (y - pi.y) / (pj.y - pi.y))
      inside = !inside;
  }
  return inside;
}

bool PointInPart(const AreaPart& part, double x, double y) {
  if (!PointInRing(part.outer, x, y)) return false;
  for (const PointArray& hole : part.exclusions) {
    if (PointInRing(hole, x, y)) return false;
  }
  return true;
}

bool PointInFeature(const AreaFeature& feature, double x, double y) {
  for (const AreaPart& part : feature.parts) {
    if (PointInPart(part, x, y)) return true;
  }
  return false;
}

int PartHoldingRing(const std::vector<AreaPart>& parts, const PointArray& ring) {
  for (std::size_t p = 0; p < parts.size(); ++p) {
    bool holds = true;
    for (std::int32_t i = 0; holds && i + 1 < ring.count(); ++i)
      holds = PointInRing(parts[p].outer, ring[i].x, ring[i].y);
    if (holds) return static_cast<int>(p);
  }
  return -1;
}

}  // namespace viamappa
