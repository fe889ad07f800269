// Batches of writes, their checkpoints, a process killed inside one, and bulk loads with their checks
// deferred to the end of a batch.
#include "db/DbBatch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "db/BulkLoad.h"
#include "db/DbTable.h"
#include "support/RoadNetworkDatabase.h"
#include "support/SampleConnection.h"

namespace viamappa {
namespace {

class DbBatchTest : public testing::SampleConnectionTest {
 protected:
  // Rows of nodi as another process would see them now, through a connection of its own.
  int RowsSeenFromOutside() { return testing::CountRows(path_, "nodi"); }

  bool AddNode(DbTable& nodi, int id) {
    return nodi.AddNew() && nodi.SetField("ID", std::to_string(id)) && nodi.SetField("coord_x", "1,5") &&
           nodi.SetField("coord_y", "2,5") && nodi.Update();
  }
};

// Without a batch every update is durable; a batch stores what it wrote at its checkpoints and when it
// ends, also after a failure.
TEST_F(DbBatchTest, ABatchStoresWhatItWroteAtItsCheckpointsAndWhenItEnds) {
  DbTable nodi(*connection_, "nodi");
  ASSERT_TRUE(AddNode(nodi, 9));
  EXPECT_EQ(RowsSeenFromOutside(), 1);
  {
    DbBatch batch(*connection_);
    ASSERT_TRUE(AddNode(nodi, 1));
    ASSERT_TRUE(batch.Checkpoint());
    EXPECT_EQ(RowsSeenFromOutside(), 2);
    {
      DbBatch inner(*connection_);
      ASSERT_TRUE(AddNode(nodi, 2));
    }
    ASSERT_TRUE(AddNode(nodi, 3));
    EXPECT_FALSE(AddNode(nodi, 3)) << "a refused row";
    EXPECT_FALSE(ui_.messages().empty());
    // The command stops here, as callers do at the first failure.
  }
  EXPECT_EQ(RowsSeenFromOutside(), 4) << "what was stored before the failure stays stored";
}

// A nested batch that rolls back undoes the whole command: the outermost batch cannot store the half
// of it that came before.
TEST_F(DbBatchTest, ANestedRollbackDoomsTheOutermostBatch) {
  DbTable nodi(*connection_, "nodi");
  ASSERT_TRUE(AddNode(nodi, 1));
  {
    DbBatch outer(*connection_);
    ASSERT_TRUE(AddNode(nodi, 2));
    {
      DbBatch inner(*connection_);
      ASSERT_TRUE(AddNode(nodi, 3));
      inner.Rollback();
    }
    EXPECT_FALSE(outer.Commit());
  }
  EXPECT_EQ(testing::Rows(*connection_, "ID", "nodi", "", "ID"), (std::vector<std::string>{"1"}));
  DbBatch after(*connection_);
  ASSERT_TRUE(after.began()) << "the next command starts afresh";
  ASSERT_TRUE(AddNode(nodi, 4));
  EXPECT_TRUE(after.Commit());
}

// A process killed in the middle of a batch leaves the file whole, with everything committed before.
TEST_F(DbBatchTest, AKilledProcessNeverDamagesTheFile) {
  DbTable nodi(*connection_, "nodi");
  ASSERT_TRUE(AddNode(nodi, 1));
  connection_.reset();

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ScriptedUserInterface ui;
    DbConnection connection(path_, ui);
    DbTable table(connection, "nodi");
    DbBatch batch(connection);
    for (int id = 2;; ++id) {
      if (!AddNode(table, id)) _exit(1);
      if (id == 5000 && write(ready[1], "x", 1) != 1) _exit(1);
    }
  }
  char signal_byte = 0;
  ASSERT_EQ(read(ready[0], &signal_byte, 1), 1);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);

  std::vector<std::string> problems;
  std::string error;
  ASSERT_TRUE(CheckDatabase(path_, SchemaCatalog{}, problems, error)) << error;
  EXPECT_TRUE(problems.empty()) << problems.front();
  EXPECT_EQ(RowsSeenFromOutside(), 1) << "the unfinished batch is rolled back";
}

// Bulk loads inside a batch, with their checks deferred to the end.
class BulkLoadTest : public testing::SampleConnectionTest {
 protected:
  // Rows of archi as this connection sees them.
  std::string Arcs() { return testing::Rows(*connection_, "count(*)", "archi").at(0); }

  bool AddArc(DbTable& archi, int id, int to) {
    return archi.AddNew() && archi.SetFieldInteger(archi.FieldIndex("ID"), id) &&
           archi.SetFieldInteger(archi.FieldIndex("nodini"), 1) &&
           archi.SetFieldInteger(archi.FieldIndex("nodfin"), to) &&
           archi.SetField(archi.FieldIndex("datins"), "01/01/2020") &&
           archi.SetFieldInteger(archi.FieldIndex("comune"), 0) && archi.Update();
  }
};

