#include "geom/PointArray.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/geom/GeometryTestShapes.h"

namespace viamappa {
namespace {

using test::shapes::Square;

TEST(PointArrayTest, EditsKeepTheBoxAndIgnoreBadIndexes) {
  PointArray line(2);
  line.SetPoint(0, 10, 20);
  line.SetPoint(1, 30, 5);
  line.SetPoint(2, 99, 99);
  line.SetPoint(-1, 99, 99);
  EXPECT_EQ(line.box(), Box::Of(10, 5, 30, 20)) << "the box grows with the points set";
  double x = 0, y = 0;
  EXPECT_FALSE(line.GetPoint(2, x, y));
  line.InsertPoint(2, 50, 60);  // at the end
  line.InsertPoint(0, 5, 5);
  line.InsertPoint(9, 1, 1);
  EXPECT_EQ(line.points(), (std::vector<Point>{{5, 5}, {10, 20}, {30, 5}, {50, 60}}));
  EXPECT_EQ(line.box(), Box::Of(5, 5, 50, 60));
  EXPECT_FALSE(line.IsClosed());
  EXPECT_TRUE(Square(0, 0, 1).IsClosed());
}

}  // namespace
}  // namespace viamappa
