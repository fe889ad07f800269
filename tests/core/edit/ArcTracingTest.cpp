#include "edit/ArcTracing.h"

#include "EditingFixture.h"

namespace viamappa {
namespace {

using testing::EditingTest;
using Points = std::vector<Point>;

// A new arc starts inside arc 11 (which is cut there at once), takes a free point, and ends snapped to
// node 4; the form gives its name and class.
TEST_F(EditingTest, ANewArcSnapsAtItsStartAndAtEachPointAndIsStoredWithItsNodes) {
  modes_.draw_arc = true;
  Move(1250, 1105);
  EXPECT_TRUE(Command(cmd::kStartNewArcKey).vector_redraw) << "arc 11 was cut";
  EXPECT_EQ(StoredPoints(11), (Points{{1200, 1100}, {1250, 1100}}));
  EXPECT_EQ(StoredPoints(15), (Points{{1250, 1100}, {1300, 1100}}));
  EXPECT_EQ(Rows("ID, coord_x, coord_y", "nodi", "ID = 9"), std::vector<std::string>{"9|1250|1100"});

  const EditOutcome band = Move(1250, 1160);
  EXPECT_TRUE(band.overlay);
  EXPECT_FALSE(band.vector_redraw || band.full_redraw) << "the rubber band is an overlay";
  const EditOverlay overlay = editor_->Overlay();
  EXPECT_EQ(overlay.band_from, PixelOf(1250, 1100));
  EXPECT_EQ(overlay.band_to, PixelOf(1250, 1160));
  EXPECT_TRUE(Press(1250, 1161).claimed);
  Move(1205, 1207);
  Press(1205, 1207);
  EXPECT_EQ(editor_->state().traced, (Points{{1250, 1100}, {1250, 1161}, {1200, 1200}}));

  dialogs_.Queue(testing::ArcDialogAnswer{"VIA NUOVA  ", "VIA NUOVA", 1});
  ui_.QueueAnswer(true);  // VIA NUOVA goes into the street directory
  const EditOutcome finished = Command(cmd::kFinishArc);
  EXPECT_FALSE(editor_->tracing());
  EXPECT_EQ(finished.warp_pointer, PixelOf(1205, 1207));
  EXPECT_EQ(
      Rows("ID, denom, alterna, classe, nodini, nodfin, aggiunto, modifica, local, comune, datins, datmod",
           "archi", "ID = 16"),
      std::vector<std::string>{"16|VIA NUOVA||SC|9|4|-1|0|0|0|05/03/2026|05/03/2026"});
  EXPECT_EQ(StoredPoints(16), (Points{{1250, 1100}, {1250, 1161}, {1200, 1200}}));
  EXPECT_EQ(Rows("minx, miny, maxx, maxy", "geoarchi", "ID = 16"),
            std::vector<std::string>{"1200|1100|1250|1200"});
  EXPECT_EQ(CachedPoints(16), StoredPoints(16));
  EXPECT_EQ(Nodes().size(), 9u) << "no node beyond the one made by the cut";
}

// The start snaps to an arc end before a node, further points to a node before an arc end; abandoning
// writes nothing, and a cancelled form neither.
TEST_F(EditingTest, TheStartPrefersArcEndsFurtherPointsPreferNodes) {
  {
    testing::NetworkBuilder build(db());
    ASSERT_TRUE(build.AddNode(0, 1060, 1150));  // first in the cache, beside arc 14's end (1050, 1150)
  }
  Load();
  modes_.draw_arc = true;
  Move(1056, 1150);
  Command(cmd::kStartNewArc);
  Press(1056, 1150);
  EXPECT_EQ(editor_->state().traced, (Points{{1050, 1150}, {1060, 1150}}));
  Command(cmd::kAbandonArc);
  EXPECT_FALSE(editor_->tracing());

  Command(cmd::kStartNewArc);
  Move(1150, 1200);
  Press(1150, 1200);
  Command(cmd::kFinishArc);  // nothing queued: the form is cancelled
  EXPECT_EQ(dialogs_.opened, std::vector<std::int32_t>{999999});
  EXPECT_EQ(Rows("count(*)", "archi"), std::vector<std::string>{"5"});
  EXPECT_EQ(Nodes().size(), 9u);
}

TEST_F(EditingTest, TheLastPointGoesButNeverTheFirst) {
  modes_.draw_arc = true;
  Move(1150, 1200);
  Command(cmd::kStartNewArc);
  Move(1160, 1210);
  Press(1160, 1210);
  Command(cmd::kRemoveLastPoint);
  Command(cmd::kRemoveLastPoint);
  EXPECT_EQ(editor_->state().traced, (Points{{1150, 1200}}));
  dialogs_.Queue(testing::ArcDialogAnswer{"VIA ROMA", "", 1});
  Command(cmd::kFinishArc);
  EXPECT_TRUE(dialogs_.opened.empty()) << "one point is no arc: no form, a message";
  EXPECT_EQ(ui_.last_message().text, kTooFewPointsMessage);
  EXPECT_FALSE(editor_->tracing());
}

// Within 25 pixels of an edge the map is centred on the pointer and the pointer goes to the middle.
TEST_F(EditingTest, TracingNearTheEdgeRecentresTheMap) {
  modes_.draw_arc = true;
  Move(1150, 1200);
  Command(cmd::kStartNewArc);
  const struct {
    PixelPoint at;
    bool recentres;
  } cases[] = {{{25, 150}, false}, {{24, 150}, true}, {{375, 150}, false},
               {{376, 150}, true}, {{200, 24}, true}, {{200, 276}, true}};
  for (const auto& c : cases) {
    const Point world = viewport_.PixelToWorld(c.at.x, c.at.y);
    const EditOutcome outcome = editor_->PointerMoved({c.at.x, c.at.y, false, tool_});
    EXPECT_EQ(outcome.full_redraw, c.recentres) << c.at.x << "," << c.at.y;
    if (!c.recentres) continue;
    EXPECT_EQ(outcome.warp_pointer, (PixelPoint{200, 150}));
    EXPECT_EQ(viewport_.PixelToWorld(200, 150), world) << "the pointer's point is now in the middle";
  }
}

}  // namespace
}  // namespace viamappa
