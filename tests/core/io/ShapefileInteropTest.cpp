// Our sets read by GDAL's tools, and sets written by GDAL read by us. Skipped where the tools are missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/Windows1252.h"
#include "geom/Measures.h"
#include "io/ShapefileReader.h"
#include "io/ShapefileWriter.h"
#include "support/TempDir.h"

namespace viamappa {
namespace {

using testing::TempDir;

// The command's standard output and error; status -1 when it could not be run.
std::string RunTool(const std::string& command, int* status = nullptr) {
  std::string output;
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    if (status) *status = -1;
    return output;
  }
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int result = pclose(pipe);
  if (status) *status = result;
  return output;
}

bool GdalToolsPresent() {
  int status = 0;
  RunTool("ogrinfo --version && ogr2ogr --version", &status);
  return status == 0;
}

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

PointArray Ring(double x, double y, double side, bool clockwise) {
  std::vector<Point> ring = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
  if (clockwise) std::reverse(ring.begin(), ring.end());
  return PointArray(std::move(ring));
}

class ShapefileInteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GdalToolsPresent()) GTEST_SKIP() << "GDAL's ogrinfo and ogr2ogr are not installed";
  }
  TempDir dir_;
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

  int status = 0;
  const std::string summary = RunTool("ogrinfo -so -al " + Quoted(dir_.File("grafo.shp")), &status);
  ASSERT_EQ(status, 0) << summary;
  EXPECT_NE(summary.find("Geometry: Line String"), std::string::npos) << summary;
  EXPECT_NE(summary.find("Feature Count: 3"), std::string::npos) << summary;
  EXPECT_NE(summary.find("Extent: (1.000000, 2.000000) - (600020.750000, 5000003.500000)"), std::string::npos)
      << summary;
  EXPECT_NE(summary.find("DENOM: String (60.0)"), std::string::npos) << summary;
  EXPECT_NE(summary.find("CODICE: Integer (9.0)"), std::string::npos) << summary;
  EXPECT_NE(summary.find("PIAZZA: String (1.0)"), std::string::npos) << summary;

  const std::string features = RunTool("ogrinfo -al -q " + Quoted(dir_.File("grafo.shp")), &status);
  ASSERT_EQ(status, 0) << features;
  EXPECT_EQ(features.find("ERROR"), std::string::npos) << features;
  EXPECT_EQ(features.find("Warning"), std::string::npos) << features;
  EXPECT_NE(features.find("DENOM (String) = VIA DELL'UNIVERSITÀ\n"), std::string::npos) << features;
  EXPECT_NE(features.find("LINESTRING (600000.25 5000000.5,600010 5000001,600020.75 5000003.5)"),
            std::string::npos)
      << features;
  EXPECT_NE(features.find("DENOM (String) = PIAZZA SANT'ANNA perché € œ\n"), std::string::npos)
      << "the .cpg names the code page: " << features;
  EXPECT_NE(features.find("CODICE (Integer) = -7"), std::string::npos) << features;
  EXPECT_NE(features.find("LINESTRING (1 2,3 4)"), std::string::npos) << features;
}

TEST_F(ShapefileInteropTest, GdalReadsOurPolygonsWithHolesAndSeveralAreas) {
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir_.File("COMUNI.SHP")));
  ASSERT_TRUE(writer.AddField("DENOM", 'C', 40));
  ASSERT_TRUE(writer.AddField("ISTAT", 'N', 10));
  ASSERT_TRUE(writer.AddPolygon({"Città di Prova", "22001"}, {Ring(0, 0, 10, true), Ring(2, 2, 2, false)}));
  ASSERT_TRUE(writer.AddPolygon({"Sant'Orsola", "22002"}, {Ring(20, 0, 5, true), Ring(2, 2, 2, true)}));
  ASSERT_EQ(writer.Finish(), 2);

  int status = 0;
  const std::string features = RunTool("ogrinfo -al -q " + Quoted(dir_.File("COMUNI.SHP")), &status);
  ASSERT_EQ(status, 0) << features;
  EXPECT_EQ(features.find("ERROR"), std::string::npos) << features;
  EXPECT_NE(features.find("DENOM (String) = Città di Prova"), std::string::npos) << features;
  EXPECT_NE(features.find("ISTAT (Integer64) = 22001"), std::string::npos) << features;
  EXPECT_NE(features.find("POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))"), std::string::npos)
      << features;
  EXPECT_NE(features.find("MULTIPOLYGON (((20 0,20 5,25 5,25 0,20 0)),((2 2,2 4,4 4,4 2,2 2)))"),
            std::string::npos)
      << features;
}

TEST_F(ShapefileInteropTest, GdalReadsAnEmptySet) {
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir_.File("vuoto.shp")));
  ASSERT_TRUE(writer.AddField("DENOM", 'C', 10));
  ASSERT_EQ(writer.Finish(), 0);
  int status = 0;
  const std::string summary = RunTool("ogrinfo -so -al " + Quoted(dir_.File("vuoto.shp")), &status);
  ASSERT_EQ(status, 0) << summary;
  EXPECT_NE(summary.find("Feature Count: 0"), std::string::npos) << summary;
  EXPECT_NE(summary.find("DENOM: String (10.0)"), std::string::npos) << summary;
}

