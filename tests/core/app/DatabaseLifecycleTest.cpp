#include "app/DatabaseLifecycle.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/DatabaseCreation.h"
#include "app/DatabaseFiles.h"
#include "db/DatabaseFileSwap.h"
#include "db/DbTable.h"
#include "db/Engine.h"
#include "support/RawDatabase.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::TempDir;

// Records what the commands asked of the window, and keeps its title.
class RecordingShell : public ShellWindow {
 public:
  explicit RecordingShell(const ApplicationState& state) : state_(state) {}
  void UpdateTitle() override { title = MainWindowTitle(state_.connected()); }
  void DropMap() override { calls.push_back("drop"); }
  void DiscardMap() override { calls.push_back("discard"); }
  void RebuildMap() override { calls.push_back("rebuild"); }
  void Redraw() override { calls.push_back("redraw"); }

  std::string title;
  std::vector<std::string> calls;

 private:
  const ApplicationState& state_;
};

class DatabaseLifecycleTest : public ::testing::Test {
 protected:
  DatabaseLifecycleTest()
      : settings_(dir_.File("config/1.00.reg")), shell_(state_), lifecycle_(state_, ui_, shell_, settings_) {}

  // A complete database made outside the commands.
  std::string MakeDatabase(const std::string& name) {
    EXPECT_TRUE(testing::MakeRoadNetworkDatabase(dir_.File(name)));
    return dir_.File(name);
  }
  // A file that is no database.
  std::string MakeText(const std::string& name) {
    std::ofstream(dir_.File(name)) << "non un database";
    return dir_.File(name);
  }

  TempDir dir_;
  ScriptedUserInterface ui_;
  ApplicationState state_;
  SettingsStore settings_;
  RecordingShell shell_;
  DatabaseLifecycle lifecycle_;
};

// A new database replaces a file left there (and its stale journal) but is not associated; the
// associated database is never replaced, and a folder that is missing is told twice.
TEST_F(DatabaseLifecycleTest, CreateReplacesAnyFileButTheAssociatedOneAndAssociatesNothing) {
  lifecycle_.Create();
  EXPECT_TRUE(ui_.messages().empty()) << "cancelled: nothing happens";
  const std::string path = dir_.File("vecchio.mdb");
  std::ofstream(path) << "un vecchio file";
  std::ofstream(path + "-journal") << "un giornale rimasto";
  ui_.QueueFile(path);
  lifecycle_.Create();
  EXPECT_TRUE(ui_.file_choices().back().confirm_overwrite);
  EXPECT_EQ(ui_.last_message().text, "Il database " + path + " è stato creato con successo\n\n");
  EXPECT_EQ(testing::CountRows(path, "regazi"), 210);
  EXPECT_FALSE(state_.connection);
  EXPECT_TRUE(state_.database_path.empty());

  state_.database_path = path;
  lifecycle_.ConnectAtStartup();
  ASSERT_TRUE(state_.connected());
  {
    DbTable nodi(*state_.connection, "nodi");
    ASSERT_TRUE(nodi.AddNew() && nodi.SetField("ID", "1") && nodi.SetField("coord_x", "1") &&
                nodi.SetField("coord_y", "1") && nodi.Update());
  }
  ui_.QueueFile(dir_.path() + "/./vecchio.mdb");
  lifecycle_.Create();
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Warning);
  EXPECT_EQ(testing::CountRows(path, "nodi"), 1) << "the associated database is untouched";

  ui_.ClearMessages();
  const std::string missing = dir_.File("manca/nuovo.mdb");
  ui_.QueueFile(missing);
  lifecycle_.Create();
  ASSERT_EQ(ui_.messages().size(), 2u);
  const std::string failed = "Errore durante la creazione del database " + missing + "\n\n";
  EXPECT_TRUE(ui_.messages()[0].text.starts_with(failed));
  EXPECT_GT(ui_.messages()[0].text.size(), failed.size()) << "with the engine's description";
  EXPECT_EQ(ui_.messages()[1].text, failed);
}

