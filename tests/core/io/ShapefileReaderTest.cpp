#include "io/ShapefileReader.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <filesystem>
#include <optional>

#include "core/io/ShapefileTestBytes.h"
#include "support/NetworkBuilder.h"
#include "support/TempDir.h"

namespace viamappa {
namespace {

using namespace test;
using testing::TempDir;

const std::vector<DbfSpec> kOneField = {{"DENOM", 'C', 4}};

// A table of kOneField with count blank records: one for each index record.
std::string BlankTable(int count) {
  return DbfFile(kOneField, std::vector<std::string>(static_cast<std::size_t>(count), "     "));
}

// Reads every shape record until the reader stops: the records read, and whether it stopped before
// the count given.
std::vector<ShapeRecord> ReadShapes(ShapefileReader& reader, std::int64_t count = 1000) {
  std::vector<ShapeRecord> shapes;
  EXPECT_TRUE(reader.RewindShapes());
  ShapeRecord shape;
  for (std::int64_t i = 0; i < count && reader.NextShape(shape); ++i) shapes.push_back(shape);
  return shapes;
}

// Bytes the C library's allocator has handed out; a sanitizer that keeps its own heap shows none.
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

std::string PolylineContent(std::vector<Point> points) {
  return ShapeContent(3, {0}, points);
}

const auto Ring = testing::NetworkBuilder::Square;

TEST(ShapefileReaderTest, FieldValuesAreTheRawBytesUpToTheFirstZero) {
  const std::string record = std::string(" ab ") + std::string("x\0y", 3) + "123";
  // Blanks stay; a field reaching past the record has no value.
  const std::pair<int, const char*> cases[] = {{0, "ab "}, {3, "x"}, {6, "123"}, {8, ""}};
  for (const auto& [offset, value] : cases)
    EXPECT_EQ(ShapefileReader::FieldValue(record, DbfField{"A", 'C', 3, 0, 3, offset}), value) << offset;
  EXPECT_EQ(ShapefileReader::FieldValue("", DbfField{"A", 'C', 3, 0, 3, 0}), "");
}

// Names are upper-cased and end at their first zero byte; a number's width counts its integer digits,
// and the field after it lies after all of its bytes. Records follow the header length read.
TEST(ShapefileReaderTest, FieldsAndAttributesFollowTheHeader) {
  const std::string rest(26, ' ');
  MemorySet set(ShpFile(3, {}), ShxFile(2),
                DbfFile({{"n", 'N', 8, 2},
                         {"denom", 'C', 4},
                         {"NUM", 'N', 3},
                         {"Giorno", 'D', 8},
                         {"memo", 'M', 10},
                         {std::string("ab\0cd", 5), 'C', 3},
                         {"ELEVENCHARS", 'C', 2}},
                        {"  1234.50ROMA" + rest, "     7.25ASTI" + rest}));
  ASSERT_TRUE(set.reader.ReadHeaders());
  EXPECT_EQ(set.reader.record_count(), 2);
  EXPECT_EQ(set.reader.dbf_header_length(), 32 + 7 * 32 + 1);
  EXPECT_EQ(set.reader.dbf_record_length(), 39);
  std::vector<std::string> fields;
  for (const DbfField& f : set.reader.fields())
    fields.push_back(f.name + " " + std::to_string(f.offset) + " " + std::to_string(f.width) + " " +
                     std::to_string(f.decimals));
  EXPECT_EQ(fields, (std::vector<std::string>{"N 0 5 2", "DENOM 8 4 0", "NUM 12 3 0", "GIORNO 15 8 0",
                                              "MEMO 23 0 0", "AB 33 3 0", "ELEVENCHARS 36 2 0"}));
  EXPECT_EQ(set.reader.FindField("denom"), nullptr) << "the look-up is exact";
  const DbfField* denom = set.reader.FindField("DENOM");
  ASSERT_NE(denom, nullptr);
  for (int pass = 0; pass < 2; ++pass) {  // a second pass reads the same records
    ASSERT_TRUE(set.reader.RewindAttributes());
    std::vector<std::string> names;
    for (std::string record; set.reader.NextAttributes(record);)
      names.emplace_back(ShapefileReader::FieldValue(record, *denom));
    EXPECT_EQ(names, (std::vector<std::string>{"ROMA", "ASTI"}));
  }
}

TEST(ShapefileReaderTest, HeadersAreRefusedOnAnyFault) {
  const std::string shp = ShpFile(3, {PolylineContent({{1, 1}, {2, 2}})});
  const std::string dbf = DbfFile(kOneField, {" ROMA"});
  struct Case {
    const char* what;
    std::string shp, shx, dbf;
  };
  std::string bad_version = dbf;
  bad_version[0] = '\x83';
  const std::vector<Case> cases = {
      {"wrong .SHP file code", MainHeader(50, 3, 9995), ShxFile(1), dbf},
      {"wrong .SHX file code", shp, MainHeader(54, 3, 0x0A270000), dbf},
      {"short .SHP header", shp.substr(0, 99), ShxFile(1), dbf},
      {"short .SHX header", shp, ShxFile(1).substr(0, 60), dbf},
      {".SHX shorter than its length says", shp, ShxFile(2).substr(0, 115), dbf},
      {"DBF of dBASE III with memo", shp, ShxFile(1), bad_version},
      {"short DBF header", shp, ShxFile(1), dbf.substr(0, 31)},
      {"short field descriptor", shp, ShxFile(1), dbf.substr(0, 50)},
      {"fields longer than the record", shp, ShxFile(1),
       dbf.substr(0, 10) + std::string("\x02\0", 2) + dbf.substr(12)},
      {"DBF with fewer records than the index", shp, ShxFile(2), dbf},
      {"empty files", "", "", ""},
  };
  for (const Case& c : cases) {
    MemorySet set(c.shp, c.shx, c.dbf);
    EXPECT_FALSE(set.reader.ReadHeaders()) << c.what;
    EXPECT_FALSE(set.reader.error().empty()) << c.what;
  }
  MemorySet good(shp, ShxFile(1), dbf);
  EXPECT_TRUE(good.reader.ReadHeaders());
}

TEST(ShapefileReaderTest, IndexLengthCountsRecordsOfFourWords) {
  const std::pair<int, int> cases2[] = {{50, 0}, {54, 1}, {55, 2}, {0, 0}, {-8, 0}};
  for (const auto& [words, count] : cases2) {
    std::string shx = MainHeader(words, 3) + std::string(16, '\0');
    MemorySet set(ShpFile(3, {}), shx, BlankTable(count));
    ASSERT_TRUE(set.reader.ReadHeaders()) << words;
    EXPECT_EQ(set.reader.record_count(), count) << words;
  }
}

TEST(ShapefileReaderTest, PolylinesKeepTheirFirstPartAndNullShapesYieldNothing) {
  const std::vector<Point> three_parts = {{1, 1}, {2, 2}, {3, 1}, {10, 10}, {11, 11}, {20, 20}, {21, 22}};
  MemorySet set(ShpFile(3, {ShapeContent(3, {0, 3, 5}, three_parts), NullContent(),
                            PolylineContent({{5, 6}, {7, 8}}), ShapeContent(1, {}, {}),
                            ShapeContent(3, {}, {{1, 1}}), ShapeContent(3, {0, 0}, {{1, 1}, {2, 2}})}),
                ShxFile(6), BlankTable(6));
  ASSERT_TRUE(set.reader.ReadHeaders());
  const std::vector<ShapeRecord> shapes = ReadShapes(set.reader);
  ASSERT_EQ(shapes.size(), 6u);
  EXPECT_TRUE(shapes[0].has_geometry);
  EXPECT_EQ(shapes[0].polyline.points(), (std::vector<Point>{{1, 1}, {2, 2}, {3, 1}}));
  EXPECT_EQ(shapes[0].polyline.box(), Box::Of(1, 1, 3, 2));
  EXPECT_EQ(shapes[1].shape_type, 0);
  EXPECT_FALSE(shapes[1].has_geometry);
  EXPECT_TRUE(shapes[1].polyline.empty()) << "nothing is left over from the record before";
  EXPECT_TRUE(shapes[2].has_geometry) << "the record after a null shape is read at its place";
  EXPECT_EQ(shapes[2].polyline.front(), (Point{5, 6}));
  EXPECT_EQ(shapes[3].shape_type, 1);
  EXPECT_FALSE(shapes[3].has_geometry);
  EXPECT_FALSE(shapes[4].has_geometry) << "no part";
  EXPECT_FALSE(shapes[5].has_geometry) << "an empty first part";
}

// Lines and areas with Z or M values read as their plain type: the X and Y of their points, the values
// that follow them left aside.
TEST(ShapefileReaderTest, ZAndMTypesReadAsTheirPlainType) {
  const std::vector<Point> line = {{1, 1}, {2, 2}};
  const std::vector<Point> ring = Ring(0, 0, 10, true);
  for (const auto& [type, plain] : {std::pair{13, 3}, {23, 3}, {15, 5}, {25, 5}}) {
    const std::vector<Point>& points = plain == 3 ? line : ring;
    // The Z or M range and values follow the points.
    const std::string content = ShapeContent(type, {0}, points) + std::string(16 + 8 * points.size(), '\0');
    MemorySet set(ShpFile(type, {content}), ShxFile(1), BlankTable(1));
    ASSERT_TRUE(set.reader.ReadHeaders()) << type;
    EXPECT_EQ(set.reader.shape_type(), plain) << type;
    const std::vector<ShapeRecord> shapes = ReadShapes(set.reader);
    ASSERT_EQ(shapes.size(), 1u) << type;
    EXPECT_EQ(shapes[0].shape_type, plain) << type;
    EXPECT_TRUE(shapes[0].has_geometry) << type;
    if (plain == 3) EXPECT_EQ(shapes[0].polyline.points(), line) << type;
    if (plain == 5) EXPECT_EQ(shapes[0].polygon[0].outer.points(), ring) << type;
  }
}

TEST(ShapefileReaderTest, PolygonRingsAreGroupedIntoAreasWithTheirHoles) {
  std::vector<Point> points = Ring(0, 0, 10, true);
  const std::vector<Point> hole = Ring(2, 2, 2, false);
  const std::vector<Point> second = Ring(20, 0, 5, true);
  points.insert(points.end(), hole.begin(), hole.end());
  points.insert(points.end(), second.begin(), second.end());
  MemorySet set(ShpFile(5, {ShapeContent(5, {0, 5, 10}, points),
                            ShapeContent(5, {0, 5, 5}, Ring(0, 0, 1, true)), ShapeContent(5, {}, {})}),
                ShxFile(3, 5), BlankTable(3));
  ASSERT_TRUE(set.reader.ReadHeaders());
  EXPECT_EQ(set.reader.shape_type(), 5);
  const std::vector<ShapeRecord> shapes = ReadShapes(set.reader);
  ASSERT_EQ(shapes.size(), 3u);
  ASSERT_EQ(shapes[0].polygon.size(), 2u);
  EXPECT_EQ(shapes[0].polygon[0].outer.points(), Ring(0, 0, 10, true));
  ASSERT_EQ(shapes[0].polygon[0].exclusions.size(), 1u);
  EXPECT_EQ(shapes[0].polygon[0].exclusions[0].points(), hole);
  EXPECT_TRUE(shapes[0].polygon[1].exclusions.empty());
  EXPECT_EQ(shapes[0].polygon[1].outer.box(), Box::Of(20, 0, 25, 5));
  ASSERT_EQ(shapes[1].polygon.size(), 1u) << "parts without points are no rings";
  EXPECT_TRUE(shapes[1].polygon[0].exclusions.empty());
  EXPECT_FALSE(shapes[2].has_geometry);
}

TEST(ShapefileReaderTest, AnIndexLongerThanTheMainFileEndsAtTheFirstShortRead) {
  std::string shp = ShpFile(3, {PolylineContent({{1, 1}, {2, 2}}), PolylineContent({{3, 3}, {4, 4}}),
                                PolylineContent({{5, 5}, {6, 6}})});
  shp.resize(shp.size() - 10);  // the third record is cut
  MemorySet set(shp, ShxFile(5), BlankTable(5));
  ASSERT_TRUE(set.reader.ReadHeaders());
  EXPECT_EQ(set.reader.record_count(), 5);
  EXPECT_EQ(ReadShapes(set.reader, 5).size(), 2u);
  EXPECT_EQ(set.reader.error(), "Il file (.shp) è troncato: il record 3 dichiara 80 byte e ne restano 70.");
}

TEST(ShapefileReaderTest, DamagedRecordsStopTheReadWithoutReadingPastThem) {
  const std::vector<Point> two = {{1, 1}, {2, 2}};
  struct Case {
    const char* what;
    std::string record;
  };
  std::string long_content = PolylineContent(two);
  const std::vector<Case> cases = {
      {"more points than the content holds", ShapeRecordBytes(1, ShapeContent(3, {0}, two, 1, 3))},
      {"more parts than the content holds", ShapeRecordBytes(1, ShapeContent(3, {0}, two, 9, 2))},
      {"negative point count", ShapeRecordBytes(1, ShapeContent(3, {0}, two, 1, -2))},
      {"negative part count", ShapeRecordBytes(1, ShapeContent(3, {0}, two, -1, 2))},
      {"part beyond the points", ShapeRecordBytes(1, ShapeContent(3, {0, 3}, two))},
      {"negative part index", ShapeRecordBytes(1, ShapeContent(5, {-1}, two))},
      {"decreasing part indexes", ShapeRecordBytes(1, ShapeContent(5, {0, 2, 1}, {{1, 1}, {2, 2}, {3, 3}}))},
      {"content shorter than the counts", ShapeRecordBytes(1, ShapeContent(3, {0}, two).substr(0, 40))},
      {"content without a shape type", ShapeRecordBytes(1, "", 0)},
      {"negative content length", ShapeRecordBytes(1, long_content, -4)},
      {"content length beyond the file", ShapeRecordBytes(1, long_content, 0x7FFFFFFF)},
      {"record header cut", std::string("\0\0\0\1\0\0", 6)},
  };
  for (const Case& c : cases) {
    // The damaged record, then a sound one that must not be reached.
    std::string shp = MainHeader(50, 3) + c.record + ShapeRecordBytes(2, PolylineContent(two));
    MemorySet set(shp, ShxFile(2), BlankTable(2));
    ASSERT_TRUE(set.reader.ReadHeaders()) << c.what;
    const std::size_t heap = HeapInUse();
    EXPECT_TRUE(ReadShapes(set.reader).empty()) << c.what;
    // The reader keeps its record buffer while it lives: one sized for the length read would show here.
    EXPECT_LT(HeapInUse(), heap + (1 << 20))
        << c.what << ": nothing is allocated for a length the file cannot hold";
  }
}

TEST(ShapefileReaderTest, RecordsLargerThanAnyBufferAreReadWhole) {
  std::vector<Point> points(300000);
  for (std::size_t i = 0; i < points.size(); ++i) points[i] = {600000.0 + i, 5000000.0 + (i % 7)};
  std::vector<Point> small = {{1, 1}, {2, 2}};
  TempDir dir;
  WriteSet(dir.File("grande"), 3, {PolylineContent(points), PolylineContent(small)}, kOneField,
           {" ROMA", " ASTI"});
  ShapefileReader reader;
  ASSERT_TRUE(reader.Open(dir.File("grande")));
  ASSERT_TRUE(reader.ReadHeaders());
  const std::vector<ShapeRecord> shapes = ReadShapes(reader);
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[0].polyline.points(), points);
  EXPECT_EQ(shapes[1].polyline.points(), small);
}

TEST(ShapefileReaderTest, OpensTheSetWhateverTheLetterCaseOfItsExtensions) {
  TempDir dir;
  const std::string shp = ShpFile(3, {PolylineContent({{1, 1}, {2, 2}})});
  WriteBytes(dir.File("misto.Shp"), shp);
  WriteBytes(dir.File("misto.shx"), ShxFile(1));
  WriteBytes(dir.File("misto.DBF"), DbfFile(kOneField, {" ROMA"}));
  WriteBytes(dir.File("MISTO.dbf"), "not the same base name");
  ShapefileReader reader;
  ASSERT_TRUE(reader.Open(dir.File("misto")));
  ASSERT_TRUE(reader.ReadHeaders());
  EXPECT_EQ(reader.record_count(), 1);
  EXPECT_EQ(ReadShapes(reader).size(), 1u);

  EXPECT_EQ(reader.code_page(), CodePage::Windows1252) << "without a .cpg";

  // A .cpg names the code page of the attributes; one the program does not know refuses the set.
  for (const auto& [cpg, page] :
       {std::pair<const char*, std::optional<CodePage>>{"UTF-8\r\n", CodePage::Utf8},
        {"ANSI 1250", CodePage::Windows1250},
        {"88591", CodePage::Latin1},
        {"EBCDIC", std::nullopt}}) {
    WriteBytes(dir.File("misto.CPG"), cpg);
    EXPECT_EQ(reader.Open(dir.File("misto")), page.has_value()) << cpg;
    if (page) EXPECT_EQ(reader.code_page(), *page) << cpg;
  }
  EXPECT_NE(reader.error().find("misto.CPG indica una codifica"), std::string::npos) << reader.error();
  std::filesystem::remove(dir.File("misto.CPG"));

  EXPECT_FALSE(reader.Open(dir.File("Misto"))) << "the base name itself keeps its letter case";
  EXPECT_FALSE(reader.ReadHeaders()) << "nothing stays open after a failed open";
  EXPECT_FALSE(reader.RewindShapes());
}

}  // namespace
}  // namespace viamappa
