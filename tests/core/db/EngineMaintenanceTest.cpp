// Repairs of damaged files: every readable row kept, the rows that lost their related row moved aside.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "db/Engine.h"
#include "support/RawDatabase.h"
#include "support/SampleDatabase.h"

namespace viamappa {
namespace {

using testing::PageFile;
using testing::RootPage;
using testing::TempDir;

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