TEST_F(BulkLoadTest, SoundRowsStayAndTheChecksComeBack) {
  Exec("INSERT INTO nodi VALUES (1, 0, 0); INSERT INTO nodi VALUES (2, 1, 1)");
  {
    DbTable archi(*connection_, "archi");
    BulkLoad outside(*connection_, {"archi"});
    EXPECT_FALSE(outside.active()) << "outside a batch nothing is deferred";
    EXPECT_FALSE(AddArc(archi, 1, 77));
  }
  {
    DbBatch batch(*connection_);
    DbTable archi(*connection_, "archi");
    BulkLoad deferred(*connection_, {"archi"});
    ASSERT_TRUE(deferred.active());
    for (int i = 1; i <= 100; ++i) ASSERT_TRUE(AddArc(archi, i, 2));
    EXPECT_TRUE(deferred.Finish());
    EXPECT_FALSE(AddArc(archi, 101, 9)) << "checked row by row again";
  }
  EXPECT_EQ(Arcs(), "100");
}

TEST_F(BulkLoadTest, ABrokenReferenceUndoesTheWholeLoad) {
  Exec("INSERT INTO nodi VALUES (1, 0, 0)");
  DbBatch batch(*connection_);
  DbTable archi(*connection_, "archi");
  ASSERT_TRUE(AddArc(archi, 1, 1));
  BulkLoad deferred(*connection_, {"archi"});
  ASSERT_TRUE(AddArc(archi, 2, 1));
  ASSERT_TRUE(AddArc(archi, 3, 77)) << "not checked while deferred";
  std::vector<std::string> broken;
  EXPECT_FALSE(deferred.Finish(&broken));
  EXPECT_EQ(broken, std::vector<std::string>{"archi_fin"});
  EXPECT_EQ(Arcs(), "1") << "the rows before the deferral stay";
  ui_.ClearMessages();
  EXPECT_FALSE(AddArc(archi, 4, 77)) << "the checks are back";
  EXPECT_NE(ui_.last_message().text.find("archi_fin"), std::string::npos);
}

// A rewrite of a full table's fields: their indexes are built again at the end and their relations
// checked over the whole table; the relations of the other fields keep their row-by-row checks.
using BulkRewriteTest = testing::RoadNetworkTest;

TEST_F(BulkRewriteTest, RewrittenFieldsKeepTheirIndexesAndRelations) {
  std::string error;
  ASSERT_TRUE(db().engine()->Execute(
      "INSERT INTO nodi VALUES (1, 0, 0); INSERT INTO comuni VALUES (5, 'Alfa', 'TN', '022005');"
      "INSERT INTO archi (ID, piazza, modnome, modifica, elimina, aggiunto, verifica, datins, datmod, "
      "nodini, "
      "nodfin, local, comune) VALUES (1, 0, 0, 0, 0, 0, 0, '2020-01-01', '2020-01-01', 1, 1, 0, 0)",
      error))
      << error;
  const auto indexes = [&] {
    return Rows("count(*)", "sqlite_master", "type = 'index' AND tbl_name = 'archi'");
  };
  const std::vector<std::string> before = indexes();
  DbBatch batch(db());
  DbTable archi(db(), "archi");
  ASSERT_TRUE(archi.SelectIndex("codice"));
  const int comune[] = {archi.FieldIndex("comune")};
  const int nodini[] = {archi.FieldIndex("nodini")};
  bool found = false;
  {
    BulkLoad rewrite(db(), {"archi"}, {"local", "comune"});
    EXPECT_NE(indexes(), before) << "the index of comune waits for the end";
    const std::int64_t missing[] = {77};
    ASSERT_TRUE(archi.RewriteByKey(1, nodini, missing, found) == false) << "nodini is checked row by row";
    ASSERT_TRUE(archi.RewriteByKey(1, comune, missing, found)) << "comune is checked at the end";
    EXPECT_FALSE(rewrite.Finish());
  }
  EXPECT_EQ(indexes(), before);
  EXPECT_EQ(Rows("comune", "archi"), std::vector<std::string>{"0"}) << "the rewrite is undone";
  {
    BulkLoad rewrite(db(), {"archi"}, {"local", "comune"});
    const std::int64_t five[] = {5};
    ASSERT_TRUE(archi.RewriteByKey(1, comune, five, found));
    EXPECT_TRUE(rewrite.Finish());
  }
  EXPECT_EQ(Rows("comune", "archi", "comune = 5"), std::vector<std::string>{"5"})
      << "found through its index";
}

}  // namespace
}  // namespace viamappa
