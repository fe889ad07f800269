#include "app/DatabaseCreation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/DbConnection.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::TempDir;

TEST(DatabaseCreationTest, ANewDatabaseHoldsTheSchemaAndItsSeedRows) {
  TempDir dir;
  ScriptedUserInterface ui;
  const std::string path = dir.File("nuovo.mdb");
  ASSERT_EQ(CreateDatabaseFile(path, ui), CreationResult::Created);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.last_message().text, "Il database " + path + " è stato creato con successo\n\n");
  EXPECT_EQ(ui.last_message().icon, MessageIcon::Information);
  EXPECT_EQ(ui.last_message().caption, "Creazione database");

  DbConnection connection(path, ui);
  const std::vector<std::string> tables = connection.engine()->TableNames();
  EXPECT_EQ(tables.size(), 23u);
  // Road-network tables are built in alphabetical order, whatever the order of their dictionary rows.
  const std::vector<std::string> built(tables.begin() + 7, tables.end());
  EXPECT_EQ(built, (std::vector<std::string>{"archi", "comuni", "fermate", "fermitin", "geoarchi", "geocom",
                                             "geoitin", "geoloc", "itiner", "local", "nodi", "nomi",
                                             "orgarchi", "regazi", "tipi", "toponimi"}));
  using testing::Rows;
  EXPECT_EQ(Rows(connection, "count(*)", "regazi"), std::vector<std::string>{"210"});
  EXPECT_EQ(Rows(connection, "denom", "regazi", "codice = 0"),
            std::vector<std::string>{"*** azienda non assegnata ***"});
  EXPECT_EQ(Rows(connection, "denom, istat", "comuni"),
            std::vector<std::string>{"*** Comune non assegnato ***| "});
  EXPECT_EQ(Rows(connection, "istat", "local"), std::vector<std::string>{" "});
  for (const char* table : {"archi", "nodi", "geoarchi", "toponimi", "tipi", "nomi", "fermate", "utenti"})
    EXPECT_EQ(Rows(connection, "count(*)", table), std::vector<std::string>{"0"}) << table;

  // Fields keep the order of their dictionary rows; the second primary index of comuni is unique.
  const auto fields = connection.engine()->DescribeFields("archi");
  ASSERT_EQ(fields.size(), 20u);
  EXPECT_EQ(fields.front().name, "ID");
  EXPECT_EQ(fields.back().name, "comune");
  const auto istat = connection.engine()->FindIndex("comuni", "istat");
  ASSERT_TRUE(istat);
  EXPECT_TRUE(istat->unique);
  EXPECT_FALSE(istat->primary);
  EXPECT_EQ(connection.engine()->DescribeRelations().size(), 13u);
  EXPECT_EQ(ui.messages().size(), 1u) << ui.last_message().text;
}

}  // namespace
}  // namespace viamappa
