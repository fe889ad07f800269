#include "db/SchemaAudit.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "base/TextUtil.h"
#include "db/Engine.h"
#include "support/RawDatabase.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::RawExec;
using testing::TempDir;

void AddLines(sqlite3* db, const std::string& sql, std::vector<std::string>& lines) {
  SqliteStatement statement = PrepareStatement(db, sql);
  while (statement && sqlite3_step(statement.get()) == SQLITE_ROW)
    lines.emplace_back(ColumnText(statement.get(), 0));
}

// Everything the file holds but the recovered rows and the order of rows: its schema, the engine's
// descriptions of indexes and relations, and the rows of every table of the catalog.
std::vector<std::string> Content(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::vector<std::string> lines;
  AddLines(db,
           "SELECT type || ' ' || name || ' ' || COALESCE(sql, '') FROM sqlite_master "
           "WHERE name <> 'vm_recovered'",
           lines);
  AddLines(db,
           "SELECT 'vm_index ' || quote(table_name) || quote(index_name) || is_primary || ignore_nulls "
           "FROM vm_index",
           lines);
  AddLines(db,
           "SELECT 'vm_relation ' || name || position || primary_table || foreign_table || primary_field || "
           "foreign_field FROM vm_relation",
           lines);
  for (const CatalogTable& table : ProgramCatalog().tables) {
    std::string values;
    for (const FieldDefinition& field : table.fields)
      values += " || '|' || quote(" + QuoteIdentifier(field.name) + ")";
    AddLines(db, "SELECT '" + table.name + "' " + values + " FROM " + QuoteIdentifier(table.name), lines);
  }
  sqlite3_close(db);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The lines of one content that the other lacks.
std::vector<std::string> Lacking(const std::vector<std::string>& from, const std::vector<std::string>& in) {
  std::vector<std::string> lacking;
  std::set_difference(from.begin(), from.end(), in.begin(), in.end(), std::back_inserter(lacking));
  return lacking;
}

std::vector<std::string> Problems(const std::string& path) {
  std::vector<std::string> problems;
  std::string error;
  EXPECT_TRUE(CheckDatabase(path, ProgramCatalog(), problems, error)) << error;
  return problems;
}

class SchemaAuditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fresh_ = new TempDir;
    ASSERT_TRUE(testing::MakeRoadNetworkDatabase(fresh_->File("nuovo.mdb")));
  }
  static void TearDownTestSuite() {
    delete fresh_;
    fresh_ = nullptr;
  }

  // A copy of the fresh database with rows in tables that no damage touches.
  std::string Copy(const std::string& name) {
    const std::string path = dir_.File(name);
    std::filesystem::copy_file(fresh_->File("nuovo.mdb"), path);
    EXPECT_EQ(RawExec(path,
                      "INSERT INTO nodi VALUES (1, 1.5, 2), (2, 3, 4.25);"
                      "INSERT INTO tipi VALUES ('Via'); INSERT INTO nomi VALUES ('Via', 'Roma')"),
              "");
    return path;
  }

  static TempDir* fresh_;
  TempDir dir_;
};

TempDir* SchemaAuditTest::fresh_ = nullptr;

TEST_F(SchemaAuditTest, ANewDatabaseIsWhatTheCatalogDescribes) {
  const std::string path = Copy("rete.mdb");
  EXPECT_TRUE(Problems(path).empty()) << Problems(path).front();
  const std::string before = testing::ReadText(path);
  RepairReport report;
  std::string error;
  ASSERT_TRUE(RepairDatabase(path, ProgramCatalog(), report, error)) << error;
  EXPECT_TRUE(report.tables.empty());
  EXPECT_TRUE(report.rebuilt.empty());
  EXPECT_TRUE(testing::ReadText(path) == before) << "a sound file is not written";
}

