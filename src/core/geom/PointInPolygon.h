// Whether a point lies inside a ring, an area part or a feature, by the even-odd rule.
#pragma once

#include <vector>

#include "geom/PointArray.h"

namespace viamappa {

// Inside a closed ring: outside its box, or with fewer than 2 vertices besides the closing point,
// means outside; on the box edge the crossing rule decides.
bool PointInRing(const PointArray& ring, double x, double y);

// Inside the outer ring and inside none of the exclusion rings.
bool PointInPart(const AreaPart& part, double x, double y);

// Inside one of the feature's parts.
bool PointInFeature(const AreaFeature& feature, double x, double y);

// The first part that holds every point of the ring but its closing point; -1 for none.
int PartHoldingRing(const std::vector<AreaPart>& parts, const PointArray& ring);

}  // namespace viamappa
