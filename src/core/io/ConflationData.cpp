#include "io/ConflationData.h"

#include <cmath>

#include "geom/BoxIndex.h"
#include "geom/Distance.h"

namespace viamappa::conflation {

double SearchMargin(double snap) {
  // Far above the rounding of coordinates of a few million metres, far below a hundredth.
  return snap + 1e-6 + std::abs(snap) * 1e-9;
}

Box SearchArea(const ConflationState& state) {
  if (state.secondary_extent.IsEmpty()) return Box();
  return Grown(state.secondary_extent, SearchMargin(state.snap));
}

bool OverlapsWithMargin(const Box& p, const Box& q, double snap) {
  return p.maxx >= q.minx - snap && p.maxy >= q.miny - snap && p.minx <= q.maxx + snap &&
         p.miny <= q.maxy + snap;
}

bool SegmentWithin(const Point& a, const Point& b, const Point& p, double snap) {
  if (PointDistance(p.x, p.y, b.x, b.y) <= snap) return true;
  Point foot;
  return PerpendicularFoot(a, b, p.x, p.y, foot) && PointDistance(p.x, p.y, foot.x, foot.y) <= snap;
}

namespace {

// Whether P is within the snap factor of the polyline, stopping at the first vertex or foot near
// enough. A point farther than the factor from the polyline's box is farther from all of it.
bool PointWithin(const PointArray& line, const Point& p, double snap) {
  if (line.empty()) return false;
  if (!Grown(line.box(), SearchMargin(snap)).Contains(p.x, p.y)) return false;
  const Point& first = line.front();
  if (PointDistance(p.x, p.y, first.x, first.y) <= snap) return true;
  for (std::int32_t k = 1; k < line.count(); ++k) {
    if (SegmentWithin(line[k - 1], line[k], p, snap)) return true;
  }
  return false;
}

}  // namespace

bool LiesAlong(const PointArray& line, const PointArray& along, double snap, Search search) {
  for (const Point& p : line.points()) {
    const bool within =
        search == Search::Scan ? DistanceToPolyline(along, p.x, p.y) <= snap : PointWithin(along, p, snap);
    if (!within) return false;
  }
  return true;
}

}  // namespace viamappa::conflation
