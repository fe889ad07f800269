#include "edit/NodeRegeneration.h"

#include "core/edit/TopologyFixture.h"
#include "edit/GraphValidation.h"

namespace viamappa {
namespace {

using namespace viamappa::testing;

class NodeRegenerationTest : public TopologyTest {};

TEST_F(NodeRegenerationTest, MakesTheEndNodesAgreeWithTheGeometry) {
  const struct {
    const char* name;
    std::vector<NodeRecord> nodes;
    std::vector<ArcRow> arcs;
    std::vector<std::string> sql;
    NodeRegenerationCounts counts;
    std::vector<std::string> arcs_after;
    std::vector<std::string> nodes_after;
    std::vector<std::string> messages;
  } cases[] = {
      {"an arc of two equal points goes with its polylines and its node; a loop stays",
       {{1, 0, 0}, {2, 10, 0}, {3, 20, 0}},
       {Arc(1, 1, 2, {{0, 0}, {10, 0}}), Arc(2, 2, 3, {{10, 0}, {10, 0}}),
        Arc(3, 1, 1, {{0, 0}, {5, 5}, {0, 0}})},
       {},
       {1, 0, 0, 1},
       {"1|1|2", "3|1|1"},
       {"1|0|0", "2|10|0"},
       {}},
      {"ends at one position naming two nodes take the node met first",
       {{1, 0, 0}, {2, 10, 0}, {3, 10, 0}, {4, 20, 0}},
       {Arc(1, 1, 2, {{0, 0}, {10, 0}}), Arc(2, 3, 4, {{10, 0}, {20, 0}})},
       {},
       {0, 0, 1, 1},
       {"1|1|2", "2|2|4"},
       {"1|0|0", "2|10|0", "4|20|0"},
       {}},
      // Node 2 stands at (10, 0): arc 2 naming it at (20, 0) gets a new node there, which arc 3 shares
      // although it names node 7. Arc 4 names node 1 at the place of node 5 and takes node 5.
      {"a position holds one node whatever the ends name",
       {{1, 0, 0}, {2, 10, 0}, {5, 30, 0}, {7, 20, 0}, {8, 40, 0}},
       {Arc(1, 1, 2, {{0, 0}, {10, 0}}), Arc(2, 2, 5, {{20, 0}, {30, 0}}), Arc(3, 7, 1, {{20, 0}, {20, 10}}),
        Arc(4, 1, 8, {{30, 0}, {40, 0}})},
       {},
       {0, 2, 4, 1},
       {"1|1|2", "2|9|5", "3|9|10", "4|5|8"},
       {"1|0|0", "2|10|0", "5|30|0", "8|40|0", "9|20|0", "10|20|10"},
       {}},
      {"a damaged polyline and a missing one leave their arcs and nodes as they are",
       {{1, 0, 0}, {2, 10, 0}, {3, 50, 50}, {4, 60, 60}, {5, 70, 70}},
       {Arc(1, 1, 2, {{0, 0}, {10, 0}}), Arc(2, 3, 4, {{50, 50}, {60, 60}}),
        Arc(3, 4, 5, {{60, 60}, {70, 70}})},
       {"UPDATE geoarchi SET punti = 3 WHERE ID = 2", "DELETE FROM geoarchi WHERE ID = 3"},
       {0, 0, 0, 0},
       {"1|1|2", "2|3|4", "3|4|5"},
       {"1|0|0", "2|10|0", "3|50|50", "4|60|60", "5|70|70"},
       {"Archi: Entità Lineare corrotta 2 !!!"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Build(c.nodes, c.arcs, c.sql);
    ScriptedUserInterface ui;
    InterfaceScope scope(db(), ui);
    const std::optional<NodeRegenerationCounts> counts = RegenerateNodes(db(), ui);
    ASSERT_TRUE(counts);
    EXPECT_EQ(*counts, c.counts);
    EXPECT_EQ(Arcs(), c.arcs_after);
    EXPECT_EQ(Nodes(), c.nodes_after);
    EXPECT_EQ(Texts(ui), c.messages);
    // Every polyline row belongs to an arc that stayed.
    EXPECT_EQ(Ids("orgarchi"), Ids("archi"));
    // What the command makes right, the check finds right.
    const std::optional<GraphValidation> check = ValidateGraph(db(), ui_);
    ASSERT_TRUE(check);
    EXPECT_EQ(check->Count(FindingKind::SharedPosition), 0);
    EXPECT_EQ(check->Count(FindingKind::UnusedNode), 0);
    EXPECT_EQ(check->Count(FindingKind::EndOffNode), 0);
  }
}

// A deletion the database refuses undoes the whole run and says that nothing was stored.
TEST_F(NodeRegenerationTest, StoresNothingWhenADeletionIsRefused) {
  Build({{1, 0, 0}, {2, 10, 0}, {3, 20, 0}, {4, 30, 0}},
        {Arc(1, 1, 2, {{0, 0}, {10, 0}}), Arc(2, 2, 3, {{10, 0}, {10, 0}}), Arc(3, 3, 1, {{5, 5}, {0, 0}})},
        {"CREATE TRIGGER tieni BEFORE DELETE ON nodi BEGIN SELECT RAISE(ABORT, 'nodo bloccato'); END"});
  const std::vector<std::string> before = Arcs();
  EXPECT_FALSE(RegenerateNodes(db(), ui_));
  EXPECT_EQ(Arcs(), before);
  EXPECT_EQ(Ids("geoarchi"), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: la sistemazione dei Nodi e degli Archi non è stata completata.\n\n"
            "Nessuna modifica è stata registrata nel database.");
}

}  // namespace
}  // namespace viamappa
