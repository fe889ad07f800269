// The indexed search answers what a scan of the features in list order answers.
#include "geom/AreaIndex.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace viamappa {
namespace {

int FirstByScan(const std::vector<AreaFeature>& features, const Point& p, int skip = -1) {
  for (std::size_t f = 0; f < features.size(); ++f) {
    if (static_cast<int>(f) != skip && PointInFeature(features[f], p.x, p.y)) return static_cast<int>(f);
  }
  return -1;
}

PointArray Rectangle(double x0, double y0, double x1, double y1) {
  return PointArray({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}});
}

TEST(AreaIndexTest, OverlappingPartsAndHolesGiveTheFirstFeatureOfTheList) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(0, 1000);
  std::uniform_real_distribution<double> size(5, 300);
  std::vector<AreaFeature> features;
  for (int f = 0; f < 60; ++f) {
    AreaFeature feature{f * 3 + 1, {}};
    for (int p = 0; p < 1 + f % 3; ++p) {
      const double x = coordinate(random), y = coordinate(random), w = size(random), h = size(random);
      AreaPart part{Rectangle(x, y, x + w, y + h), {}};
      if (p == 0) part.exclusions.push_back(Rectangle(x + w / 4, y + h / 4, x + w / 2, y + h / 2));
      feature.parts.push_back(std::move(part));
    }
    features.push_back(std::move(feature));
  }
  // A part whose stored box is not made of numbers is never left out by the box test; one with an
  // inverted box holds nothing.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  features[10].parts.push_back(
      {PointArray(Rectangle(400, 400, 500, 500).points(), Box::Of(nan, 0, 1000, 1000)), {}});
  features[3].parts.push_back(
      {PointArray(Rectangle(0, 0, 1000, 1000).points(), Box::Of(1000, 0, 0, 1000)), {}});

  const AreaIndex index(features);
  for (int i = 0; i < 20000; ++i) {
    const Point p{coordinate(random), coordinate(random)};
    ASSERT_EQ(index.FirstHolding(p), FirstByScan(features, p)) << p.x << " " << p.y;
    ASSERT_EQ(index.FirstHolding(p, [](int f) { return f != 10; }), FirstByScan(features, p, 10));
  }
  // A box that no accepted part may hold has none of its points held.
  for (int i = 0; i < 2000; ++i) {
    const double x = coordinate(random), y = coordinate(random), side = size(random) / 10;
    const auto odd = [](int f) { return f % 2 == 1; };
    if (index.MayHold(Box::Of(x, y, x + side, y + side), odd)) continue;
    for (const Point p : {Point{x, y}, Point{x + side, y + side}, Point{x + side / 3, y + side / 2}})
      ASSERT_EQ(index.FirstHolding(p, odd), -1) << p.x << " " << p.y;
  }
  // Points on a box edge are tested by the ring itself.
  const Point corner = features[0].parts[0].outer[0];
  EXPECT_EQ(index.FirstHolding(corner), FirstByScan(features, corner));
  EXPECT_EQ(AreaIndex(std::vector<AreaFeature>{}).FirstHolding({1, 1}), -1);
}

}  // namespace
}  // namespace viamappa
