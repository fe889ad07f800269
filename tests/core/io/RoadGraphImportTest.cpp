#include "io/RoadGraphImport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/io/ImportTestFiles.h"
#include "support/NetworkBuilder.h"

namespace viamappa {
namespace {

using namespace viamappa::test;
using testing::NetworkBuilder;
using RoadGraphImportTest = ImportTest;

TEST_F(RoadGraphImportTest, TheRoadGraphBecomesArcsNodesAndPolylines) {
  const std::string base = WriteGraph({
      {Polyline({{100.004, 50}, {150, 50}, {200, 50}}), "VIA ROMA", "VIA ROMA  ", "S"},
      {ShapeContent(3, {0, 2}, {{99.996, 50.001}, {150, 80}, {900, 900}, {901, 901}}), "Via Garibaldi",
       "via garibaldi", "s"},
      {NullContent(), "NULLA", "", "N"},
      {Polyline({{300, 300}, {310, 300}, {310, 310}, {300, 300}}), "PIAZZA  DUOMO", "", "S"},
      {Polyline({{100.006, 50}, {100.5, 60}}), "VICOLO CITT\xC0", "", "N"},
  });
  const RoadGraphImportCounts counts = ImportRoadGraph(db(), base, ui_);
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
  EXPECT_EQ(counts.found, 4) << "the null shape is no polyline";
  EXPECT_EQ(counts.arcs, 4);
  EXPECT_EQ(counts.polylines, 4);
  EXPECT_EQ(counts.nodes, 6);
  // A blank alternative keeps one blank, as the display form of a blank text does.
  EXPECT_EQ(Rows("ID, nodini, nodfin, denom, alterna, piazza, datins", "archi", "", "ID"),
            (std::vector<std::string>{
                "1|0|1|VIA ROMA||-1|01/01/1901", "2|0|2|Via Garibaldi|via garibaldi|0|01/01/1901",
                "4|3|3|PIAZZA  DUOMO| |-1|01/01/1901", "5|4|5|VICOLO CITTÀ| |0|01/01/1901"}));
  EXPECT_EQ(Rows("ID, coord_x, coord_y", "nodi", "", "ID"),
            (std::vector<std::string>{"0|100|50", "1|200|50", "2|150|80", "3|300|300", "4|100.01|50",
                                      "5|100.5|60"}));
  EXPECT_EQ(Rows("punti, minx, maxx", "geoarchi", "", "ID"),
            (std::vector<std::string>{"3|100|200", "2|100|150", "4|300|310", "2|100.01|100.5"}))
      << "the first part only, rounded to hundredths";
  // The first polylines are copies of the current ones.
  EXPECT_EQ(Rows("count(*)", "orgarchi"), std::vector<std::string>{"4"});
  EXPECT_EQ(Rows("count(*)",
                 "orgarchi INNER JOIN geoarchi ON orgarchi.ID = geoarchi.ID AND orgarchi.coord = "
                 "geoarchi.coord AND orgarchi.minx = geoarchi.minx"),
            std::vector<std::string>{"4"});
  // The relations hold again after the load: an arc to a missing node is refused.
  EXPECT_FALSE(NetworkBuilder(db()).AddArc(testing::Arc(9, 99, 0, {{0, 0}, {1, 1}})));
  EXPECT_NE(ui_.last_message().text.find("archi_ini"), std::string::npos);
}

TEST_F(RoadGraphImportTest, UnusableOrShortFilesStoreNothingOrWhatWasRead) {
  std::vector<DbfSpec> wide = kGraphFields;
  wide.back().length = 2;
  const std::string base = WriteGraph({{Polyline({{1, 1}, {2, 2}}), "VIA ROMA", "", "SS"}}, wide);
  const RoadGraphImportCounts counts = ImportRoadGraph(db(), base, ui_);
  EXPECT_EQ(counts.arcs + counts.nodes + counts.found, 0);
  EXPECT_EQ(ui_.last_message().text, UnusableRoadGraphMessage());
  EXPECT_EQ(Rows("count(*)", "nodi"), std::vector<std::string>{"0"});

  ui_.QueueFile(dir_.File("grafo.txt"));
  ASSERT_TRUE(commands_.ImportRoadGraph());
  EXPECT_TRUE(ui_.last_message().text.starts_with("Trovati 0 Archi")) << "another extension imports nothing";

  // An index longer than the shapes: the stop is silent and what was read is stored.
  ui_.ClearMessages();
  WriteGraph({{Polyline({{1, 1}, {2, 2}}), "VIA A", "", "N"}, {Polyline({{2, 2}, {3, 3}}), "VIA B", "", "N"}},
             kGraphFields, 5);
  EXPECT_EQ(ImportRoadGraph(db(), base, ui_).arcs, 2);
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
}

}  // namespace
}  // namespace viamappa
