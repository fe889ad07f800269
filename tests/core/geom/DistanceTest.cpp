#include "geom/Distance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/geom/GeometryTestShapes.h"

namespace viamappa {
namespace {

using test::shapes::Ring;

TEST(DistanceTest, PerpendicularFeetAndEnds) {
  const PointArray line = Ring({{0, 0}, {10, 0}, {10, 10}});
  EXPECT_DOUBLE_EQ(DistanceToPolyline(line, 5, 3), 3);
  EXPECT_DOUBLE_EQ(DistanceToPolyline(line, 13, 5), 3) << "the vertical segment";
  EXPECT_DOUBLE_EQ(DistanceToPolyline(line, -3, -4), 5) << "beyond the start: the first point";
  EXPECT_DOUBLE_EQ(DistanceToPolyline(Ring({{0, 0}, {10, 10}}), 0, 10), std::sqrt(50.0));
  const Box everywhere = Box::Of(-100, -100, 100, 100);
  EXPECT_DOUBLE_EQ(DistanceToPolylineWithin(line, 5, 3, everywhere), 3);
  EXPECT_EQ(DistanceToPolylineWithin(line, -3, -4, everywhere), std::numeric_limits<double>::max())
      << "vertices alone do not pick";
  EXPECT_EQ(DistanceToPolylineWithin(line, 5, 3, Box::Of(50, 50, 60, 60)),
            std::numeric_limits<double>::max());
}

}  // namespace
}  // namespace viamappa
