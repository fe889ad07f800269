#include <gtest/gtest.h>

#include "app/ImportCommands.h"
#include "core/io/ShapefileTestBytes.h"
#include "io/AreaImport.h"
#include "io/RoadGraphImport.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using namespace viamappa::test;
using testing::NetworkBuilder;

struct GraphRecord {
  std::string content;  // the shape content
  std::string denom, alt, piazza;
};

const std::vector<DbfSpec> kGraphFields = {{"DENOM", 'C', 60},   {"ALT", 'C', 60},    {"COD_ELE", 'C', 20},
                                           {"COD_REG", 'C', 20}, {"CLASSE", 'C', 10}, {"PIAZZA", 'C', 1}};
const std::vector<DbfSpec> kPlaceFields = {
    {"ISTAT", 'N', 10}, {"DENOM", 'C', 40}, {"ABITANTI", 'N', 12}, {"TIPO", 'C', 1}};

std::string Polyline(const std::vector<Point>& points) {
  return ShapeContent(3, {0}, points);
}
std::string Ring(const std::vector<Point>& points) {
  return ShapeContent(5, {0}, points);
}
std::vector<Point> Rings(std::initializer_list<std::vector<Point>> rings) {
  std::vector<Point> all;
  for (const auto& ring : rings) all.insert(all.end(), ring.begin(), ring.end());
  return all;
}

class ImportTest : public testing::RoadNetworkTest {
 protected:
  std::string WriteGraph(const std::vector<GraphRecord>& records, std::vector<DbfSpec> fields = kGraphFields,
                         int shx_records = -1) {
    std::vector<std::string> contents, rows;
    for (const GraphRecord& r : records) {
      contents.push_back(r.content);
      std::string row(1, ' ');
      for (const auto& [text, length] :
           std::initializer_list<std::pair<std::string_view, int>>{{r.denom, 60},
                                                                   {r.alt, 60},
                                                                   {"E1", 20},
                                                                   {"R1", 20},
                                                                   {"SC", 10},
                                                                   {r.piazza, fields.back().length}})
        row += Padded(text, length);
      rows.push_back(row);
    }
    return WriteSet(dir_.File("grafo"), 3, contents, fields, rows, shx_records);
  }

  WindowlessShell shell_;
  ImportCommands commands_{state_, ui_, shell_};
};

TEST_F(ImportTest, TheRoadGraphBecomesArcsNodesAndPolylines) {
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

TEST_F(ImportTest, TheImportCommandRefusesAndSummarises) {
  const std::string base = WriteGraph(
      {{Polyline({{1, 1}, {2, 2}}), "VIA ROMA", "", "N"}, {Polyline({{2, 2}, {3, 3}}), "VIA ROMA", "", "N"}});
  ui_.QueueFile(base + ".SHP");
  ASSERT_TRUE(commands_.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text,
            "Trovati 2 Archi grafo stradale\n\nInseriti 2 Archi; inserite 2 polilinee\nInseriti 3 Nodi grafo "
            "stradale\nInseriti 1 Tipi Strada\nInseriti 1 Nomi Strada");
  EXPECT_EQ(ui_.file_choices().back().default_name, "GEO_GRAFO");
  EXPECT_FALSE(commands_.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: esistono già degli archi del grafo stradale registrati.\n\n"
            "Non è possibile importare nuovamente il grafo stradale");
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
}

TEST_F(ImportTest, UnusableOrShortFilesStoreNothingOrWhatWasRead) {
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

TEST_F(ImportTest, MunicipalitiesAndLocalitiesWithTheirRings) {
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
  EXPECT_EQ(LocalityIstat(1234567), "234567");
  EXPECT_EQ(LocalityIstat(12345), "012345");
}

TEST_F(ImportTest, LocalitiesBeforeMunicipalitiesShowTheErrorOnce) {
  std::vector<std::string> shapes, rows;
  for (int i = 0; i < 50; ++i) {
    shapes.push_back(Ring(NetworkBuilder::Square(i * 10.0, 0, 5, true)));
    rows.push_back("      22117" + Padded("Frazione", 40) + "         100C");
  }
  const std::string places = WriteSet(dir_.File("localita"), 5, shapes, kPlaceFields, rows);
  ui_.QueueFile(places + ".shp");
  ASSERT_TRUE(commands_.ImportLocalities());
  // The first refusal, a count of the others, the summary; the rings are refused too.
  const std::vector<std::string> texts = testing::Texts(ui_);
  ASSERT_GE(texts.size(), 3u);
  EXPECT_TRUE(texts[0].starts_with("Errore aggiornamento tavola (local)"));
  EXPECT_NE(
      std::find(texts.begin(), texts.end(), "Lo stesso errore si è ripetuto altre 49 volte:\n\n" + texts[0]),
      texts.end());
  EXPECT_EQ(texts.back(), "Trovate 50 Località; inserite 0 Località; inseriti 0 poligoni");
  EXPECT_LE(texts.size(), 5u);
}

TEST_F(ImportTest, AreaFilesOfTheWrongKindAreRefused) {
  const std::string base =
      WriteSet(dir_.File("comuni"), 5, {Ring(NetworkBuilder::Square(0, 0, 1, true))},
               {{"DENOM", 'C', 40}, {"PROVIN", 'C', 4}, {"ISTAT", 'N', 6}}, {" x   TN    22117"});
  EXPECT_EQ(ImportAreas(db(), AreaKind::Municipalities, base, ui_).found, 0);
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: lo Shape File indicato non ha le caratteristiche\n"
            "necessarie per effettuare l'importazione dei Comuni.");
}

}  // namespace
}  // namespace viamappa
