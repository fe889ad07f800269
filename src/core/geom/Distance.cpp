#include "geom/Distance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace viamappa {

namespace {

constexpr double kFar = std::numeric_limits<double>::max();

// The foot of the perpendicular from P to the line through A and B, when it lies within the segment's
// box (ends included).
bool FootOnSegment(const Point& a, const Point& b, double px, double py, Point& foot) {
  if (b.x == a.x) {
    foot = {b.x, py};
  } else {
    const double m = (b.y - a.y) / (b.x - a.x);
    const double q = a.y - m * a.x;
    const double d = m * m + 1;
    foot = {(m * py + px - q * m) / d, (m * px + m * m * py + q) / d};
  }
  return foot.x >= std::min(a.x, b.x) && foot.x <= std::max(a.x, b.x) && foot.y >= std::min(a.y, b.y) &&
         foot.y <= std::max(a.y, b.y);
}

double Distance(double ax, double ay, double bx, double by) {
  return std::hypot(ax - bx, ay - by);
}

}  // namespace

double DistanceToPolyline(const PointArray& line, double px, double py) {
  if (line.empty()) return kFar;
  double d = kFar;
  Point foot;
  for (std::int32_t k = 1; k < line.count(); ++k) {
    const Point& a = line[k - 1];
    const Point& b = line[k];
    d = std::min(d, Distance(px, py, b.x, b.y));
    if (FootOnSegment(a, b, px, py, foot)) d = std::min(d, Distance(px, py, foot.x, foot.y));
  }
  d = std::min(d, Distance(px, py, line.front().x, line.front().y));
  return std::min(d, Distance(px, py, line.back().x, line.back().y));
}

double DistanceToPolylineWithin(const PointArray& line, double px, double py, const Box& search) {
  if (!line.box().Meets(search)) return kFar;
  double d = kFar;
  Point foot;
  for (std::int32_t k = 1; k < line.count(); ++k) {
    if (FootOnSegment(line[k - 1], line[k], px, py, foot)) d = std::min(d, Distance(px, py, foot.x, foot.y));
  }
  return d;
}

std::optional<FootOnPolyline> NearestFoot(const PointArray& line, double px, double py) {
  std::optional<FootOnPolyline> nearest;
  Point foot;
  for (std::int32_t k = 1; k < line.count(); ++k) {
    if (!FootOnSegment(line[k - 1], line[k], px, py, foot)) continue;
    const double d = Distance(px, py, foot.x, foot.y);
    if (!nearest || d < nearest->distance) nearest = FootOnPolyline{foot, k, d};
  }
  return nearest;
}

}  // namespace viamappa
