#include "map/LayerSet.h"

#include <gtest/gtest.h>

#include "db/DbTable.h"
#include "geom/StoredGeometry.h"
#include "map/LayerLoader.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::Arc;
using testing::NetworkBuilder;

class LayerLoadTest : public testing::RoadNetworkTest {
 protected:
  std::vector<std::string> Names(const std::vector<MapLayer*>& layers) {
    std::vector<std::string> names;
    for (const MapLayer* layer : layers) names.push_back(layer->name());
    return names;
  }

  MapStyling styling_;
};

TEST_F(LayerLoadTest, AnEmptyDatabaseGivesEmptyLayersAndSaysWhatIsMissing) {
  LayerSet layers;
  LoadLayers(layers, db(), styling_);
  EXPECT_EQ(Names(layers.drawing_order()),
            (std::vector<std::string>{"comuni", "local", "toponvie", "archi", "nodi", "locsmall", "locmedie",
                                      "locbig", "labcomuni"}));
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);
  EXPECT_EQ(ui_.last_message().text, MissingSourcesMessage(true, true, true, true));
  EXPECT_TRUE(layers.extent.IsEmpty());
  // The street-name layer counts as a line layer with features.
  EXPECT_TRUE(layers.FindLayer("toponvie")->IsVisible(FeatureKind::Line, 50000));
  EXPECT_FALSE(layers.FindLayer("archi")->IsVisible(FeatureKind::Line, 50000)) << "no arcs";
}

TEST_F(LayerLoadTest, LayersHoldTheNetworkWithLabelsByInhabitants) {
  {
    NetworkBuilder build(db());
    // A municipality of two distinct areas, the second larger; localities around the size thresholds.
    ASSERT_TRUE(build.AddMunicipality(
        1, "Mezzovalle  ", "022001",
        {NetworkBuilder::Square(1000, 1000, 100, true), NetworkBuilder::Square(1010, 1010, 10),
         NetworkBuilder::Square(5000, 5000, 400, true)}));
    const int inhabitants[] = {499, 500, 9999, 10000};
    for (int i = 0; i < 4; ++i)
      ASSERT_TRUE(build.AddLocality(i + 1, "Frazione", "022001", inhabitants[i],
                                    {NetworkBuilder::Square(2000 + 100 * i, 2000, 50, true)}));
    ASSERT_TRUE(build.AddNode(1, 3000, 3000) && build.AddNode(2, 3100, 3050));
    ASSERT_TRUE(build.AddArc(Arc(1, 1, 2, {{3000, 3000}, {3050, 3020}, {3100, 3050}}, "VIA ROMA")));
  }
  LayerSet layers;
  LoadLayers(layers, db(), styling_);
  EXPECT_EQ(ui_.last_message().text, MissingSourcesMessage(false, false, true, false)) << "only the toponyms";

  const AreaFeature* municipality = layers.FindLayer("comuni")->FindAreaFeature(1);
  ASSERT_TRUE(municipality);
  ASSERT_EQ(municipality->parts.size(), 2u);
  EXPECT_EQ(municipality->parts[0].exclusions.size(), 1u);
  const PointFeature* label = layers.FindLayer("labcomuni")->FindPointFeature(1);
  ASSERT_TRUE(label);
  EXPECT_EQ(label->point, (Point{5200, 5200})) << "at the centroid of the larger area";
  EXPECT_EQ(label->text, "Mezzovalle");
  EXPECT_TRUE(layers.FindLayer("locsmall")->FindPointFeature(1));
  EXPECT_TRUE(layers.FindLayer("locmedie")->FindPointFeature(2));
  EXPECT_TRUE(layers.FindLayer("locmedie")->FindPointFeature(3));
  EXPECT_TRUE(layers.FindLayer("locbig")->FindPointFeature(4));
  EXPECT_FALSE(layers.FindLayer("labcomuni")->FindPointFeature(0)) << "no boundary, no label";

  const LineFeature* arc = layers.FindLayer("archi")->FindLineFeature(1);
  ASSERT_TRUE(arc);
  EXPECT_EQ(arc->polylines.at(0).count(), 3);
  EXPECT_EQ(layers.FindLayer("nodi")->point_count(), 2u);
  EXPECT_EQ(layers.extent, Box::Of(1000, 1000, 5400, 5400));
}

