// Distances from a point to a polyline.
#pragma once

#include <optional>

#include "geom/PointArray.h"

namespace viamappa {

// The shortest distance from P to the polyline: to its vertices and to the feet of the perpendiculars
// that fall on a segment. The largest double for a polyline without points.
double DistanceToPolyline(const PointArray& line, double px, double py);

// The distance from P to the polyline measured only through feet of perpendiculars that fall on a
// segment (so a point beyond a segment's end does not reach it); the largest double when the polyline's
// box does not meet the search box or no foot qualifies. Used to pick an arc under the pointer.
double DistanceToPolylineWithin(const PointArray& line, double px, double py, const Box& search);

// The foot of the perpendicular from P nearest to P among the feet that fall on a segment (within its
// box, ends included), with the index of that segment's end point; the first segment wins a tie.
struct FootOnPolyline {
  Point foot;
  std::int32_t segment_end = 0;  // 1 .. count - 1
  double distance = 0;
};
std::optional<FootOnPolyline> NearestFoot(const PointArray& line, double px, double py);

}  // namespace viamappa
