// Small rings the geometry tests share.
#pragma once

#include <algorithm>
#include <vector>

#include "geom/PointArray.h"

namespace viamappa::test::shapes {

inline PointArray Ring(std::vector<Point> points) {
  return PointArray(std::move(points));
}

// A closed square ring from its lower-left corner, counter-clockwise unless asked.
inline PointArray Square(double x, double y, double side, bool clockwise = false) {
  std::vector<Point> ring = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
  if (clockwise) std::reverse(ring.begin(), ring.end());
  return Ring(ring);
}

}  // namespace viamappa::test::shapes
