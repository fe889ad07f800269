#include <gtest/gtest.h>

#include "app/DatabaseCreation.h"
#include "app/ImportCommands.h"
#include "base/NumberText.h"
#include "core/io/ShapefileTestBytes.h"
#include "db/DbQuery.h"
#include "db/DbTable.h"
#include "io/AreaImport.h"
#include "io/RoadGraphImport.h"
#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using namespace viamappa::test;
using testing::TempDir;

// A DBF text value padded to its length.
std::string Padded(std::string_view text, int length) {
  std::string value(text.substr(0, length));
  value.resize(length, ' ');
  return value;
}

struct GraphRecord {
  std::string content;  // the shape content
  std::string denom, alt, piazza;
};

const std::vector<DbfSpec> kGraphFields = {{"DENOM", 'C', 60},   {"ALT", 'C', 60},    {"COD_ELE", 'C', 20},
                                           {"COD_REG", 'C', 20}, {"CLASSE", 'C', 10}, {"PIAZZA", 'C', 1}};

std::string Polyline(const std::vector<Point>& points) {
  return ShapeContent(3, {0}, points);
}

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("rete.mdb");
    ScriptedUserInterface quiet;
    ASSERT_EQ(CreateDatabaseFile(path_, quiet), CreationResult::Created);
    state_.database_path = path_;
    state_.connection = std::make_unique<DbConnection>(path_, ui_);
  }

  std::string WriteGraph(const std::vector<GraphRecord>& records, std::vector<DbfSpec> fields = kGraphFields,
                         int shx_records = -1, int shape_type = 3) {
    std::vector<std::string> contents;
    std::vector<std::string> rows;
    for (const GraphRecord& r : records) {
      contents.push_back(r.content);
      std::string row(1, ' ');
      row += Padded(r.denom, 60);
      row += Padded(r.alt, 60);
      row += Padded("E1", 20);
      row += Padded("R1", 20);
      row += Padded("SC", 10);
      row += Padded(r.piazza, fields.back().length);
      rows.push_back(row);
    }
    const std::string base = dir_.File("grafo");
    WriteBytes(base + ".shp", ShpFile(shape_type, contents));
    WriteBytes(base + ".shx",
               ShxFile(shx_records < 0 ? static_cast<int>(records.size()) : shx_records, shape_type));
    WriteBytes(base + ".dbf", DbfFile(fields, rows));
    return base;
  }

  std::vector<std::string> Rows(const std::string& select, const std::string& from,
                                const std::string& order = "") {
    DbQuery query(*state_.connection);
    query.SetSelect(select);
    query.SetFrom(from);
    query.SetOrderBy(order);
    std::vector<std::string> rows;
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      std::string line;
      for (int i = 0; i < query.FieldCount(); ++i) {
        std::string value;
        AppendDisplayField(query, i, value);
        line += (i ? "|" : "") + value;
      }
      rows.push_back(line);
    }
    return rows;
  }

  // Any column as text: by name through the display form.
  static void AppendDisplayField(DbQuery& query, int position, std::string& out) {
    std::int32_t number = 0;
    double real = 0;
    if (query.GetText(position, out)) return;
    if (query.GetLong(position, number) || query.GetShort(position, number)) {
      out = std::to_string(number);
    } else if (query.GetDouble(position, real)) {
      out = FormatShortest(real);
    }
  }

  TempDir dir_;
  std::string path_;
  ScriptedUserInterface ui_;
  ApplicationState state_;
  WindowlessShell shell_;
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
  const RoadGraphImportCounts counts = ImportRoadGraph(*state_.connection, base, ui_);
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
  EXPECT_EQ(counts.found, 4) << "the null shape is no polyline";
  EXPECT_EQ(counts.arcs, 4);
  EXPECT_EQ(counts.polylines, 4);
  EXPECT_EQ(counts.nodes, 6);
  // A blank alternative keeps one blank, as the display form of a blank text does.
  EXPECT_EQ(Rows("ID, nodini, nodfin, denom, alterna, piazza, datins", "archi", "ID"),
            (std::vector<std::string>{
                "1|0|1|VIA ROMA||-1|01/01/1901", "2|0|2|Via Garibaldi|via garibaldi|0|01/01/1901",
                "4|3|3|PIAZZA  DUOMO| |-1|01/01/1901", "5|4|5|VICOLO CITTÀ| |0|01/01/1901"}));
  EXPECT_EQ(Rows("ID, coord_x, coord_y", "nodi", "ID"),
            (std::vector<std::string>{"0|100|50", "1|200|50", "2|150|80", "3|300|300", "4|100.01|50",
                                      "5|100.5|60"}));
  EXPECT_EQ(Rows("punti, minx, maxx", "geoarchi", "ID"),
            (std::vector<std::string>{"3|100|200", "2|100|150", "4|300|310", "2|100.01|100.5"}))
      << "the first part only, rounded to hundredths";
  EXPECT_EQ(Rows("count(*)", "orgarchi, geoarchi", ""), std::vector<std::string>{"16"});
  EXPECT_EQ(Rows("count(*)", "orgarchi o, geoarchi g", ""), std::vector<std::string>{"16"});
  EXPECT_EQ(Rows("count(*)",
                 "orgarchi INNER JOIN geoarchi ON orgarchi.ID = geoarchi.ID AND orgarchi.coord = "
                 "geoarchi.coord AND orgarchi.minx = geoarchi.minx"),
            std::vector<std::string>{"4"});
  // The relations hold again after the load: an arc to a missing node is refused.
  ui_.ClearMessages();
  DbTable archi(*state_.connection, "archi");
  EXPECT_FALSE(archi.AddNew() && archi.SetField("ID", "9") && archi.SetField("nodini", "99") &&
               archi.SetField("nodfin", "0") && archi.SetField("datins", "01/01/2020") &&
               archi.SetField("datmod", "01/01/2020") && archi.SetField("local", "0") &&
               archi.SetField("comune", "0") && archi.Update());
  EXPECT_NE(ui_.last_message().text.find("archi_ini"), std::string::npos);
}

