#include <gtest/gtest.h>
#include <unistd.h>

#include <cfloat>
#include <filesystem>

#include "base/Windows1252.h"
#include "core/io/ShapefileTestBytes.h"
#include "geom/Measures.h"
#include "io/ShapefileReader.h"
#include "io/ShapefileWriter.h"
#include "support/TempDir.h"

namespace viamappa {
namespace {

using test::ReadBytes;
using testing::TempDir;

std::string Hex(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < text.size();) {
    if (text[i] == ' ' || text[i] == '\n') {
      ++i;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return bytes;
}

// The 36 bytes of a main header from the file code to the shape type, for a file length in words.
std::string HeaderStart(int words, int shape_type) {
  std::string out = Hex("00 00 27 0a") + std::string(20, '\0');
  test::Append32(out, words, true);
  return out + Hex("e8 03 00 00") + std::string(1, static_cast<char>(shape_type)) + std::string(3, '\0');
}

PointArray Line(std::vector<Point> points) {
  return PointArray(std::move(points));
}

PointArray Square(double x, double y, double side, bool clockwise) {
  std::vector<Point> ring = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
  if (clockwise) std::reverse(ring.begin(), ring.end());
  return PointArray(std::move(ring));
}

TEST(ShapefileWriterTest, EmptySetHasTheBoxSentinelsAndATableOfHeaderOnly) {
  TempDir dir;
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir.File("vuoto.shp")));
  writer.SetDate(2024, 3, 9);
  EXPECT_EQ(writer.Finish(), 0);

  const std::string sentinels =
      Hex("ff ff ff ff ff ff ef 7f  ff ff ff ff ff ff ef 7f"
          "00 00 00 00 00 00 10 00  00 00 00 00 00 00 10 00");
  const std::string header = HeaderStart(50, 3) + sentinels + std::string(32, '\0');
  EXPECT_EQ(ReadBytes(dir.File("vuoto.shp")), header);
  EXPECT_EQ(ReadBytes(dir.File("vuoto.shx")), header);
  EXPECT_EQ(ReadBytes(dir.File("vuoto.dbf")),
            Hex("03 7c 03 09  00 00 00 00  21 00  01 00") + std::string(20, '\0') + Hex("0d 1a"));
  EXPECT_EQ(ReadBytes(dir.File("vuoto.cpg")), "1252");
}

TEST(ShapefileWriterTest, TwoPointPolylineIsFortyWordsAndAdvancesFortyFour) {
  TempDir dir;
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir.File("uno.shp")));
  ASSERT_TRUE(writer.AddField("NOME", 'C', 4));
  ASSERT_TRUE(writer.AddField("NUM", 'N', 3));
  writer.SetDate(2001, 12, 31);
  ASSERT_TRUE(writer.AddPolyline({"ab", "7"}, Line({{10, 20}, {30, 5}})));
  EXPECT_EQ(writer.Finish(), 1);

  const std::string box =
      Hex("00 00 00 00 00 00 24 40  00 00 00 00 00 00 14 40"
          "00 00 00 00 00 00 3e 40  00 00 00 00 00 00 34 40");
  const std::string record = Hex("00 00 00 01  00 00 00 28  03 00 00 00") + box +
                             Hex("01 00 00 00  02 00 00 00  00 00 00 00"
                                 "00 00 00 00 00 00 24 40  00 00 00 00 00 00 34 40"
                                 "00 00 00 00 00 00 3e 40  00 00 00 00 00 00 14 40");
  ASSERT_EQ(record.size(), 8u + 80u);
  EXPECT_EQ(ReadBytes(dir.File("uno.shp")), HeaderStart(94, 3) + box + std::string(32, '\0') + record);
  EXPECT_EQ(ReadBytes(dir.File("uno.shx")),
            HeaderStart(54, 3) + box + std::string(32, '\0') + Hex("00 00 00 32  00 00 00 28"));

  std::string dbf = Hex("03 65 0c 1f  01 00 00 00  61 00  08 00") + std::string(20, '\0');
  dbf += "NOME" + std::string(7, '\0') + "C" + std::string(4, '\0') + Hex("04 00") + std::string(14, '\0');
  dbf += "NUM" + std::string(8, '\0') + "N" + std::string(4, '\0') + Hex("03 00") + std::string(14, '\0');
  dbf += Hex("0d") + " ab  7  " + Hex("1a");
  EXPECT_EQ(ReadBytes(dir.File("uno.dbf")), dbf);
}

