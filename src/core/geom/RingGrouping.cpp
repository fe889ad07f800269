#include "geom/RingGrouping.h"

#include "geom/Measures.h"

namespace viamappa {

std::vector<RingPlace> PlaceRings(const std::vector<PointArray>& rings) {
  std::vector<RingPlace> places;
  places.reserve(rings.size());
  RingPlace current{-1, 0};
  for (std::size_t i = 0; i < rings.size(); ++i) {
    if (i == 0 || SignedArea(rings[i]) < 0) {
      current = {current.sub + 1, 0};
    } else {
      ++current.excl;
    }
    places.push_back(current);
  }
  return places;
}

std::vector<AreaPart> GroupRings(std::vector<PointArray> rings) {
  const std::vector<RingPlace> places = PlaceRings(rings);
  std::vector<AreaPart> parts;
  for (std::size_t i = 0; i < rings.size(); ++i) {
    if (places[i].excl == 0) {
      parts.push_back({std::move(rings[i]), {}});
    } else {
      parts.back().exclusions.push_back(std::move(rings[i]));
    }
  }
  return parts;
}

}  // namespace viamappa