TEST_F(DatabaseLifecycleTest, ConnectAndDisconnectKeepTitleMapAndState) {
  const std::string path = MakeDatabase("rete.mdb");
  ui_.QueueFile(path);
  lifecycle_.Connect();
  EXPECT_TRUE(state_.connected());
  EXPECT_EQ(state_.database_path, path);
  EXPECT_EQ(shell_.calls, (std::vector<std::string>{"drop", "rebuild", "redraw"}));
  EXPECT_TRUE(ui_.file_choices().back().must_exist);

  shell_.calls.clear();
  lifecycle_.Disconnect();  // answered Cancel
  EXPECT_TRUE(state_.connected());
  EXPECT_EQ(shell_.calls, std::vector<std::string>{"redraw"});
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Question);

  shell_.calls.clear();
  ui_.QueueAnswer(true);
  lifecycle_.Disconnect();
  EXPECT_FALSE(state_.connection);
  EXPECT_TRUE(state_.database_path.empty());
  EXPECT_EQ(shell_.title, MainWindowTitle(false));
  EXPECT_EQ(shell_.calls, (std::vector<std::string>{"discard", "redraw"}));

  // A file that is no database, chosen while connected, leaves none and no map.
  ui_.QueueFile(path);
  lifecycle_.Connect();
  ASSERT_TRUE(state_.connected());
  shell_.calls.clear();
  ui_.QueueFile(MakeText("testo.mdb"));
  lifecycle_.Connect();
  EXPECT_FALSE(state_.connection);
  EXPECT_TRUE(state_.database_path.empty());
  EXPECT_TRUE(ui_.last_message().text.starts_with("Errore in fase di apertura del database\n\n"));
  EXPECT_EQ(shell_.title, MainWindowTitle(false));
  EXPECT_EQ(shell_.calls.back(), "redraw");
  EXPECT_EQ(std::count(shell_.calls.begin(), shell_.calls.end(), "rebuild"), 0)
      << "no map without a database";
}

// A copy replaces the destination only when it is whole.
TEST_F(DatabaseLifecycleTest, DuplicateReplacesTheDestinationOnlyWithAWholeCopy) {
  const std::string destination = dir_.File("copia.mdb");
  std::ofstream(destination) << "da sostituire";
  ui_.QueueFile(MakeDatabase("origine.mdb"));
  ui_.QueueFile(destination);
  lifecycle_.Duplicate();
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
  EXPECT_EQ(testing::CountRows(destination, "regazi"), 210);
  EXPECT_FALSE(FileExists(destination + ".duplicazione"));

  const std::string broken = MakeText("rotto.mdb");
  ui_.QueueFile(broken);
  ui_.QueueFile(destination);
  lifecycle_.Duplicate();
  EXPECT_TRUE(ui_.last_message().text.starts_with("Errore durante la duplicazione del database\n\n" + broken +
                                                  "\n" + destination + "\n\n"));
  EXPECT_EQ(testing::CountRows(destination, "regazi"), 210);
}

TEST_F(DatabaseLifecycleTest, ADuplicateThatCannotTakeItsPlaceLeavesTheDestinationsJournal) {
  // A folder in the way makes the final rename fail for every user, root included.
  const std::string destination = dir_.File("cartella.mdb");
  std::filesystem::create_directories(destination + "/dentro");
  std::ofstream(destination + "-journal") << "giornale del file esistente";
  ui_.QueueFile(MakeDatabase("origine.mdb"));
  ui_.QueueFile(destination);
  lifecycle_.Duplicate();
  EXPECT_TRUE(ui_.last_message().text.ends_with("\n\nImpossibile scrivere il file " + destination + " (" +
                                                std::string(std::strerror(EISDIR)) + ")."))
      << ui_.last_message().text;
  EXPECT_TRUE(FileExists(destination + "-journal"));
  EXPECT_FALSE(FileExists(destination + ".duplicazione"));
}

TEST_F(DatabaseLifecycleTest, RepairTellsWhatItCouldNotKeepInPlaceAndWhatItRebuilt) {
  // Nodes on a damaged page are lost; a geometry whose arc is missing is moved; a lost table is rebuilt.
  const struct {
    const char* name;
    const char* sql;
    bool damage;
    MessageIcon icon;
    std::string text;
  } cases[] = {
      {"nodi.mdb",
       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
       "INSERT INTO nodi SELECT i, i, i FROM n",
       true, MessageIcon::Warning,
       "Riparazione completata con perdite\n\n{}\n\nnodi: {} righe non leggibili"},
      {"geoarchi.mdb",
       "DROP TRIGGER \"rel.geo_archi.ins\";"
       "INSERT INTO geoarchi (ID, punti, minx, miny, maxx, maxy) VALUES (5, 0, 0, 0, 0, 0)",
       false, MessageIcon::Information,
       "Riparazione completata\n\n{}\n\ngeoarchi: 1 riga spostata in vm_recovered\n\n"
       "Ricostruiti: relazione geo_archi"},
      {"tavola.mdb", "DROP TABLE geoarchi; DELETE FROM local WHERE ID = 0", false, MessageIcon::Information,
       "Riparazione completata\n\n{}\n\nRicostruiti: tavola geoarchi, riga 0 di local, relazione geo_archi"},
  };
  for (const auto& expected : cases) {
    const std::string path = MakeDatabase(expected.name);
    std::string error;
    ASSERT_TRUE(EngineDatabase::Open(path, error)->Execute(expected.sql, error)) << error;
    std::string text = expected.text;
    text.replace(text.find("{}"), 2, path);
    if (expected.damage) {
      const testing::PageFile file(path);
      const std::uint32_t leaf = file.Leaves(testing::RootPage(path, "nodi")).at(3);
      text.replace(text.find("{}"), 2, std::to_string(file.RowIds(leaf).size()));
      file.Damage(leaf);
    }
    ui_.ClearMessages();
    ui_.QueueFile(path);
    lifecycle_.Repair();
    ASSERT_EQ(ui_.messages().size(), 1u) << expected.name;
    EXPECT_EQ(ui_.last_message().text, text);
    EXPECT_EQ(ui_.last_message().icon, expected.icon) << expected.name;
    EXPECT_EQ(ui_.last_message().caption, "Riparazione database");
  }
}

