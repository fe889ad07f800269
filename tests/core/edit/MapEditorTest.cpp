#include "edit/MapEditor.h"

#include "EditingFixture.h"

namespace viamappa {
namespace {

using testing::EditingTest;

// Enter: a path point where the pointer snapped in the path modes; else, with no hot arc, a traced
// point; else the hot arc's picked vertex deleted (deletion mode) or its attributes opened.
TEST_F(EditingTest, EnterDispatchesByModeSnapHotArcAndTracing) {
  struct Case {
    const char* name;
    MapModes modes;
    bool trace;
    Point pointer;
    std::string expected;  // "S x y", "E x y", "open ID", "traced N", "deleted", "nothing"
  };
  MapModes start, end, draw, erase;
  start.pick_start = true;
  end.pick_end = true;
  draw.draw_arc = true;
  erase.delete_vertex = true;
  const Case cases[] = {
      {"path start at the snap", start, false, {1250, 1110}, "S 1250 1100"},
      {"path end at the snap", end, false, {1250, 1110}, "E 1250 1100"},
      {"path start without a snap falls to the hot arc", start, false, {1250, 1125}, "open 11"},
      {"nothing under the pointer", {}, false, {1010, 1010}, "nothing"},
      {"a hot arc", {}, false, {1150, 1255}, "open 13"},
      {"a picked vertex", erase, false, {1150, 1100}, "deleted"},
      {"tracing with no hot arc", draw, true, {1150, 1200}, "traced 2"},
      {"tracing over an arc end the snap found", draw, true, {1302, 1252}, "open 13"},
  };
  for (const Case& c : cases) {
    Load();
    route_.clear();
    dialogs_.opened.clear();
    modes_ = c.modes;
    if (c.trace) {
      Move(1150, 1180);
      Command(cmd::kStartNewArc);
    }
    Move(c.pointer.x, c.pointer.y);
    const int stale = stale_;
    const std::size_t vertices = StoredPoints(10).size();
    Command(cmd::kInsertVertex);
    std::string got = "nothing";
    if (!route_.empty())
      got = std::string(1, route_[0].which) + " " + FormatShortest(route_[0].at.x) + " " +
            FormatShortest(route_[0].at.y);
    if (!dialogs_.opened.empty()) got = "open " + std::to_string(dialogs_.opened[0]);
    if (editor_->tracing() && editor_->state().traced->size() > 1)
      got = "traced " + std::to_string(editor_->state().traced->size());
    if (StoredPoints(10).size() < vertices) got = "deleted";
    EXPECT_EQ(got, c.expected) << c.name;
    if (got == "deleted") {
      EXPECT_GT(stale_, stale) << "a deleted vertex changes the routing graph";
    }
  }
}

// A drag of a navigation tool is the navigation's, unless a vertex is held; hovering repaints the
// overlay only when what it shows changes.
TEST_F(EditingTest, MovesAreClaimedUnlessANavigationToolDrags) {
  tool_ = NavigationTool::Pan;
  EXPECT_TRUE(Move(1150, 1100).claimed);
  EXPECT_TRUE(Move(1150, 1101).claimed);
  EXPECT_FALSE(Move(1150, 1102).overlay) << "the same arc stays hot";
  EXPECT_FALSE(Move(1150, 1102, true).claimed);
  modes_.drag = true;
  Move(1150, 1100);
  ASSERT_TRUE(editor_->state().hot_vertex);
  EXPECT_TRUE(Move(1150, 1090, true).claimed) << "a held vertex is dragged whatever the tool";
  Release(1150, 1090);

  EXPECT_EQ(editor_->situation(), EditingSituation::ArcSelected);
  modes_ = {};
  modes_.draw_arc = true;
  Move(1010, 1010);
  EXPECT_EQ(editor_->situation(), EditingSituation::None);
  Command(cmd::kStartNewArc);
  EXPECT_EQ(editor_->situation(), EditingSituation::Digitising);
}

}  // namespace
}  // namespace viamappa
