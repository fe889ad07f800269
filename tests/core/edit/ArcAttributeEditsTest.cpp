#include "edit/ArcAttributeEdits.h"

#include "EditingFixture.h"
#include "db/Engine.h"

namespace viamappa {
namespace {

using testing::ArcDialogAnswer;
using testing::EditingTest;
using Press = ArcDialogAnswer::Press;
using IdList = std::vector<std::int32_t>;

class ArcAttributesTest : public EditingTest {
 protected:
  void Sql(const std::string& sql) {
    std::string error;
    ASSERT_TRUE(db().engine()->Execute(sql, error)) << error;
  }

  // The attributes of the arc opened from the map with the pointer at (x, y).
  EditOutcome OpenAttributes(std::int32_t id, double x, double y) {
    Move(x, y);
    EXPECT_TRUE(editor_->SelectArc(id));
    return Command(cmd::kEditArcData);
  }
};

// Arcs 11, 12, 14 and a closed arc 15 at its own node 9 are added ones, 13 is regional. Deleted in this
// order, node 2 (also at arc 10) stays, the other ends go with their last arc, node 9 goes once.
TEST_F(ArcAttributesTest, RegionalArcsAreMarkedAddedArcsGoWithTheirLoneNodes) {
  {
    testing::NetworkBuilder build(db());
    ASSERT_TRUE(build.AddNode(9, 1350, 1200));
    ASSERT_TRUE(build.AddArc(testing::Arc(15, 9, 9, {{1350, 1200}, {1380, 1200}, {1380, 1230}, {1350, 1200}},
                                          "VIA ANELLO", "SC")));
  }
  // Added arcs have no polyline as first imported.
  Sql("DELETE FROM orgarchi WHERE ID IN (11, 12, 14, 15)");
  Sql("UPDATE archi SET aggiunto = 1 WHERE ID IN (11, 12, 14, 15)");
  Load();
  struct Case {
    std::int32_t arc;
    bool removed;
    IdList nodes_removed;
  };
  const Case cases[] = {
      {13, false, {}}, {11, true, {3}}, {14, true, {7, 8}}, {15, true, {9}}, {12, true, {4}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arc);
    stored_.clear();
    left_.clear();
    const int stale = stale_;
    const std::size_t nodes = Nodes().size();
    ui_.QueueAnswer(true);
    dialogs_.Queue(ArcDialogAnswer{.press = Press::Delete});
    const EditOutcome outcome = OpenAttributes(c.arc, 1010, 1010);
    EXPECT_TRUE(outcome.full_redraw);
    EXPECT_EQ(outcome.warp_pointer, PixelOf(1010, 1010)) << "the pointer goes back";
    EXPECT_EQ(dialogs_.shown.back().regional, !c.removed);
    ASSERT_EQ(stored_.size(), 1u);
    const GraphChange& change = stored_[0];
    ASSERT_EQ(change.arcs.size(), 1u);
    EXPECT_EQ(change.arcs[0].before->id, c.arc);

    if (!c.removed) {
      EXPECT_EQ(Rows("elimina, datmod, modnome", "archi", "ID = " + std::to_string(c.arc)),
                std::vector<std::string>{"-1|05/03/2026|0"});
      EXPECT_TRUE(change.arcs[0].after->elimina);
      EXPECT_EQ(HotArc(), c.arc) << "a regional arc stays drawn and picked";
      EXPECT_EQ(stale_, stale);
      EXPECT_TRUE(left_.empty());
      continue;
    }
    EXPECT_TRUE(Rows("ID", "archi", "ID = " + std::to_string(c.arc)).empty());
    EXPECT_TRUE(StoredPoints(c.arc).empty());
    EXPECT_EQ(editor_->caches().FindArc(c.arc), nullptr);
    EXPECT_EQ(HotArc(), -1);
    EXPECT_FALSE(change.arcs[0].after);
    ASSERT_EQ(change.polylines.size(), 1u);
    EXPECT_FALSE(change.polylines[0].before->empty()) << "the polyline is kept for undo";
    EXPECT_EQ(change.arcs_removed, IdList{c.arc});
    EXPECT_EQ(change.nodes_removed, c.nodes_removed);
    EXPECT_EQ(Nodes().size(), nodes - c.nodes_removed.size());
    for (const std::int32_t node : c.nodes_removed)
      EXPECT_EQ(editor_->caches().FindNode(node), nullptr) << node;
    EXPECT_EQ(left_, IdList{c.arc}) << "whoever holds the arc (a route through it) is told";
    EXPECT_GT(stale_, stale);
  }
  EXPECT_TRUE(ui_.last_message().icon == MessageIcon::Question) << "no failure was shown";
  EXPECT_EQ(Rows("ID", "nodi", "", "ID"), (std::vector<std::string>{"1", "2", "5", "6"}));
}

// OK stores the checked names and the class, marked renamed today; Annulla, a deletion answered No
// and a refused OK store nothing. The dialog shows the stored texts without their trailing blanks.
TEST_F(ArcAttributesTest, OkRenamesTheArcTheOtherClosingsStoreNothing) {
  Sql("UPDATE archi SET codreg = 'R10  ', alterna = 'VIA VECCHIA  ', classe = 'ZZ' WHERE ID = 10");
  struct Case {
    const char* what;
    ArcDialogAnswer answer;
    std::vector<bool> questions;
    std::vector<std::string> row;  // denom, alterna, classe, modnome, datmod of arc 10 afterwards
  };
  const std::vector<std::string> untouched{"VIA ROMA|VIA VECCHIA  |ZZ|0|01/01/2024"};
  const Case cases[] = {
      {"cancelled", {.press = Press::Cancel}, {}, untouched},
      {"deletion not confirmed", {.press = Press::Delete}, {false}, untouched},
      {"a stored class of no entry demands one", {"VIA ROMA", "", -1}, {}, untouched},
      {"renamed", {"via milano", "VIA ROMA", 3}, {true}, {"VIA MILANO|VIA ROMA|SR|-1|05/03/2026"}},
  };
  for (const Case& c : cases) {
    stored_.clear();
    for (const bool yes : c.questions) ui_.QueueAnswer(yes);
    dialogs_.Queue(c.answer);
    const EditOutcome outcome = OpenAttributes(10, 1150, 1102);
    EXPECT_TRUE(outcome.full_redraw) << c.what;
    EXPECT_EQ(Rows("denom, alterna, classe, modnome, datmod", "archi", "ID = 10"), c.row) << c.what;
    EXPECT_EQ(stored_.empty(), c.row == untouched) << c.what;
    EXPECT_EQ(HotArc(), 10) << c.what;
  }
  const ArcAttributesInputs& shown = dialogs_.shown.front();
  EXPECT_EQ(shown.codreg, "R10");
  EXPECT_EQ(shown.alterna, "VIA VECCHIA");
  EXPECT_EQ(shown.classe, "ZZ");
  ASSERT_EQ(stored_.size(), 1u);
  EXPECT_EQ(stored_[0].arcs[0].before->denom, "VIA ROMA");
  EXPECT_FALSE(stored_[0].routing_graph_stale);
}

// An added arc that still has a polyline as first imported cannot leave archi: the refusal is shown
// and the deletion is undone whole, its polyline included, with the caches untouched.
TEST_F(ArcAttributesTest, AFailedDeletionChangesNothing) {
  Sql("UPDATE archi SET aggiunto = 1 WHERE ID = 13");
  ui_.QueueAnswer(true);
  dialogs_.Queue(ArcDialogAnswer{.press = Press::Delete});
  OpenAttributes(13, 1010, 1010);
  EXPECT_TRUE(ui_.last_message().text.starts_with("Errore eliminazione tavola (archi)"))
      << ui_.last_message().text;
  EXPECT_EQ(Rows("ID", "archi", "ID = 13"), std::vector<std::string>{"13"});
  EXPECT_EQ(StoredPoints(13).size(), 2u);
  EXPECT_EQ(Nodes().size(), 8u);
  EXPECT_NE(editor_->caches().FindArc(13), nullptr);
  EXPECT_EQ(HotArc(), 13);
  EXPECT_TRUE(left_.empty());
  EXPECT_TRUE(stored_.empty());
}

// An arc of the map whose row is gone: the message, no dialog, nothing redrawn.
TEST_F(ArcAttributesTest, AnArcWithoutItsRowIsAReadError) {
  Sql("DELETE FROM geoarchi WHERE ID = 13; DELETE FROM orgarchi WHERE ID = 13; "
      "DELETE FROM archi WHERE ID = 13");
  const EditOutcome outcome = OpenAttributes(13, 1150, 1255);
  EXPECT_TRUE(dialogs_.opened.empty());
  EXPECT_EQ(ui_.last_message().text, "Arco Stradale ID=13: errore di lettura !!!");
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_FALSE(outcome.full_redraw);
}

}  // namespace
}  // namespace viamappa
