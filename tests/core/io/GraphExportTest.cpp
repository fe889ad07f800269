// The three shapefile exports: the bytes of a small set, each layout's values, the sets GDAL reads, and
// writes that fail without leaving a set that looks whole.
#include "io/GraphExport.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "base/Windows1252.h"
#include "core/io/ShapefileTestBytes.h"
#include "io/ShapefileReader.h"
#include "support/GdalTools.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::ReadText;

std::string Le16(int value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

std::string Le32(std::int32_t value) {
  std::string out;
  test::Append32(out, value);
  return out;
}

// A DBF field descriptor as the export writes it.
std::string Descriptor(const std::string& name, char type, int length) {
  std::string out = name + std::string(11 - name.size(), '\0');
  out += type;
  out += std::string(4, '\0');
  out += static_cast<char>(length);
  out += std::string(15, '\0');
  return out;
}

std::string Padded(const std::string& latin, std::size_t length) {
  return latin.substr(0, length) + std::string(length - std::min(length, latin.size()), ' ');
}

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

  // The three arcs of the byte-exact set: an accented name that fills its field, a square, empty fields.
  void AddThreeArcs() {
    ArcRecord a = Record(1, "VIA ROMA");
    a.codele = "E1";
    a.codreg = "R1";
    a.classe = "C1";
    AddArc(a, {{10, 20}, {30, 40}});
    ArcRecord b = Record(2, "PIAZZA DUOMO   ");
    b.codele = "E2";
    b.alterna = "PIAZZA MAGGIORE";
    b.piazza = true;
    AddArc(b, {{30, 40}, {50, 45}, {60, 70}});
    ArcRecord c = Record(42, "VIA DELLA LIBERTÀ E DELLA FRATELLANZA TRA I POPOLI DI CITTÀ!");
    AddArc(c, {{60, 70}, {80, 90}});
  }

  // The values of every record of a written set, by field, as Windows-1252 converted to UTF-8.
  std::vector<std::vector<std::string>> Records(const std::string& shp) {
    ShapefileReader reader;
    EXPECT_TRUE(reader.Open(shp.substr(0, shp.size() - 4)));
    EXPECT_TRUE(reader.ReadHeaders());
    std::vector<std::vector<std::string>> records;
    std::string record;
    EXPECT_TRUE(reader.RewindAttributes());
    for (std::int64_t i = 0; i < reader.record_count() && reader.NextAttributes(record); ++i) {
      std::vector<std::string> values;
      for (const DbfField& field : reader.fields())
        values.push_back(Windows1252ToUtf8(ShapefileReader::FieldValue(record, field)));
      records.push_back(values);
    }
    return records;
  }

  std::vector<std::string> FieldLayout(const std::string& shp) {
    ShapefileReader reader;
    EXPECT_TRUE(reader.Open(shp.substr(0, shp.size() - 4)));
    EXPECT_TRUE(reader.ReadHeaders());
    std::vector<std::string> fields;
    for (const DbfField& field : reader.fields())
      fields.push_back(field.name + " " + field.type + std::to_string(field.length));
    return fields;
  }
};