// Each damage that another tool can do to the schema is named by the check; the repair puts back exactly
// what the creation made, leaving every row in place, or refuses and leaves the file as it was.
TEST_F(SchemaAuditTest, CheckNamesEachDamageAndRepairRebuildsItOrChangesNothing) {
  const std::string comune = "Manca la riga 0 della tavola comuni (\"*** Comune non assegnato ***\").";
  const std::string localita = "Manca la riga 0 della tavola local (\"*** Località non assegnata ***\").";
  const auto unenforced = [](const char* relation) {
    return "La relazione " + std::string(relation) + " non è più applicata dal database.";
  };
  const struct {
    const char* name;
    std::string prepare;  // before the content is taken
    std::string damage;
    std::vector<std::string> problems;
    std::vector<std::string> rebuilt;
    std::string refused = {};  // a part of the repair's error; empty when the repair succeeds
  } cases[] = {
      {"indice",
       "",
       "DROP INDEX \"archi.codice\"",
       {"Manca l'indice archi.codice."},
       {"indice archi.codice"}},
      {"indice_diverso",
       "",
       "DROP INDEX \"comuni.istat\"; CREATE INDEX \"comuni.istat\" ON comuni (istat)",
       {"L'indice comuni.istat è sul campo istat invece che sul campo istat, univoco."},
       {"indice comuni.istat"}},
      {"tavola",
       "",
       "DROP TABLE archi",
       {"Manca la tavola archi.", unenforced("geo_archi"), unenforced("org_archi"), unenforced("archi_ini"),
        unenforced("archi_fin"), unenforced("archi_loc"), unenforced("archi_com")},
       {"tavola archi", "relazione geo_archi", "relazione org_archi", "relazione archi_ini",
        "relazione archi_fin", "relazione archi_loc", "relazione archi_com"}},
      {"dizionario", "", "DROP TABLE utenti", {"Manca la tavola utenti."}, {"tavola utenti"}},
      {"segnaposto",
       "",
       "DELETE FROM local WHERE ID = 0; DELETE FROM comuni WHERE ID = 0",
       {comune, localita},
       {"riga 0 di comuni", "riga 0 di local"}},
      {"aziende",
       "",
       "DELETE FROM regazi",
       {"Mancano tutte le 210 righe della tavola regazi."},
       {"210 righe di regazi"}},
      {"relazione",
       "",
       "DELETE FROM vm_relation WHERE name = 'archi_ini'",
       {"Manca la relazione archi_ini."},
       {"relazione archi_ini"}},
      {"relazione_diversa",
       "",
       "UPDATE vm_relation SET foreign_field = 'nodfin' WHERE name = 'archi_ini'",
       {"La relazione archi_ini unisce nodi.ID e archi.nodfin invece di nodi.ID e archi.nodini."},
       {"relazione archi_ini"}},
      {"trigger",
       "",
       "DROP TRIGGER \"rel.archi_fin.ins\"",
       {unenforced("archi_fin")},
       {"relazione archi_fin"}},
      // The placeholder comes back before the relations are judged, so the arc that refers to it stays.
      {"segnaposto_in_uso",
       "INSERT INTO archi (ID, piazza, datins, datmod, nodini, nodfin, local, comune) "
       "VALUES (7, 0, '2020-01-01', '2020-01-01', 1, 2, 0, 0)",
       "DROP TRIGGER \"rel.archi_com.del\"; DROP TRIGGER \"rel.local_comune.del\"; DELETE FROM comuni WHERE "
       "ID = 0",
       {comune, unenforced("local_comune"),
        "La tavola local contiene 1 record senza corrispondenza nella tavola comuni (relazione "
        "local_comune).",
        unenforced("archi_com"),
        "La tavola archi contiene 1 record senza corrispondenza nella tavola comuni (relazione archi_com)."},
       {"riga 0 di comuni", "relazione local_comune", "relazione archi_com"}},
      {"campo_rinominato",
       "",
       "ALTER TABLE archi RENAME COLUMN denom TO denomx",
       {"Nella tavola archi manca il campo denom.",
        "Nella tavola archi il campo denomx non appartiene allo schema."},
       {},
       "Nella tavola archi manca il campo denom.\nNella tavola archi il campo denomx non appartiene allo "
       "schema."},
      // A field of another type refuses the whole repair, the missing index too.
      {"campo_di_altro_tipo",
       "",
       "DROP TABLE tipi; CREATE TABLE tipi (tipo INTEGER NOT NULL)",
       {"Il campo tipi.tipo è di tipo Intero lungo invece di Testo (20).", "Manca l'indice tipi.codice."},
       {},
       "\nIl campo tipi.tipo è di tipo Intero lungo invece di Testo (20)."},
      // A rebuilding that fails half-way, after the table is back, undoes it all.
      {"a_meta",
       "",
       "DROP TABLE geoarchi; DELETE FROM local WHERE ID = 0; DELETE FROM comuni WHERE ID = 0;"
       "INSERT INTO comuni VALUES (5, 'Altro', 'XX', ' ')",
       {"Manca la tavola geoarchi.", comune, localita, unenforced("geo_archi")},
       {},
       "Impossibile ricostruire la riga 0 della tavola comuni"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Copy(std::string(c.name) + ".mdb");
    ASSERT_EQ(RawExec(path, c.prepare), "");
    const std::vector<std::string> content = Content(path);
    ASSERT_EQ(RawExec(path, c.damage), "");
    EXPECT_EQ(Problems(path), c.problems);

    const std::string damaged = testing::ReadText(path);
    RepairReport report;
    std::string error;
    const bool repaired = RepairDatabase(path, ProgramCatalog(), report, error);
    EXPECT_TRUE(report.tables.empty());
    if (!c.refused.empty()) {
      EXPECT_FALSE(repaired);
      EXPECT_NE(error.find(c.refused), std::string::npos) << error;
      EXPECT_TRUE(report.rebuilt.empty());
      EXPECT_TRUE(testing::ReadText(path) == damaged) << "the file is left as it was";
      continue;
    }
    ASSERT_TRUE(repaired) << error;
    EXPECT_EQ(report.rebuilt, c.rebuilt);
    EXPECT_TRUE(Problems(path).empty()) << Problems(path).front();
    const std::vector<std::string> repaired_content = Content(path);
    EXPECT_EQ(Lacking(content, repaired_content), std::vector<std::string>()) << "lost by the repair";
    EXPECT_EQ(Lacking(repaired_content, content), std::vector<std::string>()) << "added by the repair";
  }
}

// A damaged file whose fields differ too is not salvaged: rebuilding it would drop the foreign field.
TEST_F(SchemaAuditTest, AFieldDifferenceStopsTheRepairBeforeDamagedPagesAreSalvaged) {
  const std::string path = Copy("danneggiato.mdb");
  ASSERT_EQ(RawExec(path,
                    "WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                    "INSERT INTO nodi SELECT i, i, i FROM n; ALTER TABLE nodi ADD COLUMN quota DOUBLE"),
            "");
  const testing::PageFile file(path);
  file.Damage(file.Leaves(testing::RootPage(path, "nodi")).at(3));
  const std::vector<std::string> problems = Problems(path);
  ASSERT_GE(problems.size(), 2u);
  EXPECT_EQ(problems.back(), "Nella tavola nodi il campo quota non appartiene allo schema.");

  const std::string damaged = testing::ReadText(path);
  RepairReport report;
  std::string error;
  EXPECT_FALSE(RepairDatabase(path, ProgramCatalog(), report, error));
  EXPECT_NE(error.find("\nNella tavola nodi il campo quota non appartiene allo schema."), std::string::npos)
      << error;
  EXPECT_TRUE(report.tables.empty());
  EXPECT_TRUE(testing::ReadText(path) == damaged) << "the file is left as it was";
}

}  // namespace
}  // namespace viamappa