TEST(ShapefileWriterTest, PolygonRecordHoldsEveryRingAsAPart) {
  TempDir dir;
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir.File("area.shp")));
  ASSERT_TRUE(writer.AddPolygon({}, {Square(0, 0, 10, true), Square(2, 2, 2, false)}));
  EXPECT_FALSE(writer.AddPolyline({}, Line({{1, 1}, {2, 2}}))) << "a set holds one shape type";
  EXPECT_EQ(writer.Finish(), 1);

  const std::string shp = ReadBytes(dir.File("area.shp"));
  // 22 words of fixed content, 2 per part, 8 per point: 22 + 4 + 80.
  ASSERT_EQ(shp.size(), 100u + 8u + 212u);
  EXPECT_EQ(shp.substr(0, 36), HeaderStart(50 + 4 + 106, 5));
  EXPECT_EQ(shp.substr(100, 12), Hex("00 00 00 01  00 00 00 6a  05 00 00 00"));
  EXPECT_EQ(shp.substr(144, 16), Hex("02 00 00 00  0a 00 00 00  00 00 00 00  05 00 00 00"));
}

TEST(ShapefileWriterTest, SiblingFilesFollowTheLetterCaseOfTheExtension) {
  TempDir dir;
  for (const std::string name : {"grafo.shp", "GRAFO.SHP", "Misto.Shp"}) {
    ShapefileWriter writer;
    ASSERT_TRUE(writer.Create(dir.File(name)));
    EXPECT_EQ(writer.Finish(), 0);
  }
  for (const char* name : {"grafo.shx", "grafo.dbf", "grafo.cpg", "GRAFO.SHX", "GRAFO.DBF", "GRAFO.CPG",
                           "Misto.Shx", "Misto.Dbf"}) {
    EXPECT_TRUE(std::filesystem::exists(dir.File(name))) << name;
  }
}

TEST(ShapefileWriterTest, RefusesPathsWhoseSiblingsWouldOverwriteTheSetItself) {
  TempDir dir;
  ShapefileWriter writer;
  EXPECT_FALSE(writer.Create(dir.File("grafo.dbf"))) << "the table would be the geometry file";
  EXPECT_FALSE(writer.Create(dir.File("grafo.SHX")));
  EXPECT_FALSE(writer.Create(dir.File("grafo")));
  EXPECT_FALSE(writer.Create(dir.File("nessuna/cartella/grafo.shp")));
  EXPECT_EQ(writer.Finish(), -1);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(ShapefileWriterTest, RefusesFieldsAndRecordsThatDoNotFit) {
  TempDir dir;
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir.File("campi.shp")));
  EXPECT_FALSE(writer.AddField("", 'C', 5));
  EXPECT_FALSE(writer.AddField("UNDICILETTE", 'C', 5));
  EXPECT_FALSE(writer.AddField("DATA", 'D', 8));
  EXPECT_FALSE(writer.AddField("TESTO", 'C', 255));
  EXPECT_FALSE(writer.AddField("NUMERO", 'N', 21));
  EXPECT_FALSE(writer.AddField("ZERO", 'C', 0));
  ASSERT_TRUE(writer.AddField("DENOM", 'C', 5));
  EXPECT_FALSE(writer.AddPolyline({"a", "b"}, Line({{1, 1}, {2, 2}}))) << "one value per field";
  ASSERT_TRUE(writer.AddPolyline({"a"}, Line({{1, 1}, {2, 2}})));
  EXPECT_FALSE(writer.AddField("TARDI", 'C', 5)) << "fields come before the first record";
  EXPECT_EQ(writer.Finish(), 1);
}

TEST(ShapefileWriterTest, AFailedWriteIsNotReportedAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  std::filesystem::create_symlink("/dev/full", dir.File("pieno.shp"));
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir.File("pieno.shp")));
  ASSERT_TRUE(writer.AddField("DENOM", 'C', 10));
  std::vector<Point> points(2000);
  for (std::size_t i = 0; i < points.size(); ++i) points[i] = {1.0 + i, 2.0};
  for (int i = 0; i < 2000 && writer.AddPolyline({"VIA"}, Line(points)); ++i) {
  }
  EXPECT_EQ(writer.Finish(), -1);
}

