// Our sets read by GDAL's tools, and sets written by GDAL read by us. Skipped where the tools are missing.
#include <gtest/gtest.h>

#include <fstream>

#include "base/Windows1252.h"
#include "core/geom/GeometryTestShapes.h"
#include "io/ShapefileReader.h"
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

  // A set written by ogr2ogr from GeoJSON, opened by our reader.
  void ReadGdalSet(const std::string& name, const std::string& geojson, ShapefileReader& reader) {
    std::ofstream(dir_.File(name + ".geojson")) << geojson;
    int status = 0;
    const std::string log = RunTool("ogr2ogr -f 'ESRI Shapefile' " + Quoted(dir_.File(name + ".shp")) + " " +
                                        Quoted(dir_.File(name + ".geojson")),
                                    &status);
    ASSERT_EQ(status, 0) << log;
    ASSERT_TRUE(reader.Open(dir_.File(name)));
    ASSERT_TRUE(reader.ReadHeaders());
  }

  static std::vector<ShapeRecord> Shapes(ShapefileReader& reader) {
    std::vector<ShapeRecord> shapes(static_cast<std::size_t>(reader.record_count()));
    EXPECT_TRUE(reader.RewindShapes());
    for (ShapeRecord& shape : shapes) EXPECT_TRUE(reader.NextShape(shape));
    return shapes;
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
  ShapefileReader reader;
  ReadGdalSet("strade", R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"denom":"VIA DELL'UNIVERSITÀ","prezzo":12.5,"num":7},
 "geometry":{"type":"MultiLineString","coordinates":[[[1,2],[3,4],[5,4]],[[10,10],[11,12]],[[20,20],[21,21]]]}},
{"type":"Feature","properties":{"denom":"perché","prezzo":-3.25,"num":null},"geometry":null},
{"type":"Feature","properties":{"denom":"x","prezzo":0,"num":1},"geometry":{"type":"LineString","coordinates":[[7.125,8],[9,10]]}}
]})",
              reader);
  EXPECT_EQ(reader.shape_type(), 3);
  ASSERT_EQ(reader.record_count(), 3);
  const DbfField* denom = reader.FindField("DENOM");
  const DbfField* prezzo = reader.FindField("PREZZO");
  const DbfField* num = reader.FindField("NUM");
  ASSERT_TRUE(denom && prezzo && num);

  const std::vector<ShapeRecord> shapes = Shapes(reader);
  EXPECT_EQ(shapes[0].polyline.points(), (std::vector<Point>{{1, 2}, {3, 4}, {5, 4}})) << "first part only";
  EXPECT_FALSE(shapes[1].has_geometry);
  EXPECT_EQ(shapes[1].shape_type, 0);
  EXPECT_EQ(shapes[2].polyline.points(), (std::vector<Point>{{7.125, 8}, {9, 10}}));

  ASSERT_TRUE(reader.RewindAttributes());
  std::string record;
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(reader.NextAttributes(record));
    std::string name = Windows1252ToUtf8(ShapefileReader::FieldValue(record, *denom));
    names.push_back(name.erase(name.find_last_not_of(' ') + 1));
    if (i == 0) {
      EXPECT_DOUBLE_EQ(std::stod(std::string(ShapefileReader::FieldValue(record, *prezzo))), 12.5);
      EXPECT_EQ(std::stoi(std::string(ShapefileReader::FieldValue(record, *num))), 7);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"VIA DELL'UNIVERSITÀ", "perché", "x"}));
}

}  // namespace
}  // namespace viamappa
