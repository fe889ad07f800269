// The pieces of the arcs a route enters or leaves in their middle: the first arc from the start marker,
// the last arc up to the end marker, and one arc between both markers.
#pragma once

#include <optional>

#include "geom/PointArray.h"

namespace viamappa {

struct EndCut {
  enum class Kind {
    Whole,    // the route runs along all of the arc
    Piece,    // along piece only
    Nothing,  // the marker lies where the route passes to its neighbour: the arc is not used
  };
  Kind kind = Kind::Whole;
  PointArray piece;
};

// Cuts the first or the last arc of a route of several arcs at its marker. The route passes through
// the end of line that touches an end of neighbour (the arc next to it in the route); when both ends
// touch it, through the end at junction, the node the route passes, when that decides. The piece runs
// from that end to the vertex before the marker, then to the marker: a marker on the segment beyond
// its nearest vertex leaves that vertex out. Whole when the marker is the other end or no end touches
// the neighbour.
EndCut CutEndItem(const PointArray& line, const Point& marker, const PointArray& neighbour,
                  const std::optional<Point>& junction = std::nullopt);

// The piece of a route of one arc from marker a to marker b: a, the vertices between them, b.
PointArray CutBetween(const PointArray& line, const Point& a, const Point& b);

}  // namespace viamappa