TEST(ShapefileWriterTest, RoundTripKeepsAccentsGeometryAndRecordOrder) {
  TempDir dir;
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir.File("giro.shp")));
  ASSERT_TRUE(writer.AddField("DENOM", 'C', 30));
  ASSERT_TRUE(writer.AddField("CODICE", 'N', 9));
  ASSERT_TRUE(writer.AddField("P", 'C', 1));
  ASSERT_TRUE(writer.AddPolyline({"VIA DELL'UNIVERSITÀ", "12", "N"},
                                 Line({{600000.25, 5000000.5}, {600010, 5000001}})));
  ASSERT_TRUE(writer.AddPolyline({"perché € 日本", "-3", "SI"}, PointArray()));
  ASSERT_TRUE(writer.AddPolyline({"una denominazione molto più lunga del campo", "1234567890", ""},
                                 Line({{1.5, 2.5}, {3.5, 4.5}, {5.5, 2.5}})));
  ASSERT_EQ(writer.Finish(), 3);

  ShapefileReader reader;
  ASSERT_TRUE(reader.Open(dir.File("giro")));
  ASSERT_TRUE(reader.ReadHeaders());
  EXPECT_EQ(reader.shape_type(), 3);
  EXPECT_EQ(reader.record_count(), 3);
  const DbfField* denom = reader.FindField("DENOM");
  const DbfField* codice = reader.FindField("CODICE");
  const DbfField* p = reader.FindField("P");
  ASSERT_TRUE(denom && codice && p);
  EXPECT_EQ(codice->offset, 30);
  EXPECT_EQ(p->width, 1);

  ASSERT_TRUE(reader.RewindShapes());
  ShapeRecord shape;
  ASSERT_TRUE(reader.NextShape(shape));
  EXPECT_TRUE(shape.has_geometry);
  EXPECT_EQ(shape.polyline.points(), (std::vector<Point>{{600000.25, 5000000.5}, {600010, 5000001}}));
  ASSERT_TRUE(reader.NextShape(shape));
  EXPECT_EQ(shape.shape_type, 0) << "a line without points is a null shape";
  EXPECT_FALSE(shape.has_geometry);
  ASSERT_TRUE(reader.NextShape(shape));
  EXPECT_EQ(shape.polyline.count(), 3);
  EXPECT_EQ(shape.polyline.box(), Box::Of(1.5, 2.5, 5.5, 4.5));
  EXPECT_FALSE(reader.NextShape(shape));

  ASSERT_TRUE(reader.RewindAttributes());
  std::string record;
  const auto value = [&](const DbfField* field) {
    return Windows1252ToUtf8(ShapefileReader::FieldValue(record, *field));
  };
  ASSERT_TRUE(reader.NextAttributes(record));
  EXPECT_EQ(value(denom), "VIA DELL'UNIVERSITÀ           ");
  EXPECT_EQ(value(codice), "12       ");
  ASSERT_TRUE(reader.NextAttributes(record));
  EXPECT_EQ(ShapefileReader::FieldValue(record, *denom).substr(0, 11), "perch\xE9 \x80 ??");
  EXPECT_EQ(value(p), "S") << "cut to the field length";
  ASSERT_TRUE(reader.NextAttributes(record));
  EXPECT_EQ(value(denom), "una denominazione molto più lu");
  EXPECT_EQ(value(codice), "123456789");
  EXPECT_EQ(value(p), " ");
  EXPECT_FALSE(reader.NextAttributes(record)) << "only the end byte is left";
}

TEST(ShapefileWriterTest, PolygonRoundTripGroupsRingsIntoAreas) {
  TempDir dir;
  ShapefileWriter writer;
  ASSERT_TRUE(writer.Create(dir.File("aree.shp")));
  ASSERT_TRUE(writer.AddField("ISTAT", 'N', 10));
  ASSERT_TRUE(
      writer.AddPolygon({"22001"}, {Square(0, 0, 10, true), Square(2, 2, 2, false), Square(20, 0, 5, true)}));
  ASSERT_TRUE(writer.AddPolygon({"22002"}, {}));
  ASSERT_EQ(writer.Finish(), 2);

  ShapefileReader reader;
  ASSERT_TRUE(reader.Open(dir.File("aree")));
  ASSERT_TRUE(reader.ReadHeaders());
  EXPECT_EQ(reader.shape_type(), 5);
  ASSERT_TRUE(reader.RewindShapes());
  ShapeRecord shape;
  ASSERT_TRUE(reader.NextShape(shape));
  ASSERT_EQ(shape.polygon.size(), 2u);
  EXPECT_EQ(shape.polygon[0].exclusions.size(), 1u);
  EXPECT_TRUE(IsClockwise(shape.polygon[0].outer));
  EXPECT_EQ(shape.polygon[1].outer.box(), Box::Of(20, 0, 25, 5));
  ASSERT_TRUE(reader.NextShape(shape));
  EXPECT_FALSE(shape.has_geometry);
}

}  // namespace
}  // namespace viamappa