TEST_F(GraphExportTest, AThreeArcSetHasTheExactBytes) {
  AddThreeArcs();
  const std::string shp = dir_.File("grafo.shp");
  ASSERT_EQ(ExportGraph(db(), GraphExportKind::RoadGraph, shp, ui_), 3);

  const std::string dbf = ReadText(dir_.File("grafo.dbf"));
  ASSERT_GE(dbf.size(), 4u);
  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  const std::string date = {static_cast<char>(today.tm_year), static_cast<char>(today.tm_mon + 1),
                            static_cast<char>(today.tm_mday)};
  std::string expected = "\x03" + date + Le32(3) + Le16(225) + Le16(172) + std::string(20, '\0') +
                         Descriptor("COD_ELE", 'C', 20) + Descriptor("COD_REG", 'C', 20) +
                         Descriptor("DENOM", 'C', 60) + Descriptor("ALT", 'C', 60) +
                         Descriptor("CLASSE", 'C', 10) + Descriptor("PIAZZA", 'C', 1) + "\x0d";
  expected += " " + Padded("E1", 20) + Padded("R1", 20) + Padded("VIA ROMA", 60) + Padded("", 60) +
              Padded("C1", 10) + "N";
  expected += " " + Padded("E2", 20) + Padded("", 20) + Padded("PIAZZA DUOMO", 60) +
              Padded("PIAZZA MAGGIORE", 60) + Padded("", 10) + "S";
  expected += " " + Padded("", 20) + Padded("", 20) +
              Padded(Utf8ToWindows1252("VIA DELLA LIBERTÀ E DELLA FRATELLANZA TRA I POPOLI DI CITTÀ!"), 60) +
              Padded("", 60) + Padded("", 10) + "N";
  expected += "\x1a";
  EXPECT_EQ(dbf, expected);

  // Three records of 2, 3 and 2 points: 56 + 16n bytes each, 28 + 8n words.
  const auto record = [](std::int32_t number, const Box& box, const std::vector<Point>& points) {
    std::string out;
    test::Append32(out, number, true);
    test::Append32(out, 24 + 8 * static_cast<std::int32_t>(points.size()), true);
    std::string content = test::ShapeContent(3, {0}, points);
    std::string box_bytes;
    for (const double v : {box.minx, box.miny, box.maxx, box.maxy}) test::AppendDouble(box_bytes, v);
    content.replace(4, 32, box_bytes);
    return out + content;
  };
  const auto header = [](std::int32_t words) {
    std::string out = test::MainHeader(words, 3).substr(0, 36);
    for (const double v : {10.0, 20.0, 80.0, 90.0, 0.0, 0.0, 0.0, 0.0}) test::AppendDouble(out, v);
    return out;
  };
  const std::int32_t words = 50 + (28 + 16) + (28 + 24) + (28 + 16);
  EXPECT_EQ(ReadText(shp), header(words) + record(1, Box::Of(10, 20, 30, 40), {{10, 20}, {30, 40}}) +
                               record(2, Box::Of(30, 40, 60, 70), {{30, 40}, {50, 45}, {60, 70}}) +
                               record(3, Box::Of(60, 70, 80, 90), {{60, 70}, {80, 90}}));
  std::string index = header(50 + 3 * 4);
  for (const auto& [offset, length] : {std::pair{50, 40}, std::pair{94, 48}, std::pair{146, 40}}) {
    test::Append32(index, offset, true);
    test::Append32(index, length, true);
  }
  EXPECT_EQ(ReadText(dir_.File("grafo.shx")), index);
  EXPECT_EQ(ReadText(dir_.File("grafo.cpg")), "1252");
}

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
  ArcRecord unplaced = Record(42, "VICOLO ÈRTO");
  unplaced.modnome = unplaced.aggiunto = true;
  AddArc(unplaced, {{2, 2}, {3, 3}});

  struct Case {
    GraphExportKind kind;
    std::vector<std::string> fields;
    std::vector<std::vector<std::string>> records;
  };
  const std::vector<Case> cases = {
      {GraphExportKind::RoadGraph,
       {"COD_ELE C20", "COD_REG C20", "DENOM C60", "ALT C60", "CLASSE C10", "PIAZZA C1"},
       {{Padded("E7", 20), Padded("R7", 20), Padded("VIA ROMA", 60), Padded("VIA VECCHIA", 60),
         Padded("", 10), "N"},
        {Padded("", 20), Padded("", 20), "VICOLO ÈRTO" + std::string(49, ' '), Padded("", 60), Padded("", 10),
         "N"}}},
      {GraphExportKind::Changes,
       {"COD_ELE C20", "COD_REG C20", "NOME C60", "NOMEALT C60", "MODNOME C1", "VARIATO C1", "NUOVO C1",
        "ELIMINA C1", "DATA_INS C10", "DATA_MOD C10"},
       {{Padded("E7", 20), Padded("R7", 20), Padded("VIA ROMA", 60), Padded("VIA VECCHIA", 60), "N", "S", "N",
         "S", "01/01/2024", "15/06/2025"},
        {Padded("", 20), Padded("", 20), "VICOLO ÈRTO" + std::string(49, ' '), Padded("", 60), "S", "N", "S",
         "N", "01/01/1901", "01/01/1901"}}},
      {GraphExportKind::Tramex,
       {"ID_ARCO N9", "DENOM C60", "COMUNE C40"},
       {{"7        ", Padded("VIA ROMA", 60), Padded("Mezzocorona", 40)},
        {"42       ", "VICOLO ÈRTO" + std::string(49, ' '),
         "*** Comune non assegnato ***" + std::string(12, ' ')}}},
  };
  for (const Case& c : cases) {
    const std::string shp = dir_.File("set" + std::to_string(static_cast<int>(c.kind)) + ".SHP");
    ASSERT_EQ(ExportGraph(db(), c.kind, shp, ui_), 2);
    EXPECT_EQ(FieldLayout(shp), c.fields);
    EXPECT_EQ(Records(shp), c.records);
    EXPECT_TRUE(std::filesystem::exists(shp.substr(0, shp.size() - 3) + "DBF")) << "siblings in upper case";
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

TEST_F(GraphExportTest, GdalReadsEverySetWithItsFieldsAndAccents) {
  if (!testing::GdalToolsPresent()) GTEST_SKIP() << "GDAL's ogrinfo is not installed";
  ArcRecord arc = Record(5, "VIA SANTA MARIA AUSILIATRICE");
  arc.alterna = "VIALE DEL CAFFÈ";
  arc.modifica = true;
  AddArc(arc, {{663000.5, 5117000.25}, {663100.75, 5117050.5}});
  const std::vector<std::pair<GraphExportKind, std::vector<std::string>>> cases = {
      {GraphExportKind::RoadGraph,
       {"ALT: String (60.0)", "PIAZZA: String (1.0)", "ALT (String) = VIALE DEL CAFFÈ"}},
      {GraphExportKind::Changes,
       {"DATA_MOD: String (10.0)", "NOMEALT (String) = VIALE DEL CAFFÈ", "VARIATO (String) = S"}},
      {GraphExportKind::Tramex,
       {"ID_ARCO: Integer (9.0)", "ID_ARCO (Integer) = 5", "COMUNE (String) = *** Comune non assegnato ***"}},
  };
  for (const auto& [kind, texts] : cases) {
    const std::string shp = dir_.File("gdal" + std::to_string(static_cast<int>(kind)) + ".shp");
    ASSERT_EQ(ExportGraph(db(), kind, shp, ui_), 1);
    int status = 0;
    const std::string output = testing::RunTool("ogrinfo -al " + testing::Quoted(shp), &status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    EXPECT_NE(output.find("Feature Count: 1"), std::string::npos) << output;
    EXPECT_NE(output.find("LINESTRING (663000.5 5117000.25,663100.75 5117050.5)"), std::string::npos)
        << output;
    for (const std::string& text : texts)
      EXPECT_NE(output.find(text), std::string::npos) << text << "\n" << output;
  }
}

TEST_F(GraphExportTest, AWriteThatFailsLeavesNoSetThatLooksWhole) {
  AddThreeArcs();
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
