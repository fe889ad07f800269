#include "io/ShapefileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/io/ShapefileReadBack.h"
#include "core/io/ShapefileTestBytes.h"
#include "support/NetworkBuilder.h"
#include "support/TempDir.h"

namespace viamappa {
namespace {

using testing::Hex;

// The 36 bytes of a main header from the file code to the shape type, for a file length in words.
std::string HeaderStart(int words, int shape_type) {
  return test::MainHeader(words, shape_type).substr(0, 36);
}

PointArray Line(std::vector<Point> points) {
  return PointArray(std::move(points));
}

class ShapefileWriterTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
  ShapefileWriter writer_;
};

TEST_F(ShapefileWriterTest, EmptySetHasTheBoxSentinelsAndATableOfHeaderOnly) {
  ASSERT_TRUE(writer_.Create(dir_.File("vuoto.shp")));
  writer_.SetDate(2024, 3, 9);
  EXPECT_EQ(writer_.Finish(), 0);
  const std::string header = HeaderStart(50, 3) +
                             Hex("ff ff ff ff ff ff ef 7f  ff ff ff ff ff ff ef 7f"
                                 "00 00 00 00 00 00 10 00  00 00 00 00 00 00 10 00") +
                             std::string(32, '\0');
  EXPECT_EQ(testing::ReadText(dir_.File("vuoto.shp")), header);
  EXPECT_EQ(testing::ReadText(dir_.File("vuoto.shx")), header);
  EXPECT_EQ(testing::ReadText(dir_.File("vuoto.dbf")),
            Hex("03 7c 03 09  00 00 00 00  21 00  01 00") + std::string(20, '\0') + Hex("0d 1a"));
  EXPECT_EQ(testing::ReadText(dir_.File("vuoto.cpg")), "1252");
}

// A box as the header and the records hold it: minimum X and Y, then maximum X and Y.
std::string BoxBytes(const Box& box) {
  std::string out;
  for (const double value : {box.minx, box.miny, box.maxx, box.maxy}) test::AppendDouble(out, value);
  return out;
}

// Points all below zero: the box's maxima are below zero too, in both headers and in the record.
TEST_F(ShapefileWriterTest, TheBoxOfNegativePointsReachesTheRecordAndTheHeaders) {
  ASSERT_TRUE(writer_.Create(dir_.File("negativi.shp")));
  ASSERT_TRUE(writer_.AddPolyline({}, Line({{-30, -20}, {-10, -40}, {-25.5, -0.5}})));
  EXPECT_EQ(writer_.Finish(), 1);
  const std::string box = BoxBytes(Box::Of(-30, -40, -10, -0.5));
  const std::string shp = testing::ReadText(dir_.File("negativi.shp"));
  EXPECT_EQ(testing::ReadText(dir_.File("negativi.shx")).substr(36, 32), box);
  EXPECT_EQ(shp.substr(36, 32), box);
  EXPECT_EQ(shp.substr(112, 32), box) << "the record's box";
}

TEST_F(ShapefileWriterTest, TwoPointPolylineIsFortyWordsAndAdvancesFortyFour) {
  ASSERT_TRUE(writer_.Create(dir_.File("uno.shp")));
  ASSERT_TRUE(writer_.AddField("NOME", 'C', 4));
  ASSERT_TRUE(writer_.AddField("NUM", 'N', 3));
  writer_.SetDate(2001, 12, 31);
  ASSERT_TRUE(writer_.AddPolyline({"ab", "7"}, Line({{10, 20}, {30, 5}})));
  EXPECT_EQ(writer_.Finish(), 1);

  const std::string box =
      Hex("00 00 00 00 00 00 24 40  00 00 00 00 00 00 14 40"
          "00 00 00 00 00 00 3e 40  00 00 00 00 00 00 34 40");
  const std::string record = Hex("00 00 00 01  00 00 00 28  03 00 00 00") + box +
                             Hex("01 00 00 00  02 00 00 00  00 00 00 00"
                                 "00 00 00 00 00 00 24 40  00 00 00 00 00 00 34 40"
                                 "00 00 00 00 00 00 3e 40  00 00 00 00 00 00 14 40");
  ASSERT_EQ(record.size(), 8u + 80u);
  EXPECT_EQ(testing::ReadText(dir_.File("uno.shp")),
            HeaderStart(94, 3) + box + std::string(32, '\0') + record);
  EXPECT_EQ(testing::ReadText(dir_.File("uno.shx")),
            HeaderStart(54, 3) + box + std::string(32, '\0') + Hex("00 00 00 32  00 00 00 28"));

  std::string dbf = Hex("03 65 0c 1f  01 00 00 00  61 00  08 00") + std::string(20, '\0');
  dbf += "NOME" + std::string(7, '\0') + "C" + std::string(4, '\0') + Hex("04 00") + std::string(14, '\0');
  dbf += "NUM" + std::string(8, '\0') + "N" + std::string(4, '\0') + Hex("03 00") + std::string(14, '\0');
  EXPECT_EQ(testing::ReadText(dir_.File("uno.dbf")), dbf + Hex("0d") + " ab  7  " + Hex("1a"));
}

TEST_F(ShapefileWriterTest, SiblingsFollowTheExtensionsCaseAndNeverOverwriteTheSetItself) {
  for (const std::string name : {"grafo.shp", "GRAFO.SHP", "Misto.Shp"}) {
    ShapefileWriter writer;
    ASSERT_TRUE(writer.Create(dir_.File(name)));
    EXPECT_EQ(writer.Finish(), 0);
  }
  for (const char* name : {"grafo.shx", "grafo.dbf", "grafo.cpg", "GRAFO.SHX", "GRAFO.DBF", "GRAFO.CPG",
                           "Misto.Shx", "Misto.Dbf"}) {
    EXPECT_TRUE(std::filesystem::exists(dir_.File(name))) << name;
  }
  // The table would be the geometry file, and so on.
  testing::TempDir empty;
  for (const char* name : {"grafo.dbf", "grafo.SHX", "grafo", "nessuna/cartella/grafo.shp"})
    EXPECT_FALSE(writer_.Create(empty.File(name))) << name;
  EXPECT_EQ(writer_.Finish(), -1);
  EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
}

TEST_F(ShapefileWriterTest, RefusesFieldsAndRecordsThatDoNotFit) {
  ASSERT_TRUE(writer_.Create(dir_.File("campi.shp")));
  const std::tuple<const char*, char, int> cases[] = {{"", 'C', 5},        {"UNDICILETTE", 'C', 5},
                                                      {"DATA", 'D', 8},    {"TESTO", 'C', 255},
                                                      {"NUMERO", 'N', 21}, {"ZERO", 'C', 0}};
  for (const auto& [name, type, length] : cases) EXPECT_FALSE(writer_.AddField(name, type, length)) << name;
  ASSERT_TRUE(writer_.AddField("DENOM", 'C', 5));
  EXPECT_FALSE(writer_.AddPolyline({"a", "b"}, Line({{1, 1}, {2, 2}}))) << "one value per field";
  ASSERT_TRUE(writer_.AddPolyline({"a"}, Line({{1, 1}, {2, 2}})));
  EXPECT_FALSE(writer_.AddField("TARDI", 'C', 5)) << "fields come before the first record";
  EXPECT_FALSE(writer_.AddPolygon({"a"}, {Line(testing::NetworkBuilder::Square(0, 0, 10, true))}))
      << "a set holds one shape type";
  EXPECT_EQ(writer_.Finish(), 1);
}

TEST_F(ShapefileWriterTest, AFailedWriteIsNotReportedAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", dir_.File("pieno.shp"));
  ASSERT_TRUE(writer_.Create(dir_.File("pieno.shp")));
  ASSERT_TRUE(writer_.AddField("DENOM", 'C', 10));
  std::vector<Point> points(2000);
  for (std::size_t i = 0; i < points.size(); ++i) points[i] = {1.0 + i, 2.0};
  for (int i = 0; i < 2000 && writer_.AddPolyline({"VIA"}, Line(points)); ++i) {
  }
  EXPECT_EQ(writer_.Finish(), -1);
}

TEST_F(ShapefileWriterTest, RoundTripKeepsAccentsGeometryAndRecordOrderAndCutsWhatDoesNotFit) {
  ASSERT_TRUE(writer_.Create(dir_.File("giro.shp")));
  ASSERT_TRUE(writer_.AddField("DENOM", 'C', 30));
  ASSERT_TRUE(writer_.AddField("CODICE", 'N', 9));
  ASSERT_TRUE(writer_.AddField("P", 'C', 1));
  const std::vector<Point> first = {{600000.25, 5000000.5}, {600010, 5000001}};
  ASSERT_TRUE(writer_.AddPolyline({"VIA DELL'UNIVERSITÀ", "12", "N"}, Line(first)));
  ASSERT_TRUE(writer_.AddPolyline({"perché € 日本", "-3", "SI"}, PointArray()));
  ASSERT_TRUE(writer_.AddPolyline({"una denominazione molto più lunga del campo", "1234567890", ""},
                                  Line({{1.5, 2.5}, {3.5, 4.5}, {5.5, 2.5}})));
  ASSERT_EQ(writer_.Finish(), 3);

  const test::ReadBackSet set = test::ReadBack(dir_.File("giro"));
  ASSERT_EQ(set.records.size(), 3u);
  EXPECT_EQ(set.records[0].shape.polyline.points(), first);
  EXPECT_EQ(set.records[1].shape.shape_type, 0) << "a line without points is a null shape";
  EXPECT_EQ(set.records[2].shape.polyline.box(), Box::Of(1.5, 2.5, 5.5, 4.5));
  // Values are cut to their field; what the code page cannot hold becomes "?".
  const std::vector<std::vector<std::string>> rows = {{"VIA DELL'UNIVERSITÀ", "12", "N"},
                                                      {"perché € ??", "-3", "S"},
                                                      {"una denominazione molto più lu", "123456789", ""}};
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(set.records[i].row, rows[i]);
}

}  // namespace
}  // namespace viamappa
