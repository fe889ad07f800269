#include "geom/Clipping.h"

#include <algorithm>

#include "base/NumberText.h"
#include "geom/PointInPolygon.h"

namespace viamappa {

namespace {

double RoundedToFourDecimals(double value) {
  return ParseDecimal(FormatFixed(value, 4)).value_or(value);
}

Box Widened(const Box& box, double by, bool round) {
  Box widened = Box::Of(box.minx - by, box.miny - by, box.maxx + by, box.maxy + by);
  if (round) {
    widened.minx = RoundedToFourDecimals(widened.minx);
    widened.miny = RoundedToFourDecimals(widened.miny);
    widened.maxx = RoundedToFourDecimals(widened.maxx);
    widened.maxy = RoundedToFourDecimals(widened.maxy);
  }
  return widened;
}

enum class Edge { Left, Right, Bottom, Top };

bool Inside(const Point& p, Edge edge, const Box& r) {
  switch (edge) {
    case Edge::Left:
      return p.x >= r.minx;
    case Edge::Right:
      return p.x <= r.maxx;
    case Edge::Bottom:
      return p.y >= r.miny;
    case Edge::Top:
      return p.y <= r.maxy;
  }
  return true;
}

// Where the segment from a to b crosses the edge's line; the coordinate of the edge is set exactly.
Point Crossing(const Point& a, const Point& b, Edge edge, const Box& r) {
  if (edge == Edge::Left || edge == Edge::Right) {
    const double x = edge == Edge::Left ? r.minx : r.maxx;
    const double t = (x - a.x) / (b.x - a.x);
    return {x, std::clamp(a.y + t * (b.y - a.y), std::min(a.y, b.y), std::max(a.y, b.y))};
  }
  const double y = edge == Edge::Bottom ? r.miny : r.maxy;
  const double t = (y - a.y) / (b.y - a.y);
  return {std::clamp(a.x + t * (b.x - a.x), std::min(a.x, b.x), std::max(a.x, b.x)), y};
}

// One pass of polygon clipping against one edge of the rectangle (vertices without the closing point).
void ClipAgainst(const std::vector<Point>& in, Edge edge, const Box& r, std::vector<Point>& out) {
  out.clear();
  if (in.empty()) return;
  Point previous = in.back();
  bool previous_inside = Inside(previous, edge, r);
  for (const Point& current : in) {
    const bool current_inside = Inside(current, edge, r);
    if (current_inside != previous_inside) out.push_back(Crossing(previous, current, edge, r));
    if (current_inside) out.push_back(current);
    previous = current;
    previous_inside = current_inside;
  }
}

bool WithinBox(const PointArray& ring, const Box& box) {
  return std::all_of(ring.points().begin(), ring.points().end(),
                     [&](const Point& p) { return box.Contains(p.x, p.y); });
}

}  // namespace

PointArray ClipRing(const PointArray& ring, const Box& rectangle) {
  if (ring.count() < 4) return {};
  std::vector<Point> vertices(ring.points().begin(), ring.points().end() - (ring.IsClosed() ? 1 : 0));
  std::vector<Point> scratch;
  for (Edge edge : {Edge::Left, Edge::Right, Edge::Bottom, Edge::Top}) {
    ClipAgainst(vertices, edge, rectangle, scratch);
    vertices.swap(scratch);
  }
  if (vertices.size() < 3) return {};
  vertices.push_back(vertices.front());
  return PointArray(std::move(vertices));
}

AreaClip ClipAreaPart(const AreaPart& part, const Box& rectangle, double tolerance) {
  AreaClip clip;
  const Box& outer_box = part.outer.box();
  if (rectangle.Contains(outer_box)) {
    clip.outcome = AreaClip::Outcome::Whole;
    return clip;
  }
  if (!rectangle.Meets(outer_box)) return clip;

  clip.outcome = AreaClip::Outcome::Clipped;
  const Box outer_limit = Widened(rectangle, 2 * tolerance, true);
  AreaPart clipped;
  clipped.outer = WithinBox(part.outer, outer_limit) ? part.outer : ClipRing(part.outer, outer_limit);
  if (clipped.outer.empty()) return clip;
  clip.parts.push_back(std::move(clipped));

  const Box hole_limit = Widened(rectangle, tolerance, false);
  for (const PointArray& hole : part.exclusions) {
    if (!hole.box().Meets(hole_limit)) continue;
    PointArray cut = WithinBox(hole, hole_limit) ? hole : ClipRing(hole, hole_limit);
    if (cut.empty()) continue;
    const int holder = PartHoldingRing(clip.parts, cut);
    if (holder >= 0) clip.parts[holder].exclusions.push_back(std::move(cut));
  }
  return clip;
}

std::vector<PointArray> ClipPolyline(const PointArray& line, const Box& r) {
  std::vector<PointArray> pieces;
  if (line.count() < 2 || !line.box().Meets(r)) return pieces;
  if (r.Contains(line.box())) {
    pieces.push_back(line);
    return pieces;
  }
  std::vector<Point> piece;
  const auto finish = [&] {
    if (piece.size() >= 2) pieces.emplace_back(std::move(piece));
    piece.clear();
  };
  const auto clamp = [&](Point p) {
    return Point{std::clamp(p.x, r.minx, r.maxx), std::clamp(p.y, r.miny, r.maxy)};
  };
  for (std::int32_t k = 1; k < line.count(); ++k) {
    const Point a = line[k - 1];
    const Point b = line[k];
    // Liang-Barsky: the part of the segment within the rectangle is [t0, t1].
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    bool visible = true;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.minx, r.maxx - a.x, a.y - r.miny, r.maxy - a.y};
    for (int i = 0; i < 4 && visible; ++i) {
      if (p[i] == 0) {
        visible = q[i] >= 0;
      } else {
        const double t = q[i] / p[i];
        if (p[i] < 0) {
          t0 = std::max(t0, t);
        } else {
          t1 = std::min(t1, t);
        }
        visible = t0 <= t1;
      }
    }
    if (!visible) {
      finish();
      continue;
    }
    const Point start = t0 == 0 ? a : clamp({a.x + t0 * dx, a.y + t0 * dy});
    const Point end = t1 == 1 ? b : clamp({a.x + t1 * dx, a.y + t1 * dy});
    if (t0 > 0 || piece.empty()) {
      finish();
      piece.push_back(start);
    }
    piece.push_back(end);
    if (t1 < 1) finish();
  }
  finish();
  return pieces;
}

}  // namespace viamappa
