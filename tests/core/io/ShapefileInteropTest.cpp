// Our sets read by GDAL's tools, and sets written by GDAL read by us. Skipped where the tools are missing.
#include <gtest/gtest.h>

#include <fstream>

#include "core/geom/GeometryTestShapes.h"
#include "core/io/ShapefileReadBack.h"
#include "io/ShapefileWriter.h"
#include "support/GdalTools.h"
#include "support/TempDir.h"

namespace viamappa {
namespace {

using test::shapes::Square;
using testing::Quoted;
using testing::RunTool;

class ShapefileInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::GdalToolsPresent()) GTEST_SKIP() << "GDAL's ogrinfo and ogr2ogr are not installed";
  }

  // What ogrinfo tells of a set (its summary only, or every feature), which must hold every text given.
  void ExpectOgrinfoShows(const std::string& file, bool summary, std::initializer_list<std::string> texts) {
    int status = 0;
    const std::string output =
        RunTool(std::string("ogrinfo -al ") + (summary ? "-so " : "-q ") + Quoted(dir_.File(file)), &status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    EXPECT_EQ(output.find("Warning"), std::string::npos) << output;
    for (const std::string& text : texts)
      EXPECT_NE(output.find(text), std::string::npos) << text << "\n" << output;
  }

  // A set written by ogr2ogr from GeoJSON, read back by our reader.
  test::ReadBackSet ReadGdalSet(const std::string& name, const std::string& geojson) {
    std::ofstream(dir_.File(name + ".geojson")) << geojson;
    int status = 0;
    const std::string log = RunTool("ogr2ogr -f 'ESRI Shapefile' " + Quoted(dir_.File(name + ".shp")) + " " +
                                        Quoted(dir_.File(name + ".geojson")),
                                    &status);
    EXPECT_EQ(status, 0) << log;
    return test::ReadBack(dir_.File(name));
  }

  testing::TempDir dir_;
};

TEST_F(ShapefileInteropTest, GdalReadsOurPolylinesWithFieldsAndAccents) {
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir_.File("grafo.shp")));
  ASSERT_TRUE(writer.AddField("DENOM", 'C', 60));
  ASSERT_TRUE(writer.AddField("CODICE", 'N', 9));
  ASSERT_TRUE(writer.AddField("PIAZZA", 'C', 1));
  ASSERT_TRUE(
      writer.AddPolyline({"VIA DELL'UNIVERSITÀ", "12", "N"},
                         PointArray({{600000.25, 5000000.5}, {600010, 5000001}, {600020.75, 5000003.5}})));
  ASSERT_TRUE(writer.AddPolyline({"PIAZZA SANT'ANNA perché € œ", "-7", "S"}, PointArray()));
  ASSERT_TRUE(writer.AddPolyline({"", "", ""}, PointArray({{1, 2}, {3, 4}})));
  ASSERT_EQ(writer.Finish(), 3);
  ExpectOgrinfoShows("grafo.shp", true,
                     {"Geometry: Line String", "Feature Count: 3",
                      "Extent: (1.000000, 2.000000) - (600020.750000, 5000003.500000)",
                      "DENOM: String (60.0)", "CODICE: Integer (9.0)", "PIAZZA: String (1.0)"});
  // The .cpg names the code page.
  ExpectOgrinfoShows(
      "grafo.shp", false,
      {"DENOM (String) = VIA DELL'UNIVERSITÀ\n",
       "LINESTRING (600000.25 5000000.5,600010 5000001,600020.75 5000003.5)",
       "DENOM (String) = PIAZZA SANT'ANNA perché € œ\n", "CODICE (Integer) = -7", "LINESTRING (1 2,3 4)"});
}

TEST_F(ShapefileInteropTest, GdalReadsOurPolygonsWithHolesAndSeveralAreas) {
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir_.File("COMUNI.SHP")));
  ASSERT_TRUE(writer.AddField("DENOM", 'C', 40));
  ASSERT_TRUE(writer.AddField("ISTAT", 'N', 10));
  ASSERT_TRUE(writer.AddPolygon({"Città di Prova", "22001"}, {Square(0, 0, 10, true), Square(2, 2, 2)}));
  ASSERT_TRUE(writer.AddPolygon({"Sant'Orsola", "22002"}, {Square(20, 0, 5, true), Square(2, 2, 2, true)}));
  ASSERT_EQ(writer.Finish(), 2);
  ExpectOgrinfoShows("COMUNI.SHP", false,
                     {"DENOM (String) = Città di Prova", "ISTAT (Integer64) = 22001",
                      "POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))",
                      "MULTIPOLYGON (((20 0,20 5,25 5,25 0,20 0)),((2 2,2 4,4 4,4 2,2 2)))"});
}

TEST_F(ShapefileInteropTest, WeReadGdalPolylinesWithLowerCaseNamesDecimalsAndNullShapes) {
  const test::ReadBackSet set = ReadGdalSet("strade", R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"denom":"VIA DELL'UNIVERSITÀ","prezzo":12.5,"num":7},
 "geometry":{"type":"MultiLineString","coordinates":[[[1,2],[3,4],[5,4]],[[10,10],[11,12]],[[20,20],[21,21]]]}},
{"type":"Feature","properties":{"denom":"perché","prezzo":-3.25,"num":null},"geometry":null},
{"type":"Feature","properties":{"denom":"x","prezzo":0,"num":1},"geometry":{"type":"LineString","coordinates":[[7.125,8],[9,10]]}}
]})");
  ASSERT_EQ(set.records.size(), 3u);
  EXPECT_EQ(set.records[0].shape.shape_type, 3);
  EXPECT_EQ(set.records[0].shape.polyline.points(), (std::vector<Point>{{1, 2}, {3, 4}, {5, 4}}))
      << "first part only";
  EXPECT_FALSE(set.records[1].shape.has_geometry);
  EXPECT_EQ(set.records[1].shape.shape_type, 0);
  EXPECT_EQ(set.records[2].shape.polyline.points(), (std::vector<Point>{{7.125, 8}, {9, 10}}));
  std::vector<std::string> names;
  for (const test::ReadBackRecord& record : set.records) names.push_back(record.values.at("DENOM"));
  EXPECT_EQ(names, (std::vector<std::string>{"VIA DELL'UNIVERSITÀ", "perché", "x"}));
  EXPECT_DOUBLE_EQ(std::stod(set.records[0].values.at("PREZZO")), 12.5);
  EXPECT_EQ(std::stoi(set.records[0].values.at("NUM")), 7);
}

}  // namespace
}  // namespace viamappa
