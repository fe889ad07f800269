#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "geom/Clipping.h"
#include "geom/Distance.h"
#include "geom/Measures.h"
#include "geom/PointInPolygon.h"
#include "geom/RingGrouping.h"
#include "geom/Simplify.h"

namespace viamappa {
namespace {

PointArray Ring(std::vector<Point> points) {
  return PointArray(std::move(points));
}

PointArray Square(double x, double y, double side, bool clockwise = false) {
  std::vector<Point> ring = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
  if (clockwise) std::reverse(ring.begin(), ring.end());
  return Ring(ring);
}

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

TEST(RingGroupingTest, ClockwiseRingsOpenDistinctAreas) {
  const std::vector<PointArray> rings = {Square(0, 0, 10, true), Square(2, 2, 1), Square(20, 0, 10, true),
                                         Square(22, 2, 1), Square(24, 4, 1)};
  std::vector<std::string> places;
  for (const RingPlace& place : PlaceRings(rings))
    places.push_back(std::to_string(place.sub) + "/" + std::to_string(place.excl));
  EXPECT_EQ(places, (std::vector<std::string>{"0/0", "0/1", "1/0", "1/1", "1/2"}));
  // The first ring opens an area whatever its orientation.
  EXPECT_EQ(GroupRings({Square(0, 0, 10), Square(2, 2, 1)}).size(), 1u);
  const std::vector<AreaPart> parts = GroupRings(rings);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[1].exclusions.size(), 2u);
}

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

// A random star-shaped ring around a centre, closed, in either orientation.
PointArray RandomRing(std::mt19937& random, Point centre, double radius) {
  std::uniform_real_distribution<double> unit(0.2, 1.0);
  const int n = 3 + static_cast<int>(random() % 20);
  std::vector<Point> points;
  for (int i = 0; i < n; ++i) {
    const double angle = 2 * M_PI * i / n;
    const double r = radius * unit(random);
    points.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)});
  }
  if (random() % 2) std::reverse(points.begin(), points.end());
  points.push_back(points.front());
  return PointArray(std::move(points));
}

TEST(ClippingTest, ClippedAreasKeepEveryInsidePointAndNeverLeaveTheRectangle) {
  std::mt19937 random(42);
  std::uniform_real_distribution<double> coordinate(1000, 1100);
  for (int round = 0; round < 300; ++round) {
    AreaPart part{RandomRing(random, {1050, 1050}, 40), {}};
    // Outer vertices lie at least 8 from the centre, so its edges at least 4: the hole stays inside.
    part.exclusions.push_back(RandomRing(random, {1050, 1050}, 3.9));
    const double ax = coordinate(random), bx = coordinate(random), ay = coordinate(random),
                 by = coordinate(random);
    const Box rectangle = Box::Of(std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by));
    const double tolerance = 0.5;
    const AreaClip clip = ClipAreaPart(part, rectangle, tolerance);
    const Box outer_limit = Box::Of(rectangle.minx - 1.0001, rectangle.miny - 1.0001, rectangle.maxx + 1.0001,
                                    rectangle.maxy + 1.0001);
    for (const AreaPart& piece : clip.parts) {
      EXPECT_TRUE(piece.outer.IsClosed());
      for (const Point& p : piece.outer.points()) ASSERT_TRUE(outer_limit.Contains(p.x, p.y));
    }
    // Every point of the rectangle is inside the clipped area exactly when it is inside the original.
    for (int sample = 0; sample < 200; ++sample) {
      std::uniform_real_distribution<double> sx(rectangle.minx, rectangle.maxx),
          sy(rectangle.miny, rectangle.maxy);
      const double x = sx(random), y = sy(random);
      bool clipped_inside = false;
      if (clip.outcome == AreaClip::Outcome::Whole) {
        clipped_inside = PointInPart(part, x, y);
      } else {
        for (const AreaPart& piece : clip.parts) clipped_inside = clipped_inside || PointInPart(piece, x, y);
      }
      ASSERT_EQ(clipped_inside, PointInPart(part, x, y)) << "round " << round << " at " << x << ", " << y;
    }
  }
}

TEST(ClippingTest, ClippedPolylinesKeepEveryVisiblePieceWithinTheRectangle) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(0, 100);
  for (int round = 0; round < 500; ++round) {
    std::vector<Point> points;
    for (int i = 0, n = 2 + static_cast<int>(random() % 12); i < n; ++i)
      points.push_back({coordinate(random), coordinate(random)});
    const PointArray line(points);
    const Box rectangle = Box::Of(30, 20, 70, 60);
    const std::vector<PointArray> pieces = ClipPolyline(line, rectangle);
    for (const PointArray& piece : pieces) {
      ASSERT_GE(piece.count(), 2);
      for (const Point& p : piece.points()) ASSERT_TRUE(rectangle.Contains(p.x, p.y));
    }
    // Every point of the line inside the rectangle lies on a piece.
    for (std::size_t k = 1; k < points.size(); ++k) {
      for (double t = 0.05; t < 1; t += 0.1) {
        const Point p{points[k - 1].x + t * (points[k].x - points[k - 1].x),
                      points[k - 1].y + t * (points[k].y - points[k - 1].y)};
        if (!rectangle.Contains(p.x, p.y)) continue;
        double nearest = std::numeric_limits<double>::max();
        for (const PointArray& piece : pieces)
          nearest = std::min(nearest, DistanceToPolyline(piece, p.x, p.y));
        ASSERT_LT(nearest, 1e-9) << "round " << round;
      }
    }
  }
}

double DistanceToSegment(const Point& p, const Point& a, const Point& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

TEST(SimplifyTest, KeepsEndsAndWhatShowsWithinTheTolerance) {
  std::vector<Point> straight{{0, 0}, {1, 0.1}, {2, -0.1}, {3, 0}};
  SimplifyPolyline(straight, 0.5);
  EXPECT_EQ(straight, (std::vector<Point>{{0, 0}, {3, 0}}));

  std::vector<Point> spike{{0, 0}, {1, 0}, {2, 5}, {3, 0}, {4, 0}};
  SimplifyPolyline(spike, 0.5);
  EXPECT_EQ(spike, (std::vector<Point>{{0, 0}, {1, 0}, {2, 5}, {3, 0}, {4, 0}}));

  // A closed ring stays closed and keeps its corners.
  std::vector<Point> ring{{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  SimplifyPolyline(ring, 0.5);
  EXPECT_EQ(ring, (std::vector<Point>{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));

  std::vector<Point> two{{0, 0}, {0, 0}};
  SimplifyPolyline(two, 0.5);
  EXPECT_EQ(two.size(), 2u);
}

TEST(SimplifyTest, NoRemovedPointLiesFurtherThanTheToleranceFromTheResult) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> step(-3, 3);
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<Point> line{{0, 0}};
    for (int i = 1; i < 200; ++i) line.push_back({line.back().x + 1, line.back().y + step(random)});
    std::vector<Point> thin = line;
    SimplifyPolyline(thin, 1.0);
    ASSERT_EQ(thin.front(), line.front());
    ASSERT_EQ(thin.back(), line.back());
    // Every original point is near the kept polyline (the x steps are increasing, so each point has
    // its own segment).
    std::size_t segment = 0;
    for (const Point& p : line) {
      while (segment + 1 < thin.size() - 1 && p.x > thin[segment + 1].x) ++segment;
      EXPECT_LE(DistanceToSegment(p, thin[segment], thin[segment + 1]), 1.0 + 1e-9);
    }
  }
}

}  // namespace
}  // namespace viamappa
