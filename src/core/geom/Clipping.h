// Cutting areas and polylines to a rectangle, so that drawing at large scales handles only what shows.
#pragma once

#include <vector>

#include "geom/PointArray.h"

namespace viamappa {

struct AreaClip {
  enum class Outcome { Whole, Nothing, Clipped };
  Outcome outcome = Outcome::Nothing;
  std::vector<AreaPart> parts;  // for Clipped
};

// An area part against a rectangle: Whole when the outer ring lies within it, Nothing when the boxes
// do not meet; otherwise the outer ring is cut to the rectangle widened by 2 x tolerance on every side
// (edges rounded to four decimals), and each exclusion ring to the rectangle widened by the tolerance,
// kept in the first new part that holds it. Every output ring is closed, nothing of the area outside the
// widened rectangle remains and nothing inside it is lost.
AreaClip ClipAreaPart(const AreaPart& part, const Box& rectangle, double tolerance);

// A closed ring cut to a rectangle: one closed ring (possibly running along the rectangle's edges
// between the pieces of the area), or none when nothing of the ring's inside meets the rectangle.
PointArray ClipRing(const PointArray& ring, const Box& rectangle);

// A polyline cut to a rectangle: the pieces that lie in it, in order, each with at least two points and
// never leaving the rectangle; every part of the polyline inside the rectangle is in a piece.
std::vector<PointArray> ClipPolyline(const PointArray& line, const Box& rectangle);

}  // namespace viamappa