TEST_F(ImportTest, TheImportCommandRefusesAndSummarises) {
  const std::string base = WriteGraph(
      {{Polyline({{1, 1}, {2, 2}}), "VIA ROMA", "", "N"}, {Polyline({{2, 2}, {3, 3}}), "VIA ROMA", "", "N"}});
  ImportCommands commands(state_, ui_, shell_);
  ui_.QueueFile(base + ".SHP");
  ASSERT_TRUE(commands.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text,
            "Trovati 2 Archi grafo stradale\n\nInseriti 2 Archi; inserite 2 polilinee\nInseriti 3 Nodi grafo "
            "stradale\n"
            "Inseriti 1 Tipi Strada\nInseriti 1 Nomi Strada");
  EXPECT_EQ(ui_.file_choices().back().default_name, "GEO_GRAFO");
  ui_.ClearMessages();
  EXPECT_FALSE(commands.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: esistono già degli archi del grafo stradale registrati.\n\n"
            "Non è possibile importare nuovamente il grafo stradale");
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
}

TEST_F(ImportTest, AnUnusableFileStoresNothing) {
  std::vector<DbfSpec> wide = kGraphFields;
  wide.back().length = 2;
  const std::string base = WriteGraph({{Polyline({{1, 1}, {2, 2}}), "VIA ROMA", "", "SS"}}, wide);
  const RoadGraphImportCounts counts = ImportRoadGraph(*state_.connection, base, ui_);
  EXPECT_EQ(counts.arcs + counts.nodes + counts.found, 0);
  EXPECT_EQ(ui_.last_message().text, UnusableRoadGraphMessage());
  EXPECT_EQ(Rows("count(*)", "nodi"), std::vector<std::string>{"0"});

  ImportCommands commands(state_, ui_, shell_);
  ui_.QueueFile(dir_.File("grafo.txt"));
  ASSERT_TRUE(commands.ImportRoadGraph());
  EXPECT_TRUE(ui_.last_message().text.starts_with("Trovati 0 Archi")) << "another extension imports nothing";
}

TEST_F(ImportTest, AnIndexLongerThanTheShapesStoresWhatWasRead) {
  const std::string base = WriteGraph(
      {{Polyline({{1, 1}, {2, 2}}), "VIA A", "", "N"}, {Polyline({{2, 2}, {3, 3}}), "VIA B", "", "N"}},
      kGraphFields, 5);
  const RoadGraphImportCounts counts = ImportRoadGraph(*state_.connection, base, ui_);
  EXPECT_EQ(counts.arcs, 2);
  EXPECT_TRUE(ui_.messages().empty()) << "the stop is silent";
}

std::string Ring(const std::vector<Point>& points) {
  return ShapeContent(5, {0}, points);
}

std::vector<Point> Square(double x, double y, double side, bool clockwise) {
  std::vector<Point> ring = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
  if (clockwise) std::reverse(ring.begin(), ring.end());
  return ring;
}

