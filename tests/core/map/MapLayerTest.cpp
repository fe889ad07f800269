#include "map/MapLayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "map/LayerSet.h"

namespace viamappa {
namespace {

TEST(MapLayerTest, TheSpatialIndexFollowsEditsAndKeepsTheOrderAdded) {
  LayerSet layers;
  MapLayer& layer = layers.AddLayer({"archi", "Archi", FeatureKind::Line, {}, "", "", 0});
  for (int i = 0; i < 100; ++i) {
    const double x = (i * 37) % 100 * 10.0;
    layer.AddPolyline(layer.AddLineFeature(1000 - i), PointArray({{x, 0}, {x + 5, 5}}));
  }
  layer.RebuildIndexes();
  const auto ids = [](const std::vector<const LineFeature*>& found) {
    std::vector<std::int32_t> out;
    for (const LineFeature* f : found) out.push_back(f->id);
    return out;
  };
  const std::vector<std::int32_t> expected = {1000, 981, 954, 927};  // the lines at x = 0, 30, 20, 10
  std::vector<std::int32_t> found = ids(layer.LinesMeeting(Box::Of(0, 0, 30, 1)));
  std::sort(found.begin(), found.end(), std::greater<>());
  EXPECT_EQ(found, expected);
  const std::vector<const LineFeature*> all = layer.LinesMeeting(Box::Of(0, 0, 1000, 10));
  EXPECT_EQ(all.size(), 100u);
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end(),
                             [](const LineFeature* a, const LineFeature* b) { return a->slot < b->slot; }));

  // A feature moved, added or removed after the index was built is found where it is now.
  LineFeature* moved = layer.FindLineFeature(1000);
  ASSERT_TRUE(moved);
  moved->polylines[0] = PointArray({{5000, 5000}, {5001, 5001}});
  layer.Moved(*moved);
  EXPECT_EQ(ids(layer.LinesMeeting(Box::Of(4990, 4990, 5010, 5010))), std::vector<std::int32_t>{1000});
  EXPECT_TRUE(ids(layer.LinesMeeting(Box::Of(0, 0, 1, 1))).empty());
  layer.AddPolyline(layer.AddLineFeature(7), PointArray({{6000, 6000}, {6001, 6001}}));
  EXPECT_EQ(ids(layer.LinesMeeting(Box::Of(5990, 5990, 6010, 6010))), std::vector<std::int32_t>{7});
  const LineFeature* added = layer.FindLineFeature(7);
  ASSERT_TRUE(added) << "a feature added after the rebuild is found by identifier too";
  EXPECT_EQ(added->polylines[0].front(), (Point{6000, 6000}));
  ASSERT_TRUE(layer.RemoveLineFeature(*added));
  EXPECT_FALSE(layer.FindLineFeature(7));

  FeatureRef<LineFeature> held(layers, moved);
  EXPECT_TRUE(held);
  ASSERT_TRUE(layer.RemoveLineFeature(*moved));
  EXPECT_FALSE(held) << "a removed feature is no longer reachable";
  EXPECT_FALSE(layer.FindLineFeature(1000));
  EXPECT_TRUE(ids(layer.LinesMeeting(Box::Of(4990, 4990, 5010, 5010))).empty());
}

}  // namespace
}  // namespace viamappa
