// The three shapefile exports: each layout's fields and values, and writes that fail without leaving a
// set that looks whole.
#include "io/GraphExport.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/io/ShapefileReadBack.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::ReadText;

class GraphExportTest : public testing::RoadNetworkTest {
 protected:
  // An arc with every field of the record and its nodes at the line's ends.
  void AddArc(ArcRecord arc, std::vector<Point> points) {
    NodeTable nodi(db());
    ArcTable archi(db());
    PolylineTable geoarchi(db());
    arc.nodini = 2 * arc.id;
    arc.nodfin = 2 * arc.id + 1;
    ASSERT_TRUE(nodi.Add({arc.nodini, points.front().x, points.front().y}));
    ASSERT_TRUE(nodi.Add({arc.nodfin, points.back().x, points.back().y}));
    ASSERT_TRUE(archi.Add(arc));
    ASSERT_TRUE(geoarchi.Add(arc.id, PointArray(std::move(points))));
  }

  static ArcRecord Record(std::int32_t id, std::string denom) {
    ArcRecord arc;
    arc.id = id;
    arc.denom = std::move(denom);
    return arc;
  }
};

TEST_F(GraphExportTest, EachLayoutHasItsFieldsAndValues) {
  {
    testing::NetworkBuilder b(db());
    ASSERT_TRUE(b.AddMunicipality(3, "Mezzocorona", "022116", {testing::NetworkBuilder::Square(0, 0, 100)}));
  }
  ArcRecord changed = Record(7, "VIA ROMA");
  changed.codele = "E7";
  changed.codreg = "R7";
  changed.alterna = "VIA VECCHIA";
  changed.modifica = true;
  changed.elimina = true;
  changed.datins = "01/01/2024";
  changed.datmod = "15/06/2025";
  changed.comune = 3;
  AddArc(changed, {{1, 1}, {2, 2}});
  // A name of 60 characters with accents fills its field of 60 bytes.
  const std::string full = "VIA DELLA LIBERTÀ E DELLA FRATELLANZA TRA I POPOLI DI CITTÀ!";
  ArcRecord unplaced = Record(42, full);
  unplaced.modnome = unplaced.aggiunto = true;
  AddArc(unplaced, {{2, 2}, {3, 3}});

  // The fields, then the values of each record.
  const std::pair<GraphExportKind, std::vector<std::vector<std::string>>> cases[] = {
      {GraphExportKind::RoadGraph,
       {{"COD_ELE C20", "COD_REG C20", "DENOM C60", "ALT C60", "CLASSE C10", "PIAZZA C1"},
        {"E7", "R7", "VIA ROMA", "VIA VECCHIA", "", "N"},
        {"", "", full, "", "", "N"}}},
      {GraphExportKind::Changes,
       {{"COD_ELE C20", "COD_REG C20", "NOME C60", "NOMEALT C60", "MODNOME C1", "VARIATO C1", "NUOVO C1",
         "ELIMINA C1", "DATA_INS C10", "DATA_MOD C10"},
        {"E7", "R7", "VIA ROMA", "VIA VECCHIA", "N", "S", "N", "S", "01/01/2024", "15/06/2025"},
        {"", "", full, "", "S", "N", "S", "N", "01/01/1901", "01/01/1901"}}},
      {GraphExportKind::Tramex,
       {{"ID_ARCO N9", "DENOM C60", "COMUNE C40"},
        {"7", "VIA ROMA", "Mezzocorona"},
        {"42", full, "*** Comune non assegnato ***"}}},
  };
  for (const auto& [kind, table] : cases) {
    const std::string base = dir_.File("set" + std::to_string(static_cast<int>(kind)));
    ASSERT_EQ(ExportGraph(db(), kind, base + ".SHP", ui_), 2);
    const test::ReadBackSet set = test::ReadBack(base);
    std::vector<std::vector<std::string>> read = {set.layout};
    for (const test::ReadBackRecord& record : set.records) read.push_back(record.row);
    EXPECT_EQ(read, table);
    EXPECT_TRUE(std::filesystem::exists(base + ".DBF")) << "siblings in upper case";
  }
  EXPECT_TRUE(HasGraphChanges(db()));
}

TEST_F(GraphExportTest, OnlyRenamedChangedOrAddedArcsCountAsChangesAndDamagedRowsAreLeftOut) {
  ArcRecord deleted = Record(1, "VIA ROMA");
  deleted.elimina = true;
  AddArc(deleted, {{1, 1}, {2, 2}});
  AddArc(Record(2, "VIA MILANO"), {{2, 2}, {3, 3}});
  EXPECT_FALSE(HasGraphChanges(db()));
  std::string error;
  ASSERT_TRUE(db().engine()->Execute("UPDATE geoarchi SET punti = 5 WHERE ID = 1", error)) << error;
  EXPECT_EQ(ExportGraph(db(), GraphExportKind::RoadGraph, dir_.File("g.shp"), ui_), 1);
  EXPECT_EQ(testing::Texts(ui_), std::vector<std::string>{"Archi: Entità Lineare corrotta 1 !!!"});
}

TEST_F(GraphExportTest, AWriteThatFailsLeavesNoSetThatLooksWhole) {
  for (std::int32_t id = 1; id <= 3; ++id) AddArc(Record(id, "VIA ROMA"), {{1.0 * id, 1}, {2.0 * id, 2}});
  // A folder that is not there.
  const std::string missing = dir_.File("tolta/grafo.shp");
  EXPECT_EQ(ExportGraph(db(), GraphExportKind::RoadGraph, missing, ui_), std::nullopt);
  EXPECT_EQ(ui_.last_message().text, "Impossibile creare\n\n" + missing);
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Warning);

  // A read-only file of an earlier set stays as it was.
  const std::string shp = dir_.File("grafo.shp");
  ASSERT_EQ(ExportGraph(db(), GraphExportKind::RoadGraph, shp, ui_), 3);
  const std::string before = ReadText(dir_.File("grafo.dbf"));
  ASSERT_EQ(chmod(dir_.File("grafo.dbf").c_str(), 0444), 0);
  if (access(dir_.File("grafo.dbf").c_str(), W_OK) != 0) {
    EXPECT_EQ(ExportGraph(db(), GraphExportKind::Tramex, shp, ui_), std::nullopt);
    EXPECT_EQ(ui_.last_message().text, "Impossibile creare\n\n" + shp);
    EXPECT_EQ(ReadText(dir_.File("grafo.dbf")), before);
  }
  ASSERT_EQ(chmod(dir_.File("grafo.dbf").c_str(), 0644), 0);

  // A full disk, in a child process whose files may not grow past 512 bytes: the earlier set stays whole
  // and nothing of the new one is left.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{512, 512};
    setrlimit(RLIMIT_FSIZE, &limit);
    ScriptedUserInterface ui;
    DbConnection connection(path_, ui);
    const bool refused = !ExportGraph(connection, GraphExportKind::RoadGraph, shp, ui) &&
                         ui.last_message().text == "Impossibile creare\n\n" + shp;
    _exit(refused ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadText(dir_.File("grafo.dbf")), before);
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    EXPECT_FALSE(entry.path().filename().string().starts_with(".~")) << entry.path();
}

}  // namespace
}  // namespace viamappa