TEST_F(ImportTest, MunicipalitiesAndLocalitiesWithTheirRings) {
  // A municipality with two holes, one with two distinct areas, a null shape, and a numeric ISTAT refused.
  std::vector<Point> holed = Square(0, 0, 100, true);
  const std::vector<Point> hole1 = Square(10, 10, 5, false), hole2 = Square(50, 50, 5, false);
  holed.insert(holed.end(), hole1.begin(), hole1.end());
  holed.insert(holed.end(), hole2.begin(), hole2.end());
  std::vector<Point> two = Square(200, 0, 10, true);
  const std::vector<Point> second = Square(300, 0, 10, true);
  two.insert(two.end(), second.begin(), second.end());
  const std::string base = dir_.File("comuni");
  WriteBytes(base + ".shp", ShpFile(5, {ShapeContent(5, {0, 5, 10}, holed), ShapeContent(5, {0, 5}, two),
                                        NullContent(), Ring(Square(400, 0, 10, true))}));
  WriteBytes(base + ".shx", ShxFile(4, 5));
  const std::vector<DbfSpec> fields = {{"denom", 'C', 40}, {"PROVIN", 'C', 4}, {"ISTAT", 'C', 6}};
  WriteBytes(base + ".dbf", DbfFile(fields, {" " + Padded("Mezzolombardo", 40) + "TN  022117",
                                             " " + Padded("Perch\xE9", 40) + "TN  022118",
                                             " " + Padded("Nulla", 40) + "TN  022119",
                                             " " + Padded("Quarto", 40) + "TN  022120"}));
  const AreaImportCounts counts = ImportAreas(*state_.connection, AreaKind::Municipalities, base, ui_);
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
  EXPECT_EQ(counts.found, 3);
  EXPECT_EQ(counts.inserted, 3);
  EXPECT_EQ(counts.rings, 6);
  EXPECT_EQ(Rows("ID, denom, istat", "comuni", "ID"),
            (std::vector<std::string>{"0|*** Comune non assegnato ***| ", "1|Mezzolombardo|022117",
                                      "2|Perché|022118", "4|Quarto|022120"}));
  EXPECT_EQ(Rows("ID, sub, excl", "geocom", "ID, sub, excl"),
            (std::vector<std::string>{"1|0|0", "1|0|1", "1|0|2", "2|0|0", "2|1|0", "4|0|0"}));

  // Localities: the numeric municipality code in its six-character form.
  const std::string places = dir_.File("localita");
  WriteBytes(places + ".shp", ShpFile(5, {Ring(Square(1, 1, 5, true)), Ring(Square(20, 20, 5, true))}));
  WriteBytes(places + ".shx", ShxFile(2, 5));
  const std::vector<DbfSpec> place_fields = {
      {"ISTAT", 'N', 10}, {"DENOM", 'C', 40}, {"ABITANTI", 'N', 12}, {"TIPO", 'C', 1}};
  WriteBytes(places + ".dbf",
             DbfFile(place_fields, {"      22117" + Padded("Centro", 40) + "         499N",
                                    "    1234567" + Padded("Lontano", 40) + "       10000C"}));
  const AreaImportCounts local = ImportAreas(*state_.connection, AreaKind::Localities, places, ui_);
  EXPECT_EQ(local.found, 2);
  EXPECT_EQ(local.inserted, 1) << "234567 is no municipality: the relation refuses it";
  EXPECT_EQ(Rows("ID, istat, nucleo, abitanti", "local", "ID"),
            (std::vector<std::string>{"0| |0|0", "1|022117|-1|499"}));
  EXPECT_EQ(LocalityIstat(1234567), "234567");
  EXPECT_EQ(LocalityIstat(12345), "012345");
}

TEST_F(ImportTest, LocalitiesBeforeMunicipalitiesShowTheErrorOnce) {
  const std::string places = dir_.File("localita");
  std::vector<std::string> shapes;
  std::vector<std::string> rows;
  for (int i = 0; i < 50; ++i) {
    shapes.push_back(Ring(Square(i * 10.0, 0, 5, true)));
    rows.push_back("      22117" + Padded("Frazione", 40) + "         100C");
  }
  WriteBytes(places + ".shp", ShpFile(5, shapes));
  WriteBytes(places + ".shx", ShxFile(50, 5));
  WriteBytes(
      places + ".dbf",
      DbfFile({{"ISTAT", 'N', 10}, {"DENOM", 'C', 40}, {"ABITANTI", 'N', 12}, {"TIPO", 'C', 1}}, rows));
  ImportCommands commands(state_, ui_, shell_);
  ui_.QueueFile(places + ".shp");
  ASSERT_TRUE(commands.ImportLocalities());
  // The first refusal, a count of the others, the summary; the rings are refused too.
  std::vector<std::string> texts;
  for (const RecordedMessage& m : ui_.messages()) texts.push_back(m.text);
  ASSERT_GE(texts.size(), 3u);
  EXPECT_TRUE(texts[0].starts_with("Errore aggiornamento tavola (local)"));
  EXPECT_NE(
      std::find(texts.begin(), texts.end(), "Lo stesso errore si è ripetuto altre 49 volte:\n\n" + texts[0]),
      texts.end());
  EXPECT_EQ(texts.back(), "Trovate 50 Località; inserite 0 Località; inseriti 0 poligoni");
  EXPECT_LE(texts.size(), 5u);
}

TEST_F(ImportTest, AreaFilesOfTheWrongKindAreRefused) {
  const std::string base = dir_.File("comuni");
  WriteBytes(base + ".shp", ShpFile(5, {Ring(Square(0, 0, 1, true))}));
  WriteBytes(base + ".shx", ShxFile(1, 5));
  WriteBytes(base + ".dbf",
             DbfFile({{"DENOM", 'C', 40}, {"PROVIN", 'C', 4}, {"ISTAT", 'N', 6}}, {" x   TN    22117"}));
  const AreaImportCounts counts = ImportAreas(*state_.connection, AreaKind::Municipalities, base, ui_);
  EXPECT_EQ(counts.found, 0);
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: lo Shape File indicato non ha le caratteristiche\n"
            "necessarie per effettuare l'importazione dei Comuni.");
}

}  // namespace
}  // namespace viamappa
