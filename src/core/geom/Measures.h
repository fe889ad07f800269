// Lengths, areas, centroids and label points.
#pragma once

#include <vector>

#include "geom/PointArray.h"

namespace viamappa {

// The sum of the distances between consecutive points.
double Length(const PointArray& line);

// 0.5 x the sum of x_i y_(i+1) - x_(i+1) y_i, the last point pairing with the first: negative for a
// clockwise ring.
double SignedArea(const PointArray& ring);
double Area(const PointArray& ring);
bool IsClockwise(const PointArray& ring);

// The outer ring's area less the areas of the exclusion rings.
double Area(const AreaPart& part);

// The centroid of a ring, whatever its orientation (coordinates are positive). A ring of no area gives
// its first point, or (0, 0) without points.
Point Centroid(const PointArray& ring);

// The centroid of the outer ring of the largest part (the first of equal ones); (0, 0) without parts.
Point LabelPoint(const AreaFeature& feature);

}  // namespace viamappa
