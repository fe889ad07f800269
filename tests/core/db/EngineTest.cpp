#include "db/Engine.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>

#include "support/RawDatabase.h"
#include "support/SampleDatabase.h"

namespace viamappa {
namespace {

using testing::CreateSampleDatabase;
using testing::PageFile;
using testing::RawExec;
using testing::RawText;
using testing::RootPage;
using testing::TempDir;

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("rete.mdb");
    std::string error;
    db_ = CreateSampleDatabase(path_, error);
    ASSERT_TRUE(db_) << error;
  }

  // The file opens as ours, with the sample's relations and indexes.
  void ExpectSchemaWhole(const std::string& path) {
    auto database = EngineDatabase::Open(path, error_);
    ASSERT_TRUE(database) << error_;
    EXPECT_EQ(database->DescribeRelations().size(), 3u);
    EXPECT_TRUE(database->FindIndex("archi", "nome"));
    EXPECT_TRUE(database->FindIndex("nodi", "codice").value().primary);
  }

  TempDir dir_;
  std::string path_;
  std::unique_ptr<EngineDatabase> db_;
  std::string error_;
};

TEST_F(EngineTest, NewFileIsOursAndKeepsItsLocale) {
  EXPECT_EQ(db_->Locale(), kGeneralLocale);
  db_.reset();
  EXPECT_EQ(RawText(path_, "PRAGMA application_id"), std::to_string(kApplicationId));
  auto reopened = EngineDatabase::Open(path_, error_);
  ASSERT_TRUE(reopened) << error_;
  EXPECT_EQ(reopened->TableNames(), (std::vector<std::string>{"nodi", "archi", "geoarchi", "campione"}));

  // Creating over an existing file is refused and leaves it alone.
  EXPECT_FALSE(EngineDatabase::Create(path_, kGeneralLocale, error_));
  EXPECT_NE(error_.find("esiste già"), std::string::npos);
  EXPECT_FALSE(EngineDatabase::Create(dir_.File("manca/nuovo.mdb"), kGeneralLocale, error_));
}

