#include "edit/EditTransaction.h"

#include "db/DbBatch.h"
#include "db/Sqlite.h"
#include "geom/GraphRecords.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using EditTransactionTest = testing::RoadNetworkTest;

// An edit keeps all its rows or none, alone or inside a batch, whose own rows it never takes with it.
TEST_F(EditTransactionTest, AnEditStoresAllItsRowsOrNoneAloneOrInsideABatch) {
  for (const bool in_batch : {false, true}) {
    for (const bool commit : {true, false}) {
      ASSERT_TRUE(ExecuteSql(db().engine()->handle(), "DELETE FROM nodi"));
      {
        std::optional<DbBatch> batch;
        if (in_batch) batch.emplace(db());
        NodeTable nodi(db());
        ASSERT_TRUE(nodi.Add({1, 10, 10}));
        {
          EditTransaction edit(db());
          ASSERT_TRUE(edit.active());
          ASSERT_TRUE(nodi.Add({2, 20, 20}));
          ASSERT_TRUE(nodi.Add({3, 30, 30}));
          if (commit) {
            EXPECT_TRUE(edit.Commit());
          }
        }
        ASSERT_TRUE(nodi.Add({4, 40, 40})) << "the batch goes on after the edit";
      }
      const std::vector<std::string> expected =
          commit ? std::vector<std::string>{"1", "2", "3", "4"} : std::vector<std::string>{"1", "4"};
      EXPECT_EQ(Rows("ID", "nodi", "", "ID"), expected) << in_batch << commit;
      EXPECT_EQ(db().core()->batch_depth, 0);
    }
  }
}

}  // namespace
}  // namespace viamappa
