// Batches of writes, their checkpoints and a process killed inside one.
#include "db/DbBatch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace viamappa