TEST_F(ShapefileInteropTest, WeReadGdalPolylinesWithLowerCaseNamesDecimalsAndNullShapes) {
  std::ofstream(dir_.File("strade.geojson")) << R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"denom":"VIA DELL'UNIVERSITÀ","prezzo":12.5,"num":7},
 "geometry":{"type":"MultiLineString","coordinates":[[[1,2],[3,4],[5,4]],[[10,10],[11,12]],[[20,20],[21,21]]]}},
{"type":"Feature","properties":{"denom":"perché","prezzo":-3.25,"num":null},"geometry":null},
{"type":"Feature","properties":{"denom":"x","prezzo":0,"num":1},"geometry":{"type":"LineString","coordinates":[[7.125,8],[9,10]]}}
]})";
  int status = 0;
  const std::string log = RunTool("ogr2ogr -f 'ESRI Shapefile' " + Quoted(dir_.File("strade.shp")) + " " +
                                      Quoted(dir_.File("strade.geojson")),
                                  &status);
  ASSERT_EQ(status, 0) << log;

  ShapefileReader reader;
  ASSERT_TRUE(reader.Open(dir_.File("strade")));
  ASSERT_TRUE(reader.ReadHeaders());
  EXPECT_EQ(reader.shape_type(), 3);
  ASSERT_EQ(reader.record_count(), 3);
  const DbfField* denom = reader.FindField("DENOM");
  const DbfField* prezzo = reader.FindField("PREZZO");
  const DbfField* num = reader.FindField("NUM");
  ASSERT_TRUE(denom && prezzo && num);
  EXPECT_EQ(prezzo->type, 'N');
  EXPECT_GT(prezzo->decimals, 0);
  EXPECT_EQ(prezzo->width, prezzo->length - prezzo->decimals - 1);
  EXPECT_EQ(num->offset, prezzo->offset + prezzo->length);

  ASSERT_TRUE(reader.RewindShapes());
  std::vector<ShapeRecord> shapes(3);
  for (ShapeRecord& shape : shapes) ASSERT_TRUE(reader.NextShape(shape));
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
    names.push_back(name.substr(0, name.find_last_not_of(' ') + 1));
    if (i == 0) {
      const std::string value(ShapefileReader::FieldValue(record, *prezzo));
      EXPECT_DOUBLE_EQ(std::stod(value), 12.5) << value;
      EXPECT_EQ(std::stoi(std::string(ShapefileReader::FieldValue(record, *num))), 7);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"VIA DELL'UNIVERSITÀ", "perché", "x"}));
}

TEST_F(ShapefileInteropTest, WeReadGdalPolygonsWithHolesAndSeveralAreas) {
  // Rings in GeoJSON order (outer counter-clockwise); GDAL writes outer rings clockwise.
  std::ofstream(dir_.File("aree.geojson")) << R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"istat":22001},"geometry":{"type":"Polygon","coordinates":[
  [[0,0],[10,0],[10,10],[0,10],[0,0]],[[2,2],[2,4],[4,4],[4,2],[2,2]],[[6,6],[6,8],[8,8],[8,6],[6,6]]]}},
{"type":"Feature","properties":{"istat":22002},"geometry":{"type":"MultiPolygon","coordinates":[
  [[[20,0],[30,0],[30,10],[20,10],[20,0]],[[22,2],[22,4],[24,4],[24,2],[22,2]]],
  [[[40,0],[45,0],[45,5],[40,5],[40,0]]]]}},
{"type":"Feature","properties":{"istat":22003},"geometry":null}
]})";
  int status = 0;
  const std::string log = RunTool("ogr2ogr -f 'ESRI Shapefile' " + Quoted(dir_.File("aree.shp")) + " " +
                                      Quoted(dir_.File("aree.geojson")),
                                  &status);
  ASSERT_EQ(status, 0) << log;

  ShapefileReader reader;
  ASSERT_TRUE(reader.Open(dir_.File("aree")));
  ASSERT_TRUE(reader.ReadHeaders());
  EXPECT_EQ(reader.shape_type(), 5);
  ASSERT_EQ(reader.record_count(), 3);
  ASSERT_TRUE(reader.RewindShapes());
  std::vector<ShapeRecord> shapes(3);
  for (ShapeRecord& shape : shapes) ASSERT_TRUE(reader.NextShape(shape));
  ASSERT_EQ(shapes[0].polygon.size(), 1u);
  EXPECT_EQ(shapes[0].polygon[0].exclusions.size(), 2u);
  EXPECT_DOUBLE_EQ(Area(shapes[0].polygon[0]), 100 - 4 - 4);
  ASSERT_EQ(shapes[1].polygon.size(), 2u);
  EXPECT_EQ(shapes[1].polygon[0].exclusions.size(), 1u);
  EXPECT_TRUE(shapes[1].polygon[1].exclusions.empty());
  EXPECT_EQ(shapes[1].polygon[1].outer.box(), Box::Of(40, 0, 45, 5));
  EXPECT_FALSE(shapes[2].has_geometry);
}

}  // namespace
}  // namespace viamappa
