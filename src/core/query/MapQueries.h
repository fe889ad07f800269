// What the map window keeps for its queries between commands: the highlight set it draws over the arcs
// and the fragment of the last accepted toponym search.
#pragma once

#include <string>
#include <vector>

#include "geom/PointArray.h"

namespace viamappa {

struct MapQueries {
  // Copies of the polylines of the highlighted arcs; empty when nothing is highlighted.
  std::vector<PointArray> highlights;
  // Offered again by the next toponym search.
  std::string search_text;
};

}  // namespace viamappa
