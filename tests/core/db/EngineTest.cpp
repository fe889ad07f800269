#include "db/Engine.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "support/RawDatabase.h"
#include "support/SampleDatabase.h"

namespace viamappa {
namespace {

using testing::CreateSampleDatabase;
using testing::RawExec;
using testing::RawText;
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
  TableDefinition table("ordine");
  ASSERT_TRUE(table.AppendField({"b", FieldType::Long, 0, 2}, error_));
  ASSERT_TRUE(table.AppendField({"a", FieldType::Long, 0, 1}, error_));
  // Names ignore letter case; texts hold 255 characters at most; every field has a name.
  for (const FieldDefinition& wrong :
       {FieldDefinition{"A", FieldType::Long}, FieldDefinition{"t", FieldType::Text, 256},
        FieldDefinition{"", FieldType::Text, 5}})
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
  const std::string message = RawExec(path_, "UPDATE archi SET nodfin = 9 WHERE ID = 1");
  EXPECT_NE(message.find("archi_fin"), std::string::npos) << "the message names the relation: " << message;
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

}  // namespace
}  // namespace viamappa
