#include "map/LayerLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/DbTable.h"
#include "geom/StoredGeometry.h"
#include "map/LayerSet.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::Arc;
using testing::NetworkBuilder;

class LayerLoadTest : public testing::RoadNetworkTest {
 protected:
  MapStyling styling_;
};

TEST_F(LayerLoadTest, AnEmptyDatabaseGivesEmptyLayersAndSaysWhatIsMissing) {
  LayerSet layers;
  LoadLayers(layers, db(), styling_);
  EXPECT_EQ(layers.drawing_order().size(), 9u);
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
  const std::pair<const char*, int> by_size[] = {
      {"locsmall", 1}, {"locmedie", 2}, {"locmedie", 3}, {"locbig", 4}};
  for (const auto& [layer, locality] : by_size)
    EXPECT_TRUE(layers.FindLayer(layer)->FindPointFeature(locality));
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

}  // namespace
}  // namespace viamappa
