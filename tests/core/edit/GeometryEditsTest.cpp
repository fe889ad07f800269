#include "edit/GeometryEdits.h"

#include "EditingFixture.h"
#include "db/Sqlite.h"
#include "geom/Hundredths.h"

namespace viamappa {
namespace {

using testing::EditingTest;

using Points = std::vector<Point>;

TEST(SplitPointsTest, CutsOnASegmentOrAtAVertexNeverLeavingAZeroLengthPiece) {
  const PointArray line({{0, 0}, {10, 0}, {20, 0}});
  struct Case {
    std::int32_t j;
    Point f;
    std::optional<std::pair<Points, Points>> halves;
  };
  const Case cases[] = {
      {1, {5, 0}, std::pair{Points{{0, 0}, {5, 0}}, Points{{5, 0}, {10, 0}, {20, 0}}}},
      {1, {10, 0}, std::pair{Points{{0, 0}, {10, 0}}, Points{{10, 0}, {20, 0}}}},  // at the vertex
      {2, {10, 0}, std::pair{Points{{0, 0}, {10, 0}}, Points{{10, 0}, {20, 0}}}},
      {1, {0, 0}, std::nullopt},  // at an end: nothing to cut
      {2, {20, 0}, std::nullopt},
      {0, {5, 0}, std::nullopt},  // no such segment
      {3, {5, 0}, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto halves = SplitPoints(line, c.j, c.f);
    ASSERT_EQ(halves.has_value(), c.halves.has_value()) << c.j << " " << c.f.x;
    if (!halves) continue;
    EXPECT_EQ(halves->first.points(), c.halves->first) << c.j << " " << c.f.x;
    EXPECT_EQ(halves->second.points(), c.halves->second) << c.j << " " << c.f.x;
  }
}

// Node 2 carries the ends of arcs 10, 11 and 12: dragging it moves them all, in the database only at
// the release, with the boxes recomputed and the arcs marked modified today.
TEST_F(EditingTest, DraggingAnEndVertexMovesTheNodeAndTheEndsOfTheOtherArcs) {
  modes_.drag = true;
  Move(1200, 1100);
  ASSERT_EQ(HotArc(), 10);
  ASSERT_EQ(editor_->state().hot_vertex, (Point{1200, 1100}));
  Press(1200, 1100);
  Move(1190, 1090, true);
  EXPECT_EQ(CachedPoints(12).front(), (Point{1190, 1090}));
  EXPECT_EQ(StoredPoints(12).front(), (Point{1200, 1100})) << "nothing is written before the release";
  Move(1180, 1080, true);
  const int stale_before = stale_;
  const EditOutcome released = Release(1180, 1080);
  EXPECT_TRUE(released.vector_redraw);
  EXPECT_GT(stale_, stale_before);
  EXPECT_EQ(StoredPoints(10).back(), (Point{1180, 1080}));
  EXPECT_EQ(StoredPoints(11).front(), (Point{1180, 1080}));
  EXPECT_EQ(StoredPoints(12).front(), (Point{1180, 1080}));
  EXPECT_EQ(Rows("ID, coord_x, coord_y", "nodi", "ID = 2"), std::vector<std::string>{"2|1180|1080"});
  EXPECT_EQ(Rows("ID, modifica, datmod", "archi", "ID IN (10, 11, 12, 13)", "ID"),
            (std::vector<std::string>{"10|-1|05/03/2026", "11|-1|05/03/2026", "12|-1|05/03/2026",
                                      "13|0|01/01/2024"}));
  EXPECT_EQ(Rows("miny, maxy", "geoarchi", "ID = 11"), std::vector<std::string>{"1080|1100"})
      << "the stored box is the box of the points, not widened";
  EXPECT_EQ(editor_->caches().FindArc(11)->polylines[0].box(), Box::Of(1180, 1080, 1300, 1100));
  EXPECT_EQ(stored_.size(), 1u) << "one change for the whole gesture";
}

// Arc 10's start (node 1) is dropped 3 m from node 7: the two nodes become one, node 1, and arc 14,
// which started at node 7, now starts at node 1.
TEST_F(EditingTest, AttachingAnEndToANodeMergesTheDuplicate) {
  modes_.drag = true;
  Drag({1100, 1100}, {{1100, 1120}, {1102, 1147}});
  EXPECT_EQ(Nodes(), (std::vector<std::string>{"1|1100|1150", "2|1200|1100", "3|1300|1100", "4|1200|1200",
                                               "5|1100|1250", "6|1300|1250", "8|1050|1150"}));
  EXPECT_EQ(Rows("ID, nodini, nodfin", "archi", "ID IN (10, 14)", "ID"),
            (std::vector<std::string>{"10|1|2", "14|1|8"}));
  EXPECT_EQ(StoredPoints(10).front(), (Point{1100, 1150}));
  EXPECT_FALSE(editor_->caches().FindNode(7)) << "the merged node left the cache";
  EXPECT_EQ(editor_->caches().NodesAt({1100, 1150}).size(), 1u);
}

// Arc 12's end (node 4) is dropped 8 m below arc 13: arc 13 is cut there and the new piece inherits
// every field but its element code.
TEST_F(EditingTest, AttachingAnEndToAnArcSplitsItAndTheNewPieceInheritsItsFields) {
  {
    ArcTable archi(db());
    ArcRecord arc;
    ASSERT_TRUE(archi.Seek(13) && archi.Read(arc));
    arc.alterna = "STRADA VERDE";
    arc.codele = "E13";
    arc.codreg = "R13";
    arc.piazza = true;
    arc.verifica = true;
    ASSERT_TRUE(archi.Rewrite(arc));
  }
  modes_.drag = true;
  const int stale = stale_;
  Drag({1200, 1200}, {{1205, 1220}, {1203, 1242}});
  EXPECT_GT(stale_, stale) << "the cut and the merge change the routing graph";
  EXPECT_EQ(StoredPoints(13), (Points{{1100, 1250}, {1203, 1250}}));
  EXPECT_EQ(StoredPoints(15), (Points{{1203, 1250}, {1300, 1250}}));
  EXPECT_EQ(StoredPoints(12), (Points{{1200, 1100}, {1203, 1250}}));
  EXPECT_EQ(
      Rows("ID, nodini, nodfin, denom, alterna, codele, codreg, classe, piazza, verifica, modifica, "
           "aggiunto, datins, datmod",
           "archi", "ID IN (12, 13, 15)", "ID"),
      (std::vector<std::string>{"12|2|4|VIA MILANO||||SC|0|0|-1|0|01/01/2024|05/03/2026",
                                "13|5|4|VIA VERDI|STRADA VERDE|E13|R13|SP|-1|-1|-1|0|01/01/2024|05/03/2026",
                                "15|4|6|VIA VERDI|STRADA VERDE||R13|SP|-1|-1|-1|0|05/03/2026|05/03/2026"}));
  EXPECT_EQ(
      Rows("ID, coord_x, coord_y", "nodi", "ID >= 4", "ID"),
      (std::vector<std::string>{"4|1203|1250", "5|1100|1250", "6|1300|1250", "7|1100|1150", "8|1050|1150"}))
      << "the junction node made by the cut merged into the dragged one";
  EXPECT_EQ(editor_->caches().NodesAt({1203, 1250}).size(), 1u);
}

TEST_F(EditingTest, DroppingAnEndOnAnotherArcsEndDoesNotSplitIt) {
  modes_.drag = true;
  // Arc 14's free end (node 8) dropped 4 m from arc 13's start (node 5) far above: moved first near it.
  Drag({1050, 1150}, {{1080, 1200}, {1097, 1247}});
  EXPECT_EQ(Rows("count(*)", "archi"), std::vector<std::string>{"5"});
  EXPECT_EQ(Rows("ID, nodini, nodfin", "archi", "ID = 14"), std::vector<std::string>{"14|7|5"});
  EXPECT_EQ(StoredPoints(14).back(), (Point{1100, 1250}));
}

// In the vertex deletion mode a press on a picked vertex deletes it; ends and repeated vertices stay.
TEST_F(EditingTest, DeletingVertices) {
  modes_.delete_vertex = true;
  Move(1150, 1100);
  ASSERT_TRUE(editor_->state().hot_vertex);
  EXPECT_TRUE(Press(1150, 1100).claimed);
  EXPECT_EQ(StoredPoints(10), (Points{{1100, 1100}, {1200, 1100}}));
  EXPECT_EQ(Rows("modifica", "archi", "ID = 10"), std::vector<std::string>{"-1"});
  GeometryEdits& edits = editor_->edits();
  LineFeature& arc10 = *editor_->caches().FindArc(10);
  EXPECT_TRUE(edits.DeleteVertex(arc10, {1100, 1100}).empty()) << "two points: nothing to delete";
  LineFeature& arc13 = *editor_->caches().FindArc(13);
  arc13.polylines[0] = PointArray({{1100, 1250}, {1150, 1260}, {1150, 1260}, {1300, 1250}});
  EXPECT_TRUE(edits.DeleteVertex(arc13, {1150, 1260}).empty()) << "a vertex held twice stays";
  EXPECT_TRUE(edits.DeleteVertex(arc13, {1100, 1250}).empty()) << "an end stays";
}

// In the adjust mode a press-and-drag on an arc inserts a vertex, rounded, and the release writes it
// and marks the arc, even when the pointer did not move on.
TEST_F(EditingTest, AdjustingInsertsARoundedVertexAndMarksTheArc) {
  modes_.adjust_segment = true;
  viewport_ = Viewport(DeviceMetrics(10.0), SavedMapView{0.3337, 1100, 1050});
  viewport_.SetClientSize(400, 300);
  // Pixel (290, 150) lies at x = 1100 + 290 x 0.3337, y = 1050 + 150 x 0.3337, just above arc 10.
  const Point pointer{1100 + 290 * 0.3337, 1050 + 150 * 0.3337};
  const Point rounded{RoundToHundredths(pointer.x), RoundToHundredths(pointer.y)};
  ASSERT_NE(pointer.x, rounded.x);
  editor_->PointerMoved({290, 150, false, tool_});
  ASSERT_EQ(HotArc(), 10);
  editor_->LeftPressed({290, 150, true, tool_});
  editor_->PointerMoved({290, 150, true, tool_});
  editor_->LeftReleased({290, 150, false, tool_});
  EXPECT_EQ(StoredPoints(10), (Points{{1100, 1100}, {1150, 1100}, rounded, {1200, 1100}}));
  EXPECT_EQ(Rows("modifica", "archi", "ID = 10"), std::vector<std::string>{"-1"});
}

TEST_F(EditingTest, ANewArcNeedsTwoDistinctPoints) {
  const int nodes = static_cast<int>(Nodes().size());
  EXPECT_TRUE(editor_->edits().FinishNewArc({{1000, 1000}, {1000, 1000}}, {"VIA NUOVA", "", "SC"}).empty());
  EXPECT_EQ(ui_.last_message().text, kTooFewPointsMessage);
  EXPECT_EQ(static_cast<int>(Nodes().size()), nodes);
}

using EmptyGraphTest = testing::RoadNetworkTest;

TEST_F(EmptyGraphTest, TheFirstArcAndNodesGetIdentifierZeroAndAStartAndEndOnOneNodeShareIt) {
  LayerSet layers;
  LoadLayers(layers, db(), MapStyling{});
  GraphCaches caches(layers);
  GeometryEdits edits(db(), caches, [] { return std::string(testing::kToday); });
  const GraphChange change =
      edits.FinishNewArc({{10, 10}, {20, 10}, {20, 20}, {10, 10}}, {"VIA ANELLO", "", "SC"});
  EXPECT_EQ(change.arcs_added, std::vector<std::int32_t>{0});
  EXPECT_EQ(Rows("ID, nodini, nodfin, aggiunto, modifica, local, comune, datins", "archi"),
            std::vector<std::string>{"0|0|0|-1|0|0|0|05/03/2026"});
  EXPECT_EQ(Rows("ID, coord_x, coord_y", "nodi"), std::vector<std::string>{"0|10|10"});
  ASSERT_TRUE(caches.FindArc(0));
  EXPECT_EQ(caches.FindArc(0)->polylines[0].count(), 4);
}

// An edit whose rows cannot all be stored stores none and leaves the caches as they were.
TEST_F(EditingTest, AnEditThatFailsHalfwayStoresNothing) {
  ASSERT_TRUE(
      ExecuteSql(db().engine()->handle(),
                 "CREATE TRIGGER refuse BEFORE INSERT ON geoarchi BEGIN SELECT RAISE(ABORT, 'no'); END"));
  const std::vector<std::string> nodes = Nodes();
  const GraphChange change =
      editor_->edits().FinishNewArc({{1000, 1000}, {1010, 1000}}, {"VIA NUOVA", "", "SC"});
  EXPECT_TRUE(change.empty());
  EXPECT_EQ(Nodes(), nodes) << "the end nodes made first went with the rest";
  EXPECT_EQ(Rows("count(*)", "archi"), std::vector<std::string>{"5"});
  EXPECT_TRUE(editor_->caches().NodesAt({1000, 1000}).empty());
  EXPECT_EQ(editor_->caches().arcs()->line_count(), 5u);

  LineFeature& arc13 = *editor_->caches().FindArc(13);
  EXPECT_TRUE(editor_->edits().SplitArc(arc13, 0, 1, {1150, 1250}).empty());
  EXPECT_EQ(CachedPoints(13), (Points{{1100, 1250}, {1300, 1250}})) << "the arc is whole again";
  EXPECT_EQ(Rows("nodfin", "archi", "ID = 13"), std::vector<std::string>{"6"});
}

}  // namespace
}  // namespace viamappa
