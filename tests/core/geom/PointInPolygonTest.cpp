#include "geom/PointInPolygon.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/geom/GeometryTestShapes.h"

namespace viamappa {
namespace {

using test::shapes::Ring;
using test::shapes::Square;

TEST(PointInPolygonTest, TheEvenOddRuleOnEdgesAndVertices) {
  const PointArray square = Square(0, 0, 10);
  // On the box edge the crossing rule decides: left and bottom edges are in, right and top out.
  const std::tuple<double, double, bool> cases[] = {{5, 5, true}, {15, 5, false}, {0, 5, true},
                                                    {5, 0, true}, {10, 5, false}, {5, 10, false},
                                                    {0, 0, true}, {10, 10, false}};
  for (const auto& [x, y, in] : cases) EXPECT_EQ(PointInRing(square, x, y), in) << x << " " << y;
  // Degenerate rings are never inside.
  EXPECT_FALSE(PointInRing(Ring({{0, 0}, {10, 10}}), 5, 5));
  EXPECT_FALSE(PointInRing(Ring({{0, 0}, {10, 10}, {0, 0}}), 5, 5));
  // A stored box rounded inside the true extent keeps a point on the true extent out.
  const PointArray rounded({{0.004, 0}, {10, 0}, {10, 10}, {0.004, 10}, {0.004, 0}},
                           Box::Of(0.01, 0, 10, 10));
  EXPECT_FALSE(PointInRing(rounded, 0.005, 5));
}

TEST(PointInPolygonTest, HolesAndDistinctAreas) {
  const AreaPart first{Square(0, 0, 10), {Square(4, 4, 2)}};
  const AreaPart second{Square(20, 0, 10), {}};
  const AreaFeature feature{1, {first, second}};
  EXPECT_TRUE(PointInFeature(feature, 1, 1));
  EXPECT_FALSE(PointInFeature(feature, 5, 5)) << "in the hole";
  EXPECT_TRUE(PointInFeature(feature, 25, 5));
  EXPECT_EQ(PartHoldingRing(feature.parts, Square(22, 2, 1)), 1);
  EXPECT_EQ(PartHoldingRing(feature.parts, Square(8, 8, 5)), -1) << "sticks out of every part";
}

}  // namespace
}  // namespace viamappa
