#include "geom/Simplify.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace viamappa {

namespace {

// Squared distance of p from the segment a-b.
double SquaredDistanceToSegment(const Point& p, const Point& a, const Point& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = 0;
  if (length2 > 0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
  const double ex = p.x - (a.x + t * dx);
  const double ey = p.y - (a.y + t * dy);
  return ex * ex + ey * ey;
}

}  // namespace

void SimplifyPolyline(std::vector<Point>& points, double tolerance) {
  const std::size_t count = points.size();
  if (count < 3) return;
  const double tolerance2 = tolerance * tolerance;
  thread_local std::vector<std::uint8_t> keep;
  thread_local std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
  keep.assign(count, 0);
  keep.front() = keep.back() = 1;
  spans.clear();
  spans.emplace_back(0, static_cast<std::uint32_t>(count - 1));
  while (!spans.empty()) {
    const auto [first, last] = spans.back();
    spans.pop_back();
    double worst = -1;
    std::uint32_t worst_at = first;
    for (std::uint32_t i = first + 1; i < last; ++i) {
      const double d = SquaredDistanceToSegment(points[i], points[first], points[last]);
      if (d > worst) {
        worst = d;
        worst_at = i;
      }
    }
    if (worst > tolerance2) {
      keep[worst_at] = 1;
      if (worst_at - first > 1) spans.emplace_back(first, worst_at);
      if (last - worst_at > 1) spans.emplace_back(worst_at, last);
    }
  }
  std::size_t out = 0;
  for (std::size_t i = 0; i < count; ++i)
    if (keep[i]) points[out++] = points[i];
  points.resize(out);
}

}  // namespace viamappa
