#include "geom/Simplify.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace viamappa {
namespace {

double DistanceToSegment(const Point& p, const Point& a, const Point& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

TEST(SimplifyTest, KeepsEndsAndWhatShowsWithinTheTolerance) {
  const struct {
    std::vector<Point> line, kept;
  } cases[] = {
      {{{0, 0}, {1, 0.1}, {2, -0.1}, {3, 0}}, {{0, 0}, {3, 0}}},
      {{{0, 0}, {1, 0}, {2, 5}, {3, 0}, {4, 0}}, {{0, 0}, {1, 0}, {2, 5}, {3, 0}, {4, 0}}},
      // A closed ring stays closed and keeps its corners.
      {{{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}},
      {{{0, 0}, {0, 0}}, {{0, 0}, {0, 0}}},
  };
  for (auto c : cases) {
    SimplifyPolyline(c.line, 0.5);
    EXPECT_EQ(c.line, c.kept) << c.kept.size();
  }
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
