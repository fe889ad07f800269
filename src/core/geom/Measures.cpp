#include "geom/Measures.h"

#include <cmath>
#include <limits>

namespace viamappa {

double Length(const PointArray& line) {
  double length = 0;
  for (std::int32_t i = 1; i < line.count(); ++i)
    length += std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
  return length;
}

double SignedArea(const PointArray& ring) {
  const std::int32_t n = ring.count();
  double sum = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    const Point& a = ring[i];
    const Point& b = ring[(i + 1) % n];
    sum += a.x * b.y - b.x * a.y;
  }
  return 0.5 * sum;
}

double Area(const PointArray& ring) {
  return std::fabs(SignedArea(ring));
}

bool IsClockwise(const PointArray& ring) {
  return SignedArea(ring) < 0;
}

double Area(const AreaPart& part) {
  double area = Area(part.outer);
  for (const PointArray& hole : part.exclusions) area -= Area(hole);
  return area;
}

Point Centroid(const PointArray& ring) {
  const std::int32_t n = ring.count();
  const double area = Area(ring);
  if (n == 0) return {0, 0};
  // A ring without area has no centroid by the formula; its first point keeps labels on the map.
  if (!(area > 0)) return ring[0];
  double cx = 0;
  double cy = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    const Point& a = ring[i];
    const Point& b = ring[(i + 1) % n];
    const double c = a.x * b.y - b.x * a.y;
    cx += (a.x + b.x) * c;
    cy += (a.y + b.y) * c;
  }
  return {std::fabs(cx / (6 * area)), std::fabs(cy / (6 * area))};
}

Point LabelPoint(const AreaFeature& feature) {
  const AreaPart* best = nullptr;
  double best_area = std::numeric_limits<double>::min();
  for (const AreaPart& part : feature.parts) {
    const double area = Area(part);
    if (area > best_area) {
      best_area = area;
      best = &part;
    }
  }
  return best ? Centroid(best->outer) : Point{0, 0};
}

}  // namespace viamappa