TEST_F(EngineTest, FilesThatAreNotOursDoNotOpen) {
  const std::string text = dir_.File("testo.mdb");
  std::ofstream(text) << "non sono un database\n";
  const std::string empty = dir_.File("vuoto.mdb");
  std::ofstream{empty};
  const std::string other = dir_.File("altro.db");
  ASSERT_EQ(RawExec(other, "CREATE TABLE t (a)"), "");

  for (const std::string& path : {text, empty, other, dir_.File("assente.mdb"), dir_.path()}) {
    error_.clear();
    EXPECT_FALSE(EngineDatabase::Open(path, error_)) << path;
    EXPECT_FALSE(error_.empty()) << path;
  }
  // Nothing was created where the file was missing, and the empty file stayed empty.
  struct stat info {};
  EXPECT_NE(stat(dir_.File("assente.mdb").c_str(), &info), 0);
  ASSERT_EQ(stat(empty.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0);
}

// A file that cannot be written (read-only for its user, or immutable even for root) is refused for
// editing and read by the commands that only read.
TEST_F(EngineTest, AFileThatCannotBeWrittenIsOnlyRead) {
  db_.reset();
  const bool root = geteuid() == 0;
  if (root) {
    if (std::system(("chattr +i '" + path_ + "' 2>/dev/null").c_str()) != 0)
      GTEST_SKIP() << "no immutable files here, and root writes read-only ones";
  } else {
    chmod(path_.c_str(), 0444);
  }
  EXPECT_FALSE(EngineDatabase::Open(path_, error_));
  EXPECT_NE(error_.find("sola lettura"), std::string::npos) << error_;
  const auto reading = EngineDatabase::Open(path_, error_, EngineDatabase::Access::ReadOnly);
  EXPECT_TRUE(reading) << error_;
  EXPECT_TRUE(reading && reading->read_only());
  std::vector<std::string> problems;
  EXPECT_TRUE(CheckDatabase(path_, SchemaCatalog{}, problems, error_)) << error_;
  EXPECT_TRUE(CompactDatabase(path_, dir_.File("copia.mdb"), kGeneralLocale, error_)) << error_;
  if (root) std::system(("chattr -i '" + path_ + "'").c_str());
}

TEST_F(EngineTest, FieldTypesAndOrderComeBackFromTheFile) {
  const auto field = [](const char* name, FieldType type, int size, int position) {
    FieldDefinition definition;
    definition.name = name;
    definition.type = type;
    definition.size = size;
    definition.ordinal_position = position;
    return definition;
  };
  TableDefinition table("ordine");
  ASSERT_TRUE(table.AppendField(field("b", FieldType::Long, 0, 2), error_));
  ASSERT_TRUE(table.AppendField(field("a", FieldType::Long, 0, 1), error_));
  // Names ignore letter case; texts hold 255 characters at most; every field has a name.
  for (const FieldDefinition& wrong : {field("A", FieldType::Long, 0, 0), field("t", FieldType::Text, 256, 0),
                                       field("", FieldType::Text, 5, 0)})
    EXPECT_FALSE(table.AppendField(wrong, error_)) << wrong.name;
  ASSERT_TRUE(db_->AppendTable(table, error_)) << error_;
  EXPECT_FALSE(db_->AppendTable(table, error_)) << "a table is created once";
  EXPECT_FALSE(db_->AppendTable(TableDefinition("vuota"), error_)) << "a table needs fields";
  EXPECT_FALSE(db_->AppendTable(TableDefinition("vm_x"), error_)) << "reserved names";

  db_.reset();
  db_ = EngineDatabase::Open(path_, error_);
  ASSERT_TRUE(db_) << error_;
  const auto ordered = db_->DescribeFields("ordine");
  ASSERT_EQ(ordered.size(), 2u);
  EXPECT_EQ(ordered[0].name, "a");
  const auto fields = db_->DescribeFields("CAMPIONE");
  const FieldType expected[] = {FieldType::Text,   FieldType::Boolean,  FieldType::Date,
                                FieldType::Double, FieldType::Integer,  FieldType::Long,
                                FieldType::Memo,   FieldType::Currency, FieldType::LongBinary};
  ASSERT_EQ(fields.size(), std::size(expected));
  for (std::size_t i = 0; i < fields.size(); ++i) EXPECT_EQ(fields[i].type, expected[i]) << fields[i].name;
  EXPECT_EQ(fields[0].size, 10);
}

TEST_F(EngineTest, IndexDefinitionsThatTheEngineRefuses) {
  // A taken name, a second primary key, a member without a name, missing or repeated, no member at
  // all, a binary member, a missing table.
  const std::pair<const char*, IndexDefinition> cases3[] = {{"archi", {"codice", {"denom"}}},
                                                            {"archi", {"secondo", {"classe"}, true, true}},
                                                            {"archi", {"buco", {"ID", "", "denom"}}},
                                                            {"archi", {"manca", {"nessuno"}}},
                                                            {"archi", {"vuoto", {}}},
                                                            {"archi", {"doppio", {"ID", "id"}}},
                                                            {"campione", {"blob", {"binario"}}}};
  for (const auto& [table, index] : cases3) {
    error_.clear();
    EXPECT_FALSE(db_->CreateIndex(table, index, error_)) << index.name;
    EXPECT_FALSE(error_.empty()) << index.name;
  }
  EXPECT_FALSE(db_->CreateIndex("nessuna", {"x", {"ID"}}, error_));

  // Index names repeat across tables; each table keeps its own.
  ASSERT_TRUE(db_->CreateIndex("nodi", {"nome", {"coord_x", "coord_y"}}, error_)) << error_;
  EXPECT_EQ(db_->FindIndex("ARCHI", "NOME").value().fields, (std::vector<std::string>{"denom", "classe"}));
  EXPECT_EQ(db_->FindIndex("nodi", "nome").value().fields, (std::vector<std::string>{"coord_x", "coord_y"}));
  // Another tool indexed an expression, whose member has no name: SQLite leaves it NULL.
  ASSERT_TRUE(db_->Execute("CREATE INDEX \"archi.minuscolo\" ON archi (lower(denom), classe)", error_))
      << error_;
  EXPECT_EQ(db_->FindIndex("archi", "minuscolo").value().fields, (std::vector<std::string>{"", "classe"}));

  // A unique index over repeated values cannot be built; the file stays as it was.
  ASSERT_TRUE(
      db_->Execute("INSERT INTO nodi VALUES (1, 5.0, 5.0); INSERT INTO nodi VALUES (2, 5.0, 6.0)", error_));
  EXPECT_FALSE(db_->CreateIndex("nodi", {"x", {"coord_x"}, false, true}, error_));
  EXPECT_FALSE(db_->FindIndex("nodi", "x"));
}

TEST_F(EngineTest, RelationsAndColumnChecksHoldAgainstAnyWriter) {
  db_.reset();
  const auto refused = [&](const std::string& sql) { return !RawExec(path_, sql).empty(); };
  ASSERT_EQ(RawExec(path_, "INSERT INTO nodi VALUES (1, 10.5, 20.5); INSERT INTO nodi VALUES (2, 11, 21)"),
            "");
  const std::string arc =
      "INSERT INTO archi (ID, piazza, datins, nodini, nodfin, comune) VALUES (1, 0, '2020-01-01', 1, ";
  EXPECT_TRUE(refused(arc + "99, 0)"));
  ASSERT_EQ(RawExec(path_, arc + "2, 0)"), "");
  for (const char* sql :
       {"UPDATE archi SET nodfin = 77 WHERE ID = 1", "DELETE FROM nodi WHERE ID = 2",
        "UPDATE nodi SET ID = 5 WHERE ID = 1", "INSERT INTO geoarchi (ID, punti, minx) VALUES (8, 0, 0)",
        "INSERT INTO campione (intero) VALUES (40000)", "INSERT INTO campione (intero) VALUES (1.5)",
        "INSERT INTO campione (testo) VALUES ('undici car.')", "INSERT INTO campione (sino) VALUES (2)",
        "INSERT INTO campione (data) VALUES ('31/02/2020')", "INSERT INTO campione (doppio) VALUES ('3,5')",
        "INSERT INTO nodi (ID, coord_x) VALUES (3, 2)"})
    EXPECT_TRUE(refused(sql)) << sql;
  // Changes that keep every reference are accepted.
  EXPECT_EQ(RawExec(path_, "UPDATE nodi SET coord_x = 3 WHERE ID = 1"), "");
  EXPECT_EQ(RawExec(path_, "DELETE FROM archi WHERE ID = 1; DELETE FROM nodi WHERE ID = 2"), "");
  EXPECT_EQ(RawExec(path_, "INSERT INTO campione (testo, intero) VALUES ('dieci car.', -32768)"), "");
  EXPECT_EQ(RawText(path_, "SELECT sino FROM campione"), "0") << "booleans default to false";
}

TEST_F(EngineTest, RelationDefinitionsThatTheEngineRefuses) {
  // The primary side must be identified by a unique index.
  EXPECT_FALSE(db_->CreateRelation({"senza_indice", "archi", "geoarchi", {{"denom", "ID"}}}, error_));
  EXPECT_FALSE(db_->CreateRelation({"tipi_diversi", "archi", "campione", {{"ID", "intero"}}}, error_));
  EXPECT_FALSE(db_->CreateRelation({"archi_ini", "nodi", "archi", {{"ID", "nodini"}}}, error_)) << "exists";
  EXPECT_FALSE(db_->CreateRelation({"campo", "nodi", "archi", {{"ID", "manca"}}}, error_));
  // Existing rows that would break it.
  ASSERT_TRUE(db_->Execute("INSERT INTO campione (lungo) VALUES (42)", error_));
  EXPECT_FALSE(db_->CreateRelation({"orfani", "nodi", "campione", {{"ID", "lungo"}}}, error_));
  EXPECT_NE(error_.find("senza corrispondenza"), std::string::npos);
  // Field names in any letter case.
  ASSERT_TRUE(db_->Execute("DELETE FROM campione", error_));
  EXPECT_TRUE(db_->CreateRelation({"nodi_campione", "NODI", "campione", {{"id", "LUNGO"}}}, error_))
      << error_;
  EXPECT_EQ(db_->DescribeRelations().at(3).fields.at(0).primary_field, "ID");
}

TEST_F(EngineTest, CompactCopiesEverythingIntoANewFile) {
  ASSERT_TRUE(db_->Execute("INSERT INTO nodi VALUES (1, 1.25, 2.5)", error_));
  db_.reset();
  const std::string copy = dir_.File("copia.mdb");
  ASSERT_TRUE(CompactDatabase(path_, copy, ";LANGID=0x0410;CP=1252;COUNTRY=0", error_)) << error_;
  ExpectSchemaWhole(copy);
  EXPECT_EQ(EngineDatabase::Open(copy, error_)->Locale(), ";LANGID=0x0410;CP=1252;COUNTRY=0");
  EXPECT_EQ(RawText(copy, "SELECT coord_y FROM nodi WHERE ID = 1"), "2.5");
  EXPECT_FALSE(CompactDatabase(path_, copy, kGeneralLocale, error_)) << "never over an existing file";
  EXPECT_FALSE(CompactDatabase(dir_.File("manca.mdb"), dir_.File("x.mdb"), kGeneralLocale, error_));
}

// A damaged leaf of an index and a damaged page of rows: the repair rebuilds the file from the rows it
// can read, and counts the others.
TEST_F(EngineTest, RepairRebuildsADamagedFileFromItsReadableRows) {
  std::string sql = "BEGIN;";
  for (int i = 1; i <= 3000; ++i)
    sql += "INSERT INTO nodi VALUES (" + std::to_string(i) + ", " + std::to_string(i) + ".5, 7);";
  ASSERT_TRUE(db_->Execute(sql + "COMMIT", error_)) << error_;
  db_.reset();
  const long pages = std::stol(RawText(path_, "PRAGMA page_count"));
  const long index_root = testing::RootPage(path_, "nodi.codice");
  // A leaf of the index (the root is followed by its leaves) and a page of rows near the end.
  for (const long page : {index_root + 1, pages - 3}) {
    std::fstream file(path_, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(page * 4096 + 100);
    file << std::string(3000, '\x5A');
  }
  std::vector<std::string> problems;
  ASSERT_TRUE(CheckDatabase(path_, SchemaCatalog{}, problems, error_)) << error_;
  ASSERT_FALSE(problems.empty());

  RepairReport report;
  ASSERT_TRUE(RepairDatabase(path_, SchemaCatalog{}, report, error_)) << error_;
  ASSERT_TRUE(CheckDatabase(path_, SchemaCatalog{}, problems, error_));
  EXPECT_TRUE(problems.empty()) << problems.front();
  const int rows = std::stoi(RawText(path_, "SELECT count(*) FROM nodi"));
  EXPECT_GT(rows, 2500);
  EXPECT_LT(rows, 3000) << "the rows of the damaged page are lost";
  ASSERT_EQ(report.tables.size(), 1u);
  EXPECT_EQ(report.tables[0].table, "nodi");
  EXPECT_EQ(report.tables[0].lost + report.tables[0].moved, 3000 - rows);
  ExpectSchemaWhole(path_);  // the repaired file is still ours, with its schema
}

// Repairs of damaged files: every readable row kept, the rows that lost their related row moved aside.

constexpr int kNodes = 2000;
constexpr int kArcs = 3000;

// Arc i runs between nodes StartNode(i) and EndNode(i); geoarchi has one row per arc.
int StartNode(int arc) {
  return arc % kNodes + 1;
}
int EndNode(int arc) {
  return arc * 7 % kNodes + 1;
}

// The sample network with enough rows for every table to span many pages.
bool MakeNetwork(const std::string& path, std::string& error) {
  auto db = testing::CreateSampleDatabase(path, error);
  const std::string numbers = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                              std::to_string(kArcs) + ") ";
  return db &&
         db->Execute(
             numbers + "INSERT INTO nodi SELECT i, i + 0.5, 7 FROM n WHERE i <= " + std::to_string(kNodes),
             error) &&
         db->Execute(
             numbers +
                 "INSERT INTO archi (ID, denom, classe, piazza, datins, nodini, nodfin, comune) "
                 "SELECT i, 'Via ' || i, 'c', 0, '2020-01-01', i % 2000 + 1, i * 7 % 2000 + 1, 1 FROM n",
             error) &&
         db->Execute(
             numbers + "INSERT INTO geoarchi (ID, punti, coord, minx) SELECT i, 2, zeroblob(4), i FROM n",
             error);
}

std::int64_t Count(const std::string& path, const std::string& sql) {
  return std::stoll(testing::RawText(path, sql));
}

std::int64_t Recovered(const std::string& path, const std::string& table) {
  return Count(path, "SELECT count(*) FROM vm_recovered WHERE table_name = '" + table + "'");
}

RepairedTable Entry(const RepairReport& report, const std::string& table) {
  for (const RepairedTable& entry : report.tables) {
    if (entry.table == table) return entry;
  }
  return {table};
}

class RepairTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(MakeNetwork(path_, error_)) << error_; }

  // Damages the leaves of a table at the given positions; the row ids they held.
  std::set<std::int64_t> DamageLeaves(const std::string& table,
                                      std::initializer_list<std::size_t> positions) {
    const PageFile file(path_);
    const std::vector<std::uint32_t> leaves = file.Leaves(RootPage(path_, table));
    std::set<std::int64_t> ids;
    for (const std::size_t position : positions) {
      EXPECT_LT(position + 2, leaves.size()) << table << " needs more pages";
      if (position >= leaves.size()) continue;
      for (const std::int64_t id : file.RowIds(leaves[position])) ids.insert(id);
      file.Damage(leaves[position]);
    }
    return ids;
  }

  void ExpectSound() {
    std::vector<std::string> problems;
    ASSERT_TRUE(CheckDatabase(path_, SchemaCatalog{}, problems, error_)) << error_;
    EXPECT_TRUE(problems.empty()) << problems.front();
  }

  TempDir dir_;
  std::string path_ = dir_.File("rete.mdb");
  std::string error_;
  RepairReport report_;
};

