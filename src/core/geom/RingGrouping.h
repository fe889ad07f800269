// How the rings of one polygon become distinct areas and exclusion areas.
#pragma once

#include <cstdint>
#include <vector>

#include "geom/PointArray.h"

namespace viamappa {

struct RingPlace {
  std::int32_t sub = 0;   // the distinct area, from 0
  std::int32_t excl = 0;  // 0 for its outer ring, 1, 2, ... for its exclusion rings in order
};

// The first ring opens the first distinct area; each further clockwise ring (negative signed area)
// opens the next one; any other ring is the next exclusion ring of the current area.
std::vector<RingPlace> PlaceRings(const std::vector<PointArray>& rings);

// The rings grouped by the same rule into area parts, in order.
std::vector<AreaPart> GroupRings(std::vector<PointArray> rings);

}  // namespace viamappa
