#include "map/LayerSet.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

TEST(LayerSetTest, FeatureReferencesDieWithTheirLayerSet) {
  FeatureRef<PointFeature> held;
  {
    LayerSet layers;
    MapLayer& nodes = layers.AddLayer({"nodi", "Nodi", FeatureKind::Point, {}, "", "", 0});
    held = FeatureRef<PointFeature>(layers, &nodes.AddPointFeature(1, 10, 10));
    EXPECT_EQ(held.get()->id, 1);
  }
  EXPECT_EQ(held.get(), nullptr);
}

}  // namespace
}  // namespace viamappa
