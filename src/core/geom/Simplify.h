// Thinning a polyline to what can be seen at a given size: points closer than a tolerance to the line
// through their neighbours that are kept go (Douglas-Peucker).
#pragma once

#include <vector>

#include "base/Box.h"

namespace viamappa {

// Removes, in place, the points of a polyline that lie within tolerance of the simplified line; the
// first and the last point always stay, and no removed point is further than tolerance from the
// segment of the result that replaces it. A ring stays closed.
void SimplifyPolyline(std::vector<Point>& points, double tolerance);

}  // namespace viamappa
