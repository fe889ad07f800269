#include "geom/RingGrouping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/geom/GeometryTestShapes.h"

namespace viamappa {
namespace {

using test::shapes::Square;

TEST(RingGroupingTest, ClockwiseRingsOpenDistinctAreas) {
  const std::vector<PointArray> rings = {Square(0, 0, 10, true), Square(2, 2, 1), Square(20, 0, 10, true),
                                         Square(22, 2, 1), Square(24, 4, 1)};
  std::vector<std::string> places;
  for (const RingPlace& place : PlaceRings(rings))
    places.push_back(std::to_string(place.sub) + "/" + std::to_string(place.excl));
  EXPECT_EQ(places, (std::vector<std::string>{"0/0", "0/1", "1/0", "1/1", "1/2"}));
  // The first ring opens an area whatever its orientation.
  EXPECT_EQ(GroupRings({Square(0, 0, 10), Square(2, 2, 1)}).size(), 1u);
}

}  // namespace
}  // namespace viamappa
