#include "app/TopologyCommands.h"

#include <gtest/gtest.h>

#include "core/edit/TopologyFixture.h"
#include "edit/BulkRenameDialog.h"

namespace viamappa {
namespace {

using namespace viamappa::testing;

class RecordingShell : public WindowlessShell {
 public:
  void RebuildMap() override { calls += "rebuild "; }
  void Redraw() override { calls += "redraw "; }
  void RoutingGraphStale() override { calls += "stale "; }
  std::string calls;
};

class TopologyCommandsTest : public TopologyTest {
 protected:
  RecordingShell shell_;
  TopologyCommands commands_{state_, ui_, shell_};
};

// Both commands end with their summary, then the routing graph is out of date and the map is built anew;
// a run that stored nothing leaves the map alone.
TEST_F(TopologyCommandsTest, TheGraphCommandsTellTheirCountsAndRebuildTheMap) {
  Build({{1, 0, 0}, {2, 10, 0}, {3, 20, 0}, {4, 20, 0}},
        {Arc(1, 1, 2, {{0, 0}, {10, 0}}, "VIA ROMA"), Arc(2, 2, 3, {{10, 0}, {20, 0}}, "VIA ROMA")});
  ASSERT_EQ(commands_.RegenerateNodes(), (NodeRegenerationCounts{0, 0, 0, 1}));
  EXPECT_EQ(ui_.last_message().text,
            "Risultati della sistemazione dei Nodi e degli Archi:\n\nEliminati 0 Archi (lunghezza=0)\n"
            "Inseriti 0 nuovi Nodi\nModificati 0 Nodi Inizio/Fine Archi\nEliminati 1 Nodi ridondanti\n");
  EXPECT_EQ(shell_.calls, "stale rebuild redraw ");
  EXPECT_EQ(ui_.clock_starts(), 1);
  EXPECT_FALSE(ui_.busy());
  ASSERT_EQ(commands_.MergeBrokenArcs(), (ArcMergeCounts{1, 1, 1}));
  EXPECT_EQ(ui_.last_message().text,
            "Risultati della Unificazione degli Archi:\n\nModificati 1 Archi\nEliminati 1 Archi superflui\n"
            "Eliminati 1 Nodi ridondanti\n");
  EXPECT_EQ(shell_.calls, "stale rebuild redraw stale rebuild redraw ");

  std::string error;
  ASSERT_TRUE(db().engine()->Execute(
      "CREATE TRIGGER tieni BEFORE DELETE ON nodi BEGIN SELECT RAISE(ABORT, 'nodo bloccato'); END", error));
  ASSERT_TRUE(db().engine()->Execute("INSERT INTO nodi VALUES (9, 50, 50)", error)) << error;
  EXPECT_FALSE(commands_.RegenerateNodes());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_EQ(shell_.calls, "stale rebuild redraw stale rebuild redraw ");
}

TEST_F(TopologyCommandsTest, RenamingAdvisesLocalizingThenOpensTheDialog) {
  Build({{1, 0, 0}, {2, 10, 0}}, {Arc(1, 1, 2, {{0, 0}, {10, 0}}, "VIA ROMA")});
  ui_.QueueBulkRename([](BulkRenameDialog& dialog) {
    EXPECT_EQ(dialog.localities().size(), 1u);
    EXPECT_FALSE(dialog.alternative());
  });
  commands_.RenameArcs();
  EXPECT_EQ(ui_.bulk_rename_dialogs(), 1);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_TRUE(
      ui_.messages()[0].text.starts_with("La localizzazione del Grafo Stradale non risulta effettuata"));
  EXPECT_EQ(shell_.calls, "redraw ");
}

TEST_F(TopologyCommandsTest, NothingWithoutADatabase) {
  state_.connection.reset();
  EXPECT_FALSE(commands_.RegenerateNodes());
  EXPECT_FALSE(commands_.MergeBrokenArcs());
  EXPECT_FALSE(commands_.ValidateGraph());
  commands_.RenameArcs();
  EXPECT_EQ(ui_.bulk_rename_dialogs(), 0);
  EXPECT_TRUE(ui_.messages().empty());
  EXPECT_EQ(shell_.calls, "");
}

}  // namespace
}  // namespace viamappa