TEST_F(RepairTest, KeepsEveryReadableRowAndMovesThoseThatLostTheirRelatedRow) {
  // Two leaves of arcs with readable ones between them, and one of nodes.
  const std::set<std::int64_t> lost_arcs = DamageLeaves("archi", {3, 9});
  const std::set<std::int64_t> lost_nodes = DamageLeaves("nodi", {4});
  // Arcs whose node is lost, and the geometry of every arc lost or moved.
  std::int64_t moved_arcs = 0;
  for (int arc = 1; arc <= kArcs; ++arc)
    moved_arcs +=
        !lost_arcs.count(arc) && (lost_nodes.count(StartNode(arc)) || lost_nodes.count(EndNode(arc)));
  ASSERT_GT(moved_arcs, 0);
  const std::int64_t lost_arc_count = static_cast<std::int64_t>(lost_arcs.size());
  const std::int64_t lost_node_count = static_cast<std::int64_t>(lost_nodes.size());

  ASSERT_TRUE(RepairDatabase(path_, SchemaCatalog{}, report_, error_)) << error_;
  ExpectSound();
  const struct {
    const char* table;
    std::int64_t lost, moved, rows;
  } cases[] = {
      {"nodi", lost_node_count, 0, kNodes - lost_node_count},
      {"archi", lost_arc_count, moved_arcs, kArcs - lost_arc_count - moved_arcs},
      {"geoarchi", 0, lost_arc_count + moved_arcs, kArcs - lost_arc_count - moved_arcs},
  };
  for (const auto& expected : cases) {
    const RepairedTable entry = Entry(report_, expected.table);
    EXPECT_EQ(entry.lost, expected.lost) << expected.table;
    EXPECT_FALSE(entry.lost_uncounted) << expected.table;
    EXPECT_EQ(entry.moved, expected.moved) << expected.table;
    EXPECT_EQ(Recovered(path_, expected.table), expected.moved) << expected.table;
    EXPECT_EQ(Count(path_, std::string("SELECT count(*) FROM ") + expected.table), expected.rows)
        << expected.table;
  }
  EXPECT_EQ(report_.tables.size(), 3u);
  // A moved row reads back as the values to put it back with.
  const std::int64_t first =
      Count(path_, "SELECT min(row_id) FROM vm_recovered WHERE table_name = 'geoarchi'");
  const std::string id = std::to_string(first);
  EXPECT_EQ(
      Count(path_, "SELECT count(*) FROM vm_recovered WHERE table_name = 'geoarchi' AND row_id = " + id +
                       " AND field_names = '\"ID\", \"punti\", \"coord\", \"minx\"' AND field_values = '" +
                       id + ", 2, X''00000000'', " + id + ".0' AND reason = 'relazione geo_archi'"),
      1);
  auto database = EngineDatabase::Open(path_, error_);
  ASSERT_TRUE(database) << error_;
  const std::vector<std::string> tables = database->TableNames();
  EXPECT_EQ(std::count(tables.begin(), tables.end(), "vm_recovered"), 0);
  database.reset();

  // A sound file repairs silently; the recovered rows stay through repairs and copies, and grow.
  const std::int64_t recovered = Count(path_, "SELECT count(*) FROM vm_recovered");
  ASSERT_TRUE(RepairDatabase(path_, SchemaCatalog{}, report_, error_)) << error_;
  EXPECT_TRUE(report_.tables.empty());
  ASSERT_TRUE(CompactDatabase(path_, dir_.File("copia.mdb"), kGeneralLocale, error_)) << error_;
  EXPECT_EQ(Count(dir_.File("copia.mdb"), "SELECT count(*) FROM vm_recovered"), recovered);
  const std::int64_t lost_again = static_cast<std::int64_t>(DamageLeaves("archi", {5}).size());
  ASSERT_TRUE(RepairDatabase(path_, SchemaCatalog{}, report_, error_)) << error_;
  ExpectSound();
  EXPECT_EQ(Entry(report_, "archi").lost, lost_again);
  EXPECT_EQ(Entry(report_, "geoarchi").moved, lost_again);
  EXPECT_EQ(Count(path_, "SELECT count(*) FROM vm_recovered"), recovered + lost_again);
}

