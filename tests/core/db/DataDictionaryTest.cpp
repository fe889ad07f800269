#include "db/DataDictionary.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/DbTable.h"
#include "db/RoadNetworkSchema.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::TempDir;

// A database with the dictionary tables and the rows of one small table, for the builders' failures.
class DictionaryBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("dizionario.mdb");
    std::string error;
    auto database = EngineDatabase::Create(path_, kGeneralLocale, error);
    ASSERT_TRUE(database) << error;
    ASSERT_TRUE(CreateDictionary(*database, ui_));
    database.reset();
    connection_ = std::make_unique<DbConnection>(path_, ui_);
    tavole_ = std::make_unique<DbTable>(*connection_, "tavole");
    campi_ = std::make_unique<DbTable>(*connection_, "campi");
    indici_ = std::make_unique<DbTable>(*connection_, "indici");
    indici2_ = std::make_unique<DbTable>(*connection_, "indici2");
    relaz_ = std::make_unique<DbTable>(*connection_, "relaz");
    relaz2_ = std::make_unique<DbTable>(*connection_, "relaz2");
    ASSERT_TRUE(AddTableRow(*tavole_, "prova", "Prova", "Una tavola di prova"));
    ASSERT_TRUE(AddFieldRow(*campi_, "prova", "ID", 'L', 0, true, "ID", ""));
    ASSERT_TRUE(AddFieldRow(*campi_, "prova", "nome", 'A', 12, false, "Nome", ""));
    ASSERT_TRUE(AddFieldRow(*campi_, "prova", "alias", 'X', 0, false, "Alias", ""));
  }

  EngineDatabase& engine() { return *connection_->engine(); }

  TempDir dir_;
  std::string path_;
  ScriptedUserInterface ui_;
  std::unique_ptr<DbConnection> connection_;
  std::unique_ptr<DbTable> tavole_, campi_, indici_, indici2_, relaz_, relaz2_;
};

TEST_F(DictionaryBuilderTest, AnUnknownTypeLetterTakesTheFieldBefore) {
  ASSERT_TRUE(CreateTable("prova", *connection_, engine()));
  const auto fields = engine().DescribeFields("prova");
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[2].type, FieldType::Text);
  EXPECT_EQ(fields[2].size, 12);
  EXPECT_TRUE(fields[0].required);
}

TEST_F(DictionaryBuilderTest, AFailedIndexIsShownAndTheNextIsStillBuilt) {
  ASSERT_TRUE(AddIndexRow(*indici_, "prova", "buco", false, "", ""));
  ASSERT_TRUE(AddIndexFieldRow(*indici2_, "prova", "buco", 0, "ID"));
  ASSERT_TRUE(AddIndexFieldRow(*indici2_, "prova", "buco", 2, "nome"));
  ASSERT_TRUE(AddIndexRow(*indici_, "prova", "lontano", false, "", ""));
  ASSERT_TRUE(AddIndexFieldRow(*indici2_, "prova", "lontano", 12, "ID"));
  ASSERT_TRUE(AddIndexRow(*indici_, "prova", "codice", true, "", ""));
  ASSERT_TRUE(AddIndexFieldRow(*indici2_, "prova", "codice", 0, "ID"));
  ui_.ClearMessages();
  EXPECT_FALSE(CreateTable("prova", *connection_, engine()));
  ASSERT_EQ(ui_.messages().size(), 2u);
  const RecordedMessage& gap = ui_.messages()[0];
  EXPECT_TRUE(gap.text.starts_with("Tavola \"prova\": errore creazione indice \"buco\"\n\n")) << gap.text;
  EXPECT_TRUE(ui_.messages()[1].text.starts_with("Tavola \"prova\": errore creazione indice \"lontano\""));
  EXPECT_TRUE(engine().FindIndex("prova", "codice")) << "the loop went on";
  EXPECT_FALSE(engine().FindIndex("prova", "buco"));
}

TEST_F(DictionaryBuilderTest, AFailedRelationIsShownAndTheNextIsStillBuilt) {
  ASSERT_TRUE(AddIndexRow(*indici_, "prova", "codice", true, "", ""));
  ASSERT_TRUE(AddIndexFieldRow(*indici2_, "prova", "codice", 0, "ID"));
  ASSERT_TRUE(AddTableRow(*tavole_, "figlia", "Figlia", ""));
  ASSERT_TRUE(AddFieldRow(*campi_, "figlia", "padre", 'L', 0, true, "", ""));
  ASSERT_TRUE(AddFieldRow(*campi_, "figlia", "nome", 'A', 12, false, "", ""));
  ASSERT_TRUE(CreateAllTables(*connection_, engine()));
  ASSERT_TRUE(AddRelationRow(*relaz_, "per_nome", "prova", "figlia"));
  ASSERT_TRUE(AddRelationFieldRow(*relaz2_, "per_nome", 0, "nome", "nome"));
  ASSERT_TRUE(AddRelationRow(*relaz_, "per_id", "prova", "figlia"));
  ASSERT_TRUE(AddRelationFieldRow(*relaz2_, "per_id", 0, "id", "PADRE"));
  ui_.ClearMessages();
  EXPECT_FALSE(CreateRelations(*connection_, engine()));
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_TRUE(ui_.last_message().text.starts_with("Errore creazione relazione \"per_nome\"\n\n"));
  const auto relations = engine().DescribeRelations();
  ASSERT_EQ(relations.size(), 1u);
  EXPECT_EQ(relations[0].name, "per_id");
}

TEST_F(DictionaryBuilderTest, TheDictionaryIsCreatedOnce) {
  ui_.ClearMessages();
  EXPECT_FALSE(CreateDictionary(engine(), ui_));
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_TRUE(ui_.last_message().text.starts_with("Errore in fase di inserimento tavola \"tavole\"\n\n"));
}

using RoadNetworkSchemaTest = testing::RoadNetworkTest;

// Arcs and their relations run through every test that builds a network; these rules are met nowhere else.
TEST_F(RoadNetworkSchemaTest, TheSchemaHoldsItsRules) {
  // Required names; the relation written with "id" joins local.ID.
  DbTable comuni(db(), "comuni");
  EXPECT_FALSE(comuni.AddNew() && comuni.SetField("ID", "5") && comuni.SetField("provin", "TN") &&
               comuni.SetField("istat", "022001") && comuni.Update());
  EXPECT_TRUE(ui_.last_message().text.starts_with("Errore aggiornamento tavola (comuni)"));
  DbTable fermate(db(), "fermate");
  EXPECT_FALSE(fermate.AddNew() && fermate.SetField("ID", "1") && fermate.SetField("denom", "Piazza") &&
               fermate.SetField("fermata", "F1") && fermate.SetField("local", "9") &&
               fermate.SetField("coord_x", "1") && fermate.SetField("coord_y", "1") && fermate.Update());
  EXPECT_NE(ui_.last_message().text.find("fermate_local"), std::string::npos);
}

}  // namespace
}  // namespace viamappa
