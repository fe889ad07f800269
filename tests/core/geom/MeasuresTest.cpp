#include "geom/Measures.h"

#include <gtest/gtest.h>

#include "core/geom/GeometryTestShapes.h"

namespace viamappa {
namespace {

using test::shapes::Ring;
using test::shapes::Square;

TEST(MeasuresTest, OrientationAreaAndCentroid) {
  const PointArray ccw = Square(100, 100, 10);
  const PointArray cw = Square(100, 100, 10, true);
  EXPECT_DOUBLE_EQ(SignedArea(cw), -100);
  EXPECT_TRUE(IsClockwise(cw));
  EXPECT_FALSE(IsClockwise(ccw));
  EXPECT_EQ(Centroid(ccw), (Point{105, 105}));
  EXPECT_EQ(Centroid(cw), (Point{105, 105}));
  EXPECT_DOUBLE_EQ(Length(ccw), 40);
  EXPECT_DOUBLE_EQ(Area(AreaPart{ccw, {Square(102, 102, 2)}}), 96);
  // A ring without area keeps its label on its first point instead of dividing by zero.
  EXPECT_EQ(Centroid(Ring({{5, 5}, {6, 6}, {5, 5}})), (Point{5, 5}));
}

TEST(MeasuresTest, TheLabelGoesToTheLargestPart) {
  AreaFeature feature{7, {}};
  EXPECT_EQ(LabelPoint(feature), (Point{0, 0}));
  feature.parts.push_back({Square(0, 0, 2), {}});
  feature.parts.push_back({Square(100, 100, 10), {}});
  feature.parts.push_back({Square(200, 200, 10), {}});
  EXPECT_EQ(LabelPoint(feature), (Point{105, 105})) << "the first of two equal parts";
  // A large part full of holes is smaller than its box.
  feature.parts[1].exclusions.push_back(Square(101, 101, 8));
  EXPECT_EQ(LabelPoint(feature), (Point{205, 205}));
}

}  // namespace
}  // namespace viamappa