TEST_F(RepairTest, WithoutAnIndexReadingGoesOnPastDamagedPages) {
  // A table of another tool, which no index counts.
  auto database = EngineDatabase::Open(path_, error_);
  ASSERT_TRUE(
      database->Execute("CREATE TABLE sciolta (testo TEXT); INSERT INTO sciolta SELECT printf('%040d', ID) "
                        "FROM archi",
                        error_))
      << error_;
  database.reset();
  const std::int64_t lost = static_cast<std::int64_t>(DamageLeaves("sciolta", {2, 6}).size());

  ASSERT_TRUE(RepairDatabase(path_, SchemaCatalog{}, report_, error_)) << error_;
  ExpectSound();
  EXPECT_EQ(Count(path_, "SELECT count(*) FROM sciolta"), kArcs - lost);
  ASSERT_EQ(report_.tables.size(), 1u);
  EXPECT_TRUE(report_.tables[0].lost_uncounted);
}

TEST_F(RepairTest, RowsThatBreakTheirRelationsAreMovedWithoutDamage) {
  // Another tool took the enforcement away and left a chain: an arc without its node, whose geometry
  // then has no arc either.
  auto database = EngineDatabase::Open(path_, error_);
  ASSERT_TRUE(
      database->Execute("DROP TRIGGER \"rel.archi_ini.del\"; DROP TRIGGER \"rel.archi_fin.del\";"
                        "DROP TRIGGER \"rel.geo_archi.ins\"; DELETE FROM nodi WHERE ID = 11;"
                        "INSERT INTO geoarchi (ID, punti, minx) VALUES (" +
                            std::to_string(kArcs + 1) + ", 0, 0)",
                        error_))
      << error_;
  database.reset();
  std::int64_t arcs = 0;
  for (int arc = 1; arc <= kArcs; ++arc) arcs += StartNode(arc) == 11 || EndNode(arc) == 11;

  ASSERT_TRUE(RepairDatabase(path_, SchemaCatalog{}, report_, error_)) << error_;
  ExpectSound();
  EXPECT_EQ(Entry(report_, "archi").moved, arcs);
  EXPECT_EQ(Entry(report_, "geoarchi").moved, arcs + 1);
  EXPECT_EQ(Entry(report_, "nodi").moved, 0);
  EXPECT_EQ(Recovered(path_, "geoarchi"), arcs + 1);
}

