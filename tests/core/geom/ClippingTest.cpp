#include "geom/Clipping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "geom/Distance.h"
#include "geom/PointInPolygon.h"

namespace viamappa {
namespace {

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

}  // namespace
}  // namespace viamappa
