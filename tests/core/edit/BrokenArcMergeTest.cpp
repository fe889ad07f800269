#include "edit/BrokenArcMerge.h"

#include "core/edit/TopologyFixture.h"

namespace viamappa {
namespace {

using namespace viamappa::testing;

class BrokenArcMergeTest : public TopologyTest {};

std::vector<Point> Line(double x0, double x1, int points) {
  std::vector<Point> line;
  for (int i = 0; i < points; ++i) line.push_back({x0 + (x1 - x0) * i / (points - 1), 0});
  return line;
}

TEST_F(BrokenArcMergeTest, MergesPiecesThatMeetAloneAndAgree) {
  const std::vector<NodeRecord> nodes = {{1, 0, 0}, {2, 10, 0}, {3, 20, 0}, {4, 30, 0}};
  const auto arc = [](std::int32_t id, std::int32_t from, std::int32_t to, std::vector<Point> points,
                      const char* classe = "SC") {
    return Arc(id, from, to, std::move(points), "VIA ROMA", classe);
  };
  const struct {
    const char* name;
    std::vector<ArcRow> arcs;
    std::vector<std::string> sql;
    ArcMergeCounts counts;
    std::vector<std::string> arcs_after;  // ID|nodini|nodfin|modifica (true reads -1)
    std::vector<Point> merged;            // the points of the first arc left
    std::vector<std::string> messages;
  } cases[] = {
      // At node 2 both pieces end (the second is reversed onto the first); at node 3 the grown arc ends and
      // the third starts.
      {"a chain of three pieces in both directions becomes one arc",
       {arc(10, 1, 2, {{0, 0}, {10, 0}}), arc(11, 3, 2, {{20, 0}, {10, 0}}),
        arc(12, 3, 4, {{20, 0}, {25, 5}, {30, 0}})},
       {},
       {1, 2, 2},
       {"10|1|4|-1"},
       {{0, 0}, {10, 0}, {20, 0}, {25, 5}, {30, 0}},
       {}},
      {"two pieces that start at their node: the first is reversed in front of the second",
       {arc(20, 2, 1, {{10, 0}, {0, 0}}), arc(21, 2, 3, {{10, 0}, {20, 0}})},
       {},
       {1, 1, 1},
       {"21|1|3|-1"},
       {{0, 0}, {10, 0}, {20, 0}},
       {}},
      {"a piece that starts where the next one ends follows it",
       {arc(30, 2, 3, {{10, 0}, {20, 0}}), arc(31, 1, 2, {{0, 0}, {10, 0}})},
       {},
       {1, 1, 1},
       {"31|1|3|-1"},
       {{0, 0}, {10, 0}, {20, 0}},
       {}},
      {"a third arc at the node",
       {arc(1, 1, 2, {{0, 0}, {10, 0}}), arc(2, 2, 3, {{10, 0}, {20, 0}}), arc(3, 2, 4, {{10, 0}, {30, 0}})},
       {},
       {0, 0, 0},
       {"1|1|2|0", "2|2|3|0", "3|2|4|0"},
       {{0, 0}, {10, 0}},
       {}},
      {"another class",
       {arc(1, 1, 2, {{0, 0}, {10, 0}}), arc(2, 2, 3, {{10, 0}, {20, 0}}, "SP")},
       {},
       {0, 0, 0},
       {"1|1|2|0", "2|2|3|0"},
       {{0, 0}, {10, 0}},
       {}},
      {"another element code",
       {arc(1, 1, 2, {{0, 0}, {10, 0}}), arc(2, 2, 3, {{10, 0}, {20, 0}})},
       {"UPDATE archi SET codele = 'E2' WHERE ID = 2"},
       {0, 0, 0},
       {"1|1|2|0", "2|2|3|0"},
       {{0, 0}, {10, 0}},
       {}},
      {"two pieces of a ring, and a loop alone at its node",
       {arc(1, 1, 2, {{0, 0}, {10, 0}}), arc(2, 2, 1, {{10, 0}, {5, 5}, {0, 0}}),
        arc(3, 3, 3, {{20, 0}, {25, 5}, {20, 0}})},
       {},
       {0, 0, 0},
       {"1|1|2|0", "2|2|1|0", "3|3|3|0"},
       {{0, 0}, {10, 0}},
       {}},
      {"a damaged polyline",
       {arc(1, 1, 2, {{0, 0}, {10, 0}}), arc(2, 2, 3, {{10, 0}, {20, 0}})},
       {"UPDATE geoarchi SET punti = 5 WHERE ID = 2"},
       {0, 0, 0},
       {"1|1|2|0", "2|2|3|0"},
       {{0, 0}, {10, 0}},
       {"Archi: Entità Lineare corrotta 2 !!!"}},
      {"a merged polyline longer than a stored one can be",
       {arc(1, 1, 2, Line(0, 10, 20000)), arc(2, 2, 3, Line(10, 20, 12769))},
       {},
       {0, 0, 0},
       {"1|1|2|0", "2|2|3|0"},
       Line(0, 10, 20000),
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Build(nodes, c.arcs, c.sql);
    ScriptedUserInterface ui;
    InterfaceScope scope(db(), ui);
    const std::optional<ArcMergeCounts> counts = MergeBrokenArcs(db(), ui);
    ASSERT_TRUE(counts);
    EXPECT_EQ(*counts, c.counts);
    EXPECT_EQ(Rows("ID, nodini, nodfin, modifica", "archi", "", "ID"), c.arcs_after);
    EXPECT_EQ(StoredPoints(std::stoi(c.arcs_after.front())), c.merged);
    // The merged arcs leave no polylines behind, the nodes inside them go, the others stay.
    EXPECT_EQ(Ids("geoarchi"), Ids("archi"));
    EXPECT_EQ(Ids("orgarchi"), Ids("archi"));
    EXPECT_EQ(static_cast<int>(Nodes().size()), 4 - c.counts.nodes_deleted);
    EXPECT_EQ(Texts(ui), c.messages);
  }
}

TEST_F(BrokenArcMergeTest, ShowsItsPhasesAndSummary) {
  Build({{1, 0, 0}, {2, 10, 0}, {3, 20, 0}},
        {Arc(1, 1, 2, {{0, 0}, {10, 0}}, "VIA ROMA"), Arc(2, 2, 3, {{10, 0}, {20, 0}}, "VIA ROMA")});
  ScriptedUserInterface ui;
  ASSERT_TRUE(MergeBrokenArcs(db(), ui));
  EXPECT_EQ(ui.phases(),
            (std::vector<std::string>{"Ispezione Archi del Grafo Stradale", "Costruzione Archi Unificati",
                                      "Registrazione Archi Unificati", "Eliminazione Archi superflui",
                                      "Eliminazione Nodi Ridondanti"}));
  // The box of the grown arc follows its points.
  EXPECT_EQ(Rows("minx, miny, maxx, maxy", "geoarchi"), (std::vector<std::string>{"0|0|20|0"}));
  EXPECT_EQ(ArcMergeSummary({1, 2, 3}),
            "Risultati della Unificazione degli Archi:\n\nModificati 1 Archi\nEliminati 2 Archi superflui\n"
            "Eliminati 3 Nodi ridondanti\n");
}

}  // namespace
}  // namespace viamappa
