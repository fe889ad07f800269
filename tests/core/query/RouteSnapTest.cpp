#include "query/RouteSnap.h"

#include <gtest/gtest.h>

#include "map/LayerNames.h"

namespace viamappa {
namespace {

LayerDefinition Definition(std::string_view name, FeatureKind kind) {
  LayerDefinition definition;
  definition.name = name;
  definition.kind = kind;
  return definition;
}

TEST(RouteSnapTest, ArcEndsThenNodesThenTheNearestFootWithItsArc) {
  LayerSet layers;
  MapLayer& arcs = layers.AddLayer(Definition(kArcLayer, FeatureKind::Line));
  // Arc 20 runs 10 m above arc 10 and comes after it in the cache.
  const std::pair<std::int32_t, std::vector<Point>> lines[] = {{10, {{1000, 1000}, {1100, 1000}}},
                                                               {20, {{1000, 1010}, {1100, 1010}}},
                                                               {30, {{1200, 1000}, {1300, 1000}}}};
  for (const auto& [id, points] : lines) arcs.AddPolyline(arcs.AddLineFeature(id), PointArray(points));
  arcs.RebuildIndexes();
  MapLayer& nodes = layers.AddLayer(Definition(kNodeLayer, FeatureKind::Point));
  nodes.AddPointFeature(1, 1000, 1000);
  nodes.AddPointFeature(9, 1500, 1500);
  nodes.RebuildIndexes();

  struct Case {
    const char* what;
    Point pointer;
    std::optional<RoutePoint> snapped;
  };
  const Case cases[] = {
      {"the first arc end in cache order, not the nearest", {1005, 1006}, RoutePoint{{1000, 1000}, 10}},
      {"an arc's last point", {1095, 1000}, RoutePoint{{1100, 1000}, 10}},
      {"a node without arcs", {1500, 1505}, RoutePoint{{1500, 1500}, std::nullopt}},
      {"the nearest foot keeps its arc", {1050, 1003}, RoutePoint{{1050, 1000}, 10}},
      {"a nearer foot on a later arc", {1050, 1008}, RoutePoint{{1050, 1010}, 20}},
      {"just inside the radius", {1250, 1014.99}, RoutePoint{{1250, 1000}, 30}},
      {"at the radius", {1250, 1015}, std::nullopt},
      {"beyond a segment's end", {1150, 1000}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SnapRoutePoint(layers, c.pointer, 15), c.snapped);
  }
}

}  // namespace
}  // namespace viamappa
