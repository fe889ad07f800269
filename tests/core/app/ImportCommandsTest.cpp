#include "app/ImportCommands.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/io/ImportTestFiles.h"
#include "db/DbBatch.h"
#include "db/Engine.h"
#include "io/ImportReport.h"
#include "support/NetworkBuilder.h"

namespace viamappa {
namespace {

using namespace viamappa::test;
using testing::NetworkBuilder;
class ImportCommandsTest : public ImportTest {
 protected:
  // A graph of count arcs in a row.
  std::string WriteLongGraph(int count) {
    std::vector<GraphRecord> records;
    for (int i = 0; i < count; ++i)
      records.push_back({Polyline({{i * 1.0, 0}, {i + 1.0, 0}}), "VIA ROMA", "", "N"});
    return WriteGraph(records);
  }
};

TEST_F(ImportCommandsTest, TheImportCommandSummarises) {
  const std::string base = WriteGraph(
      {{Polyline({{1, 1}, {2, 2}}), "VIA ROMA", "", "N"}, {Polyline({{2, 2}, {3, 3}}), "VIA ROMA", "", "N"}});
  ui_.QueueFile(base + ".SHP");
  ASSERT_TRUE(commands_.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text,
            "Trovati 2 Archi grafo stradale\n\nInseriti 2 Archi; inserite 2 polilinee\nInseriti 3 Nodi grafo "
            "stradale\nInseriti 1 Tipi Strada\nInseriti 1 Nomi Strada");
}

TEST_F(ImportCommandsTest, LocalitiesBeforeMunicipalitiesShowTheErrorOnce) {
  std::vector<std::string> shapes, rows;
  for (int i = 0; i < 50; ++i) {
    shapes.push_back(Ring(NetworkBuilder::Square(i * 10.0, 0, 5, true)));
    rows.push_back("      22117" + Padded("Frazione", 40) + "         100C");
  }
  const std::string places = WriteSet(dir_.File("localita"), 5, shapes, kPlaceFields, rows);
  ui_.QueueFile(places + ".shp");
  EXPECT_FALSE(commands_.ImportLocalities()) << "stored only in part";
  // The first refusal with the record it refused, a count of the others, the summary.
  const std::vector<std::string> texts = testing::Texts(ui_);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_TRUE(texts[0].starts_with("Errore aggiornamento tavola (local)"));
  EXPECT_TRUE(texts[1].starts_with("Il record 1 (\"Frazione\") non è stato registrato.")) << texts[1];
  EXPECT_EQ(texts[2], "Lo stesso errore si è ripetuto altre 49 volte:\n\n" + texts[0]);
  EXPECT_EQ(texts.back(),
            "Trovate 50 Località; inserite 0 Località; inseriti 0 poligoni\n"
            "rifiutati dal database 50 record, non registrati");
}

// Runs the road-graph import of base in a process of its own; answers its process id.
pid_t ImportInAnotherProcess(const std::string& database, const std::string& base) {
  const pid_t child = fork();
  if (child != 0) return child;
  ScriptedUserInterface ui;
  ApplicationState state;
  state.database_path = database;
  state.connection = std::make_unique<DbConnection>(database, ui);
  WindowlessShell shell;
  ImportCommands commands(state, ui, shell);
  ui.QueueFile(base + ".shp");
  _exit(commands.ImportRoadGraph() ? 0 : 1);
}

int ExitStatus(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Two imports started together never mix: one stores the whole graph, the other waits for it and is
// then refused because the graph is there.
TEST_F(ImportCommandsTest, TwoImportsAtOnceNeverMixTheirRows) {
  const std::string base = WriteLongGraph(3000);
  state_.connection.reset();
  const pid_t first = ImportInAnotherProcess(path_, base);
  const pid_t second = ImportInAnotherProcess(path_, base);
  const int statuses = ExitStatus(first) + ExitStatus(second);
  EXPECT_EQ(statuses, 1) << "one succeeds, one is refused";
  EXPECT_EQ(testing::CountRows(path_, "archi"), 3000);
  EXPECT_EQ(testing::CountRows(path_, "orgarchi"), 3000);
  std::vector<std::string> problems;
  std::string error;
  ASSERT_TRUE(CheckDatabase(path_, ProgramCatalog(), problems, error)) << error;
  EXPECT_TRUE(problems.empty()) << problems.front();
}

// While another process holds the database, the import waits for it once; when it does not come, nothing
// is written and the message says that the database is in use. When it comes in time, the import runs.
TEST_F(ImportCommandsTest, AnImportWaitsForAnotherWriterOnceAndThenGivesUp) {
  const std::string base = WriteLongGraph(10);
  const auto hold = [this](int milliseconds) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
      sqlite3* other = nullptr;
      sqlite3_open_v2(path_.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr);
      sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
      if (write(ready[1], "x", 1) != 1) _exit(1);
      usleep(milliseconds * 1000);
      _exit(0);
    }
    char byte = 0;
    EXPECT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    return child;
  };
  const auto saved_wait = DbBatch::LockWait();
  DbBatch::SetLockWait(std::chrono::milliseconds(300));
  pid_t holder = hold(3000);
  ui_.QueueFile(base + ".shp");
  EXPECT_FALSE(commands_.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text, DatabaseInUseMessage(path_));
  kill(holder, SIGKILL);
  ExitStatus(holder);
  EXPECT_EQ(Rows("count(*)", "nodi"), std::vector<std::string>{"0"});

  DbBatch::SetLockWait(std::chrono::milliseconds(10000));
  holder = hold(400);
  ui_.QueueFile(base + ".shp");
  EXPECT_TRUE(commands_.ImportRoadGraph()) << ui_.last_message().text;
  EXPECT_EQ(ExitStatus(holder), 0);
  EXPECT_EQ(Rows("count(*)", "archi"), std::vector<std::string>{"10"});
  DbBatch::SetLockWait(saved_wait);
}

// A disk that fills up part-way: the import stops, says that nothing was stored, and nothing is.
TEST_F(ImportCommandsTest, AFullDiskStoresNothingAndSaysSo) {
  const std::string base = WriteLongGraph(3000);
  std::string error;
  ASSERT_TRUE(db().engine()->Execute("PRAGMA max_page_count = 60", error)) << error;
  ui_.QueueFile(base + ".shp");
  EXPECT_FALSE(commands_.ImportRoadGraph());
  EXPECT_EQ(ui_.last_message().text, ImportFailedMessage(kDatabaseStopped));
  EXPECT_NE(testing::Texts(ui_).front().find("Spazio su disco esaurito"), std::string::npos)
      << testing::Texts(ui_).front();
  ASSERT_TRUE(db().engine()->Execute("PRAGMA max_page_count = 1000000", error)) << error;
  EXPECT_EQ(Rows("(SELECT count(*) FROM archi) + (SELECT count(*) FROM nodi) + (SELECT count(*) FROM tipi)",
                 "regazi", "codice = 1"),
            std::vector<std::string>{"0"});
}

}  // namespace
}  // namespace viamappa
