#include "query/RouteCut.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace viamappa {

namespace {

// The index of the vertex nearest to p; the first of equally near ones.
std::int32_t NearestVertex(const PointArray& line, const Point& p) {
  std::int32_t nearest = 0;
  double best = std::numeric_limits<double>::max();
  for (std::int32_t i = 0; i < line.count(); ++i) {
    const double d = std::hypot(line[i].x - p.x, line[i].y - p.y);
    if (d < best) {
      best = d;
      nearest = i;
    }
  }
  return nearest;
}

// Whether p lies in the box of the segment from vertex i to vertex j, bounds included.
bool InSegmentBox(const PointArray& line, std::int32_t i, std::int32_t j, const Point& p) {
  const Point& a = line[i];
  const Point& b = line[j];
  return p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) && p.y >= std::min(a.y, b.y) &&
         p.y <= std::max(a.y, b.y);
}

bool Touches(const PointArray& neighbour, const Point& p) {
  return !neighbour.empty() && (p == neighbour.front() || p == neighbour.back());
}

}  // namespace

EndCut CutEndItem(const PointArray& line, const Point& marker, const PointArray& neighbour,
                  const std::optional<Point>& junction) {
  EndCut cut;
  const std::int32_t n = line.count();
  if (n == 0) return cut;
  const Point& first = line.front();
  const Point& last = line.back();
  bool through_first = Touches(neighbour, first);
  const bool through_last = Touches(neighbour, last);
  if (through_first && through_last && junction && first != *junction && last == *junction)
    through_first = false;
  if (!through_first && !through_last) return cut;
  if (marker == (through_first ? first : last)) {
    cut.kind = EndCut::Kind::Nothing;
    return cut;
  }
  if (marker == first || marker == last) return cut;

  std::int32_t k = NearestVertex(line, marker);
  std::vector<Point> points;
  if (through_first) {
    if (k > 0 && InSegmentBox(line, k - 1, k, marker)) --k;
    points.assign(line.points().begin(), line.points().begin() + k + 1);
    points.push_back(marker);
  } else {
    if (k < n - 1 && InSegmentBox(line, k, k + 1, marker)) ++k;
    points.push_back(marker);
    points.insert(points.end(), line.points().begin() + k, line.points().end());
  }
  cut.kind = EndCut::Kind::Piece;
  cut.piece = PointArray(std::move(points));
  return cut;
}

PointArray CutBetween(const PointArray& line, const Point& a, const Point& b) {
  const std::int32_t n = line.count();
  std::vector<Point> points{a};
  if (n > 0) {
    std::int32_t ka = NearestVertex(line, a);
    std::int32_t kb = NearestVertex(line, b);
    if (ka >= kb) {
      if (ka > 0 && InSegmentBox(line, ka - 1, ka, a)) --ka;
      if (kb < n - 1 && InSegmentBox(line, kb, kb + 1, b)) ++kb;
      for (std::int32_t i = ka; i >= kb; --i) points.push_back(line[i]);
    } else {
      if (ka < n - 1 && InSegmentBox(line, ka, ka + 1, a)) ++ka;
      if (kb > 0 && InSegmentBox(line, kb - 1, kb, b)) --kb;
      for (std::int32_t i = ka; i <= kb; ++i) points.push_back(line[i]);
    }
  }
  points.push_back(b);
  return PointArray(std::move(points));
}

}  // namespace viamappa
