// Points and bounding boxes in map units: metres of a projected plane system, X east, Y north.
#pragma once

#include <algorithm>
#include <limits>

namespace viamappa {

struct Point {
  double x = 0;
  double y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};
static_assert(sizeof(Point) == 16, "a point is two doubles, as in the stored coordinates");

// A bounding box. The empty box has its minimum at the largest double and its maximum at the lowest
// (most negative) one, so that any point widens it, whatever its sign.
struct Box {
  double minx = std::numeric_limits<double>::max();
  double miny = std::numeric_limits<double>::max();
  double maxx = std::numeric_limits<double>::lowest();
  double maxy = std::numeric_limits<double>::lowest();

  static Box Of(double minx, double miny, double maxx, double maxy) { return {minx, miny, maxx, maxy}; }

  // True while nothing has widened it (or it was built inverted).
  bool IsEmpty() const { return minx > maxx || miny > maxy; }

  void Widen(double x, double y) {
    minx = std::min(minx, x);
    miny = std::min(miny, y);
    maxx = std::max(maxx, x);
    maxy = std::max(maxy, y);
  }
  void Widen(const Point& p) { Widen(p.x, p.y); }
  void Widen(const Box& other) {
    minx = std::min(minx, other.minx);
    miny = std::min(miny, other.miny);
    maxx = std::max(maxx, other.maxx);
    maxy = std::max(maxy, other.maxy);
  }

  // Boxes meet when they share at least a point (edges included).
  bool Meets(const Box& other) const {
    return !(maxx < other.minx || maxy < other.miny || minx > other.maxx || miny > other.maxy);
  }
  bool Contains(double x, double y) const { return x >= minx && x <= maxx && y >= miny && y <= maxy; }
  bool Contains(const Box& other) const {
    return other.minx >= minx && other.maxx <= maxx && other.miny >= miny && other.maxy <= maxy;
  }

  friend bool operator==(const Box&, const Box&) = default;
};

}  // namespace viamappa
