#include "io/AreaImport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/io/ImportTestFiles.h"
#include "support/NetworkBuilder.h"

namespace viamappa {
namespace {

using namespace viamappa::test;
using testing::NetworkBuilder;
using AreaImportTest = ImportTest;

std::vector<Point> Rings(std::initializer_list<std::vector<Point>> rings) {
  std::vector<Point> all;
  for (const auto& ring : rings) all.insert(all.end(), ring.begin(), ring.end());
  return all;
}

TEST_F(AreaImportTest, MunicipalitiesAndLocalitiesWithTheirRings) {
  // A municipality with two holes, one with two distinct areas, a null shape.
  const auto square = NetworkBuilder::Square;
  const std::string base = WriteSet(
      dir_.File("comuni"), 5,
      {ShapeContent(5, {0, 5, 10},
                    Rings({square(0, 0, 100, true), square(10, 10, 5, false), square(50, 50, 5, false)})),
       ShapeContent(5, {0, 5}, Rings({square(200, 0, 10, true), square(300, 0, 10, true)})), NullContent(),
       Ring(square(400, 0, 10, true))},
      {{"denom", 'C', 40}, {"PROVIN", 'C', 4}, {"ISTAT", 'C', 6}},
      {" " + Padded("Mezzolombardo", 40) + "TN  022117", " " + Padded("Perch\xE9", 40) + "TN  022118",
       " " + Padded("Nulla", 40) + "TN  022119", " " + Padded("Quarto", 40) + "TN  022120"});
  const AreaImportCounts counts = ImportAreas(db(), AreaKind::Municipalities, base, ui_);
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
  EXPECT_EQ(counts.found, 3);
  EXPECT_EQ(counts.inserted, 3);
  EXPECT_EQ(counts.rings, 6);
  EXPECT_EQ(Rows("ID, denom, istat", "comuni", "", "ID"),
            (std::vector<std::string>{"0|*** Comune non assegnato ***| ", "1|Mezzolombardo|022117",
                                      "2|Perché|022118", "4|Quarto|022120"}));
  EXPECT_EQ(Rows("ID, sub, excl", "geocom", "", "ID, sub, excl"),
            (std::vector<std::string>{"1|0|0", "1|0|1", "1|0|2", "2|0|0", "2|1|0", "4|0|0"}));

  // Localities: the numeric municipality code in its six-character form.
  const std::string places = WriteSet(
      dir_.File("localita"), 5, {Ring(square(1, 1, 5, true)), Ring(square(20, 20, 5, true))}, kPlaceFields,
      {"      22117" + Padded("Centro", 40) + "         499N",
       "    1234567" + Padded("Lontano", 40) + "       10000C"});
  const AreaImportCounts local = ImportAreas(db(), AreaKind::Localities, places, ui_);
  EXPECT_EQ(local.found, 2);
  EXPECT_EQ(local.inserted, 1) << "234567 is no municipality: the relation refuses it";
  EXPECT_EQ(Rows("ID, istat, nucleo, abitanti", "local", "", "ID"),
            (std::vector<std::string>{"0| |0|0", "1|022117|-1|499"}));
}

TEST_F(AreaImportTest, AreaFilesOfTheWrongKindAreRefused) {
  const std::string base = WriteSet(dir_.File("comuni"), 5, {Ring(NetworkBuilder::Square(0, 0, 1, true))},
                                    {{"DENOM", 'C', 40}, {"PROVIN", 'C', 4}, {"ISTAT", 'N', 6}},
                                    {" " + Padded("x", 40) + Padded("TN", 4) + Padded("22117", 6)});
  EXPECT_EQ(ImportAreas(db(), AreaKind::Municipalities, base, ui_).found, 0);
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: lo Shape File indicato non ha le caratteristiche\n"
            "necessarie per effettuare l'importazione dei Comuni.");
}

// An area is stored with all its rings or not at all: a ring beyond the stored limit refuses its area,
// which is named; the other areas are stored.
TEST_F(AreaImportTest, AnAreaGoesWithAllItsRings) {
  std::vector<Point> huge;
  for (int i = 0; i < 40000; ++i) huge.push_back({i * 0.01, i % 2 ? 1.0 : 0.0});
  huge.push_back(huge.front());
  const std::string base =
      WriteSet(dir_.File("comuni"), 5,
               {Ring(NetworkBuilder::Square(0, 0, 10, true)),
                ShapeContent(5, {0, 5}, Rings({NetworkBuilder::Square(100, 0, 10, true), huge}))},
               {{"DENOM", 'C', 40}, {"PROVIN", 'C', 4}, {"ISTAT", 'C', 6}},
               {" " + Padded("Primo", 40) + "TN  022117", " " + Padded("Enorme", 40) + "TN  022118"});
  const AreaImportCounts counts = ImportAreas(db(), AreaKind::Municipalities, base, ui_);
  EXPECT_EQ(counts.found, 2);
  EXPECT_EQ(counts.inserted, 1);
  EXPECT_EQ(counts.report.refused(), 1);
  EXPECT_TRUE(
      ui_.last_message().text.starts_with("Il record 2 (\"Enorme\") non è stato registrato: un suo "
                                          "anello ha 40001 punti"))
      << ui_.last_message().text;
  EXPECT_EQ(Rows("ID", "geocom", "", "ID"), std::vector<std::string>{"1"});
  EXPECT_EQ(Rows("ID", "comuni", "ID > 0"), std::vector<std::string>{"1"});
}

}  // namespace
}  // namespace viamappa
