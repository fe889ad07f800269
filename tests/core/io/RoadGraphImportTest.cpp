#include "io/RoadGraphImport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
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
  EXPECT_FALSE(commands_.ImportRoadGraph());
  EXPECT_TRUE(ui_.last_message().text.starts_with("Trovati 0 Archi")) << "another extension imports nothing";
}

// A set that cannot be read whole stores nothing, and the message names the file and what is wrong.
TEST_F(RoadGraphImportTest, ASetThatCannotBeReadWholeStoresNothing) {
  const std::vector<GraphRecord> two = {{Polyline({{1, 1}, {2, 2}}), "VIA A", "", "N"},
                                        {Polyline({{2, 2}, {3, 3}}), "VIA B", "", "N"}};
  const auto write = [&](int shx_records = -1) { return WriteGraph(two, kGraphFields, shx_records); };
  const auto replace = [](const std::string& path, const std::string& bytes) { WriteBytes(path, bytes); };
  const struct {
    const char* what;
    std::function<void(const std::string&)> damage;  // on the base name of a sound set
    const char* said;
  } kCases[] = {
      {"missing .shx", [](const std::string& b) { std::filesystem::remove(b + ".shx"); },
       "grafo.SHX non esiste"},
      {"a folder",
       [](const std::string& b) {
         std::filesystem::remove(b + ".shp");
         std::filesystem::create_directory(b + ".shp");
       },
       "grafo.shp non indica un file"},
      {"an empty .shp", [&](const std::string& b) { replace(b + ".shp", ""); }, "grafo.shp è vuoto"},
      {"a garbage header", [&](const std::string& b) { replace(b + ".shp", std::string(200, 'x')); },
       "grafo.shp non è uno Shape File"},
      {"a .shp cut short",
       [&](const std::string& b) {
         const std::string shp = ShpFile(3, {Polyline({{1, 1}, {2, 2}}), Polyline({{2, 2}, {3, 3}})});
         replace(b + ".shp", shp.substr(0, shp.size() - 10));
       },
       "grafo.shp è troncato: il record 2"},
      {"a .dbf with fewer records", [&](const std::string&) { write(3); }, "grafo.dbf contiene 2 record"},
  };
  for (const auto& c : kCases) {
    std::filesystem::remove_all(dir_.File("grafo.shp"));
    const std::string base = write();
    c.damage(base);
    ui_.ClearMessages();
    const RoadGraphImportCounts counts = ImportRoadGraph(db(), base, ui_);
    EXPECT_TRUE(counts.report.failed()) << c.what;
    EXPECT_NE(ui_.last_message().text.find(c.said), std::string::npos)
        << c.what << ": " << ui_.last_message().text;
    EXPECT_EQ(Rows("(SELECT count(*) FROM archi) + (SELECT count(*) FROM nodi)", "regazi", "codice = 1"),
              std::vector<std::string>{"0"})
        << c.what;
  }
}

// A record the database cannot hold goes whole (an arc with its polylines, or nothing of it) and the
// first one is named; records without geometry or marked deleted are counted; names keep the code page
// of the set, and those the exports cannot write are counted too. Lines with Z values read as lines.
TEST_F(RoadGraphImportTest, RecordsLeftOutAreCountedAndNamed) {
  std::vector<Point> long_line;
  for (int i = 0; i < 40000; ++i) long_line.push_back({i * 1.0, 0});
  WriteBytes(dir_.File("grafo.cpg"), "UTF-8");
  const std::string with_z = ShapeContent(13, {0}, {{5, 5}, {6, 6}}) + std::string(48, '\0');
  const std::string base = WriteGraph({{Polyline({{1, 1}, {2, 2}}), "VIA CITTÀ", "", "N"},
                                       {Polyline(long_line), "VIA LUNGA", "", "N"},
                                       {NullContent(), "NULLA", "", "N"},
                                       {Polyline({{3, 3}, {4, 4}}), "VIA CANCELLATA", "", "N", true},
                                       {with_z, "ULICA ŁÓDZKA", "", "N"}},
                                      kGraphFields, -1, 13);
  const RoadGraphImportCounts counts = ImportRoadGraph(db(), base, ui_);
  EXPECT_FALSE(counts.report.failed());
  EXPECT_EQ(counts.found, 3) << "the deleted record and the null shape are not found";
  EXPECT_EQ(counts.arcs, 2);
  EXPECT_EQ(counts.polylines, 2);
  EXPECT_EQ(counts.nodes, 4);
  EXPECT_EQ(
      testing::Texts(ui_),
      (std::vector<std::string>{"Il record 2 (\"VIA LUNGA\") non è stato registrato: la polilinea ha 40000 "
                                "punti, ne sono ammessi 32767.\n\nGli altri record rifiutati sono contati "
                                "nel riepilogo dell'importazione."}));
  EXPECT_EQ(
      counts.report.SummaryLines("ignorati", "record"),
      "\nignorati 2 record: 1 senza geometria, 1 cancellati nella tavola DBF"
      "\nrifiutati dal database 1 record, non registrati"
      "\n1 testo contiene caratteri che gli export in Windows-1252 non possono scrivere (il primo: record 5 "
      "\"ULICA ŁÓDZKA\")");
  EXPECT_EQ(Rows("a.ID, a.denom, g.punti, o.punti",
                 "archi AS a INNER JOIN geoarchi AS g ON g.ID = a.ID INNER "
                 "JOIN orgarchi AS o ON o.ID = a.ID",
                 "", "a.ID"),
            (std::vector<std::string>{"1|VIA CITTÀ|2|2", "5|ULICA ŁÓDZKA|2|2"}));
}

}  // namespace
}  // namespace viamappa
