#include "edit/BrokenArcMerge.h"

#include "core/edit/TopologyFixture.h"

namespace viamappa {
namespace {

using namespace viamappa::testing;

class BrokenArcMergeTest : public TopologyTest {
 protected:
  const std::vector<NodeRecord> nodes_ = {{1, 0, 0}, {2, 10, 0}, {3, 20, 0}, {4, 30, 0}};

  static ArcRow Piece(std::int32_t id, std::int32_t from, std::int32_t to, std::vector<Point> points,
                      const char* classe = "SC") {
    return Arc(id, from, to, std::move(points), "VIA ROMA", classe);
  }
};

std::vector<Point> Line(double x0, double x1, int points) {
  std::vector<Point> line;
  for (int i = 0; i < points; ++i) line.push_back({x0 + (x1 - x0) * i / (points - 1), 0});
  return line;
}

TEST_F(BrokenArcMergeTest, MergesPiecesThatMeetAloneAndAgree) {
  const struct {
    const char* name;
    std::vector<ArcRow> arcs;
    ArcMergeCounts counts;
    std::string arc_after;  // ID|nodini|nodfin|modifica (true reads -1)
    std::vector<Point> merged;
    std::string box;
  } cases[] = {
      // At node 2 both pieces end (the second is reversed onto the first); at node 3 the grown arc ends and
      // the third starts.
      {"a chain of three pieces in both directions becomes one arc",
       {Piece(10, 1, 2, {{0, 0}, {10, 0}}), Piece(11, 3, 2, {{20, 0}, {10, 0}}),
        Piece(12, 3, 4, {{20, 0}, {25, 5}, {30, 0}})},
       {1, 2, 2},
       "10|1|4|-1",
       {{0, 0}, {10, 0}, {20, 0}, {25, 5}, {30, 0}},
       "0|0|30|5"},
      {"two pieces that start at their node: the first is reversed in front of the second",
       {Piece(20, 2, 1, {{10, 0}, {0, 0}}), Piece(21, 2, 3, {{10, 0}, {20, 0}})},
       {1, 1, 1},
       "21|1|3|-1",
       {{0, 0}, {10, 0}, {20, 0}},
       "0|0|20|0"},
      {"a piece that starts where the next one ends follows it",
       {Piece(30, 2, 3, {{10, 0}, {20, 0}}), Piece(31, 1, 2, {{0, 0}, {10, 0}})},
       {1, 1, 1},
       "31|1|3|-1",
       {{0, 0}, {10, 0}, {20, 0}},
       "0|0|20|0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Build(nodes_, c.arcs);
    ScriptedUserInterface ui;
    InterfaceScope scope(db(), ui);
    const std::optional<ArcMergeCounts> counts = MergeBrokenArcs(db(), ui);
    ASSERT_TRUE(counts);
    EXPECT_EQ(*counts, c.counts);
    EXPECT_EQ(Rows("ID, nodini, nodfin, modifica", "archi"), std::vector<std::string>{c.arc_after});
    EXPECT_EQ(StoredPoints(std::stoi(c.arc_after)), c.merged);
    EXPECT_EQ(Rows("minx, miny, maxx, maxy", "geoarchi"), std::vector<std::string>{c.box});
    // The merged arcs leave no polylines behind, the nodes inside them go, the others stay.
    EXPECT_EQ(Ids("geoarchi"), Ids("archi"));
    EXPECT_EQ(Ids("orgarchi"), Ids("archi"));
    EXPECT_EQ(static_cast<int>(Nodes().size()), 4 - c.counts.nodes_deleted);
    EXPECT_TRUE(ui.messages().empty());
  }
}

TEST_F(BrokenArcMergeTest, LeavesPiecesThatDoNotMeetAloneOrDoNotAgree) {
  const struct {
    const char* name;
    std::vector<ArcRow> arcs;
    std::vector<std::string> sql = {};
    std::vector<std::string> messages = {};
  } cases[] = {
      {"a third arc at the node",
       {Piece(1, 1, 2, {{0, 0}, {10, 0}}), Piece(2, 2, 3, {{10, 0}, {20, 0}}),
        Piece(3, 2, 4, {{10, 0}, {30, 0}})}},
      {"another class", {Piece(1, 1, 2, {{0, 0}, {10, 0}}), Piece(2, 2, 3, {{10, 0}, {20, 0}}, "SP")}},
      {"another element code",
       {Piece(1, 1, 2, {{0, 0}, {10, 0}}), Piece(2, 2, 3, {{10, 0}, {20, 0}})},
       {"UPDATE archi SET codele = 'E2' WHERE ID = 2"}},
      {"two pieces of a ring, and a loop alone at its node",
       {Piece(1, 1, 2, {{0, 0}, {10, 0}}), Piece(2, 2, 1, {{10, 0}, {5, 5}, {0, 0}}),
        Piece(3, 3, 3, {{20, 0}, {25, 5}, {20, 0}})}},
      {"a damaged polyline",
       {Piece(1, 1, 2, {{0, 0}, {10, 0}}), Piece(2, 2, 3, {{10, 0}, {20, 0}})},
       {"UPDATE geoarchi SET punti = 5 WHERE ID = 2"},
       {"Archi: Entità Lineare corrotta 2 !!!"}},
      {"a merged polyline longer than a stored one can be",
       {Piece(1, 1, 2, Line(0, 10, 20000)), Piece(2, 2, 3, Line(10, 20, 12769))}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Build(nodes_, c.arcs, c.sql);
    const std::vector<std::string> arcs = Rows("ID, nodini, nodfin, modifica", "archi", "", "ID");
    const std::vector<Point> first = StoredPoints(1);
    ScriptedUserInterface ui;
    InterfaceScope scope(db(), ui);
    const std::optional<ArcMergeCounts> counts = MergeBrokenArcs(db(), ui);
    ASSERT_TRUE(counts);
    EXPECT_EQ(*counts, (ArcMergeCounts{0, 0, 0}));
    EXPECT_EQ(Rows("ID, nodini, nodfin, modifica", "archi", "", "ID"), arcs);
    EXPECT_EQ(StoredPoints(1), first);
    EXPECT_EQ(Nodes().size(), 4u);
    EXPECT_EQ(Texts(ui), c.messages);
  }
}

}  // namespace
}  // namespace viamappa