TEST_F(RepairTest, ATableThatCannotBeReadAtAllStopsTheRepair) {
  // The root of a table with rows stops it, leaving the file as it was; that of an empty table, whose
  // index tells that nothing was in it, does not.
  const struct {
    const char* table;
    bool repaired;
  } cases[] = {{"archi", false}, {"campione", true}};
  for (const auto& expected : cases) {
    path_ = dir_.File(std::string(expected.table) + ".mdb");
    ASSERT_TRUE(MakeNetwork(path_, error_)) << error_;
    PageFile(path_).Damage(RootPage(path_, expected.table));
    const std::string before = testing::ReadText(path_);
    error_.clear();
    EXPECT_EQ(RepairDatabase(path_, SchemaCatalog{}, report_, error_), expected.repaired)
        << expected.table << ": " << error_;
    EXPECT_TRUE(report_.tables.empty()) << expected.table;
    if (expected.repaired) {
      ExpectSound();
      EXPECT_EQ(Count(path_, "SELECT count(*) FROM archi"), kArcs);
    } else {
      EXPECT_NE(error_.find(std::string("tavola ") + expected.table + " "), std::string::npos) << error_;
      EXPECT_TRUE(testing::ReadText(path_) == before) << "the file is left as it was";
    }
  }
}

}  // namespace
}  // namespace viamappa