TEST_F(DatabaseLifecycleTest, ABackgroundWithoutDatabaseIsOnlyRemembered) {
  ui_.QueueFile(std::string("/dati/sfondo.sfx"));
  lifecycle_.ChooseBackground();
  EXPECT_EQ(state_.background_path, "/dati/sfondo.sfx");
  EXPECT_EQ(shell_.calls, (std::vector<std::string>{"drop", "redraw"}));
}

TEST_F(DatabaseLifecycleTest, StartUpOffersTheDefaultDatabase) {
  ASSERT_TRUE(SettingsStore::Install(settings_.path(), dir_.path()));
  EXPECT_TRUE(lifecycle_.AskCreateAtStartup()) << "Cancel goes on without a database";
  EXPECT_TRUE(
      ui_.last_message().text.starts_with("L'applicazione Viamappa non è associata ad un database.\n\n"));
  EXPECT_TRUE(state_.database_path.empty());

  // Created when asked (the main window's test connects it); one left by an earlier run is taken as it is.
  ASSERT_TRUE(lifecycle_.CreateDefaultDatabase());
  state_ = ApplicationState{};
  ui_.ClearMessages();
  EXPECT_TRUE(lifecycle_.CreateDefaultDatabase());
  EXPECT_EQ(state_.database_path, dir_.File("Viamappa.MDB"));
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);
}

TEST_F(DatabaseLifecycleTest, WithoutSettingsTheDefaultDatabaseGoesToTheUserDataFolder) {
  const std::string data = dir_.File("dati-utente");
  {
    testing::ScopedEnvironment data_home("XDG_DATA_HOME", data);
    EXPECT_TRUE(lifecycle_.CreateDefaultDatabase());
  }
  EXPECT_EQ(ui_.messages().front().text, SettingsStore::AnomalyMessage());
  EXPECT_EQ(state_.database_path, data + "/Viamappa/Viamappa.MDB");
  EXPECT_EQ(testing::CountRows(state_.database_path, "regazi"), 210);
}

// A database is built beside its place and moved there only when complete: a disk that fills up
// part-way leaves the place as it was (empty, or the file that was there), with nothing half made.
TEST_F(DatabaseLifecycleTest, AFullDiskLeavesNothingHalfMade) {
  const std::string path = dir_.File("nuovo.mdb");
  const std::string old_file = dir_.File("vecchio.mdb");
  ASSERT_EQ(CreateDatabaseFile(old_file, ui_), CreationResult::Created);
  const std::string old_bytes = testing::ReadText(old_file);
  for (const int pages : {3, 12, 40}) {
    EngineDatabase::LimitFileSize(pages);
    EXPECT_NE(CreateDatabaseFile(path, ui_), CreationResult::Created) << pages;
    EXPECT_NE(CreateDatabaseFile(old_file, ui_), CreationResult::Created) << pages;
    EngineDatabase::LimitFileSize(0);
    EXPECT_FALSE(std::filesystem::exists(path)) << pages;
    EXPECT_EQ(testing::ReadText(old_file), old_bytes) << pages;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.File("")))
      EXPECT_EQ(entry.path().string().find(".creazione"), std::string::npos) << entry.path();
  }
}

// A database another process is writing is never replaced by a new one.
TEST_F(DatabaseLifecycleTest, AFileInUseIsNotReplaced) {
  const std::string path = dir_.File("in_uso.mdb");
  ASSERT_EQ(CreateDatabaseFile(path, ui_), CreationResult::Created);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(other, "BEGIN IMMEDIATE; DELETE FROM regazi WHERE codice = 1", nullptr, nullptr, nullptr),
      SQLITE_OK);
  EXPECT_TRUE(DatabaseFileInUse(path));
  ui_.ClearMessages();
  EXPECT_EQ(CreateDatabaseFile(path, ui_), CreationResult::FileFailed);
  EXPECT_NE(testing::Texts(ui_).front().find("è in uso da un altro programma"), std::string::npos)
      << testing::Texts(ui_).front();
  ASSERT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close_v2(other);
  EXPECT_FALSE(DatabaseFileInUse(path));
  EXPECT_EQ(testing::CountRows(path, "regazi"), 209) << "the other writer's work is kept";
}

}  // namespace
}  // namespace viamappa