TEST_F(LayerLoadTest, DamagedGeometryIsShownAndLeftOut) {
  {
    NetworkBuilder build(db());
    ASSERT_TRUE(build.AddNode(1, 10, 10) && build.AddNode(2, 20, 20));
    ASSERT_TRUE(build.AddArc(Arc(1, 1, 2, {{10, 10}, {20, 20}})));
    ASSERT_TRUE(build.AddArc(Arc(2, 1, 2, {{10, 10}, {15, 12}, {20, 20}})));
    ASSERT_TRUE(build.AddArc(Arc(3, 1, 2, {})));
    ASSERT_TRUE(build.AddMunicipality(4, "Rotto", "022004", {NetworkBuilder::Square(0, 0, 10, true)}));
  }
  // Arc 2 loses a byte of its coordinates; arc 3 has no points and is no damage.
  DbTable geoarchi(db(), "geoarchi");
  ASSERT_TRUE(geoarchi.SelectIndex("codice") && geoarchi.Seek({"2"}) && geoarchi.Edit());
  const std::string short_blob(47, '\0');
  ASSERT_TRUE(geoarchi.SetBinaryField("coord", short_blob.data(), short_blob.size()) && geoarchi.Update());
  DbTable geocom(db(), "geocom");
  ASSERT_TRUE(geocom.SelectIndex("codice") && geocom.Seek({"4", "0", "0"}) && geocom.Edit() &&
              geocom.SetField("punti", "-1") && geocom.Update());
  ui_.ClearMessages();

  LayerSet layers;
  LoadLayers(layers, db(), styling_);
  // The first damaged row is shown, the others counted; damaged rows are not missing ones.
  EXPECT_EQ(
      testing::Texts(ui_),
      (std::vector<std::string>{"Comuni: Entità areale corrotta 4/0/0 !!!",
                                "Un'altra entità con la geometria corrotta non è stata caricata nella mappa.",
                                MissingSourcesMessage(false, true, true, false)}));
  // The same damage met by a record that loads its geometry on demand.
  PointArray points;
  ui_.ClearMessages();
  EXPECT_TRUE(LoadArcGeometry(geoarchi, 1, points));
  EXPECT_EQ(points.count(), 2);
  EXPECT_EQ(points.box(), Box::Of(10, 10, 20, 20));
  EXPECT_FALSE(LoadArcGeometry(geoarchi, 2, points));
  EXPECT_EQ(points.count(), 0);
  EXPECT_EQ(ui_.last_message().text, "Archi: Entità Lineare corrotta 2 !!!");
  EXPECT_FALSE(LoadArcGeometry(geoarchi, 99, points)) << "no row";

  MapLayer& archi = *layers.FindLayer("archi");
  EXPECT_TRUE(archi.FindLineFeature(1));
  EXPECT_FALSE(archi.FindLineFeature(2));
  ASSERT_TRUE(archi.FindLineFeature(3));
  EXPECT_EQ(archi.FindLineFeature(3)->polylines.at(0).count(), 0);
}

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
  EXPECT_FALSE(layer.FindLineFeature(7)) << "found by identifier only after the arrays are rebuilt";

  FeatureRef<LineFeature> held(layers, moved);
  EXPECT_TRUE(held);
  ASSERT_TRUE(layer.RemoveLineFeature(*moved));
  EXPECT_FALSE(held) << "a removed feature is no longer reachable";
  EXPECT_FALSE(layer.FindLineFeature(1000));
  EXPECT_TRUE(ids(layer.LinesMeeting(Box::Of(4990, 4990, 5010, 5010))).empty());
}

TEST(MapLayerTest, FeatureReferencesDieWithTheirLayerSet) {
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
