// The shell without windows: its command table, menus and keys, and the busy clock.
#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "app/ProgressLayout.h"
#include "app/ShellModel.h"
#include "map/CommandIds.h"

namespace viamappa {
namespace {

const std::vector<int> kAlways = {5101, 5102, 5103, 5104, 5105, 5106, 5107, 5110};
const std::vector<int> kNeedDatabase = {5108, 5109, 5120, 5112, 5125, 5117, 5118, 5128,
                                        5113, 5121, 5116, 5119, 5127, 5126, 5129};
const std::vector<int> kNavigation = {40001, 40002, 40004, 40003};
const std::vector<int> kEditing = {40007, 40008, 40009, 40010, 40011, 40012, 40013};

bool Enabled(int id, const CommandContext& context) {
  return QueryCommand(id, context).enabled;
}

// The ids that sit in the main window's ranges but belong to the map window or the navigation, and
// those nobody owns; the main window's table never governs the map window's keys.
TEST(CommandTableTest, EveryCommandHasOneRoute) {
  using enum CommandOwner;
  const struct {
    std::vector<int> ids;
    CommandRoute route;
  } kRoutes[] = {
      {{5101, 5129, cmd::kThematicStyling}, {MainWindow, true}},
      {kNavigation, {Navigation, true}},
      {{cmd::kToponymSearch}, {MapWindow, true}},
      {kEditing, {Modes, true}},
      {{cmd::kPreviousView, 5501, 5508, 5516}, {Navigation, false}},
      {{cmd::kEditArcData, cmd::kStartNewArc, 5122, 5123, 5124, 5517, 5521, 5523, cmd::kUndoEdit,
        cmd::kRedoEdit},
       {MapWindow, false}},
      {{0, 5100, 5130, 5500, 5526, 40000, 40014}, {None, false}},
  };
  for (const auto& entry : kRoutes) {
    for (const int id : entry.ids) EXPECT_EQ(RouteOf(id), entry.route) << id;
  }
}

// Each step adds what the next group of commands needs: a database, map data, the map window and its
// layers, an extent, a start point.
TEST(CommandTableTest, CommandsAreEnabledStepByStep) {
  CommandContext c;
  for (const int id : kAlways) EXPECT_TRUE(Enabled(id, c)) << id;
  for (const int id : kNeedDatabase) EXPECT_FALSE(Enabled(id, c)) << id;
  c.database_open = true;
  for (const int id : kNeedDatabase) EXPECT_TRUE(Enabled(id, c)) << id;
  for (const int id : kNavigation) EXPECT_FALSE(Enabled(id, c)) << "before the map data: " << id;
  c.map_data = c.layer_list = c.map_window = true;
  for (const int id : kNavigation) EXPECT_TRUE(Enabled(id, c)) << id;
  EXPECT_TRUE(Enabled(cmd::kToponymSearch, c));
  EXPECT_FALSE(Enabled(cmd::kThematicStyling, c));
  c.thematic_layers = true;
  EXPECT_TRUE(Enabled(cmd::kThematicStyling, c));
  for (const int id : kEditing) EXPECT_FALSE(Enabled(id, c)) << "no extent: " << id;
  c.extent_set = true;
  for (int id = 40007; id <= 40012; ++id) EXPECT_TRUE(Enabled(id, c)) << id;
  EXPECT_FALSE(Enabled(cmd::kPathEnd, c));
  c.modes.start_point_set = true;
  EXPECT_TRUE(Enabled(cmd::kPathEnd, c));
  for (bool CommandContext::*missing : {&CommandContext::map_data, &CommandContext::map_window,
                                        &CommandContext::layer_list, &CommandContext::extent_set}) {
    CommandContext partial = c;
    partial.*missing = false;
    for (const int id : kEditing) EXPECT_FALSE(Enabled(id, partial)) << id;
  }

  c.navigation = NavigationTool::AreaSelection;
  c.modes.delete_vertex = c.modes.pick_end = true;
  EXPECT_TRUE(QueryCommand(cmd::kAreaSelection, c).checked);
  EXPECT_FALSE(QueryCommand(cmd::kZoom, c).checked);
  EXPECT_EQ(QueryCommand(cmd::kDeleteVertexMode, c), (CommandStatus{true, true}));
  EXPECT_FALSE(QueryCommand(cmd::kDragMode, c).checked);
}

TEST(CommandTableTest, EditingModesAreExclusiveAndForgetHighlightingAndPath) {
  MapModes before;
  before.adjust_segment = before.highlighting = before.pick_end = true;
  before.start_point_set = before.end_point_set = true;
  const ModeChange on = ApplyModeCommand(cmd::kDragMode, before);
  MapModes expected;
  expected.drag = true;
  EXPECT_EQ(on.modes, expected);
  EXPECT_TRUE(on.forget_highlighting);
  const ModeChange off = ApplyModeCommand(cmd::kDragMode, on.modes);
  EXPECT_EQ(off.modes, MapModes{});
  EXPECT_TRUE(off.forget_highlighting);
}

TEST(CommandTableTest, HighlightingAsksForCriteriaOnlyWhenTurnedOn) {
  MapModes modes;
  modes.draw_arc = modes.pick_start = modes.start_point_set = true;
  EXPECT_TRUE(AsksHighlightingCriteria(cmd::kHighlightRoads, modes));
  EXPECT_FALSE(AsksHighlightingCriteria(cmd::kDragMode, modes));
  const ModeChange declined = ApplyModeCommand(cmd::kHighlightRoads, modes, false);
  EXPECT_EQ(declined.modes, MapModes{});  // the other modes are cleared even without criteria
  EXPECT_FALSE(declined.forget_highlighting);
  const ModeChange chosen = ApplyModeCommand(cmd::kHighlightRoads, modes, true);
  MapModes highlighting;
  highlighting.highlighting = true;
  EXPECT_EQ(chosen.modes, highlighting);
  EXPECT_FALSE(AsksHighlightingCriteria(cmd::kHighlightRoads, chosen.modes));
  const ModeChange off = ApplyModeCommand(cmd::kHighlightRoads, chosen.modes);
  EXPECT_EQ(off.modes, MapModes{});
  EXPECT_TRUE(off.forget_highlighting);
}

TEST(CommandTableTest, PathPointsStartClearsTheEndAndEndKeepsTheStart) {
  MapModes modes;
  modes.highlighting = modes.drag = true;
  ModeChange start = ApplyModeCommand(cmd::kPathStart, modes);
  MapModes expected;
  expected.pick_start = true;
  EXPECT_EQ(start.modes, expected);
  EXPECT_TRUE(start.forget_highlighting);

  // The map window records the start point; then the end point is picked, the start point kept.
  start.modes.start_point_set = true;
  const ModeChange end = ApplyModeCommand(cmd::kPathEnd, start.modes);
  expected = {};
  expected.pick_end = expected.start_point_set = true;
  EXPECT_EQ(end.modes, expected);
  EXPECT_FALSE(end.forget_highlighting);

  MapModes with_end = end.modes;
  with_end.end_point_set = true;
  expected = {};
  expected.start_point_set = true;
  EXPECT_EQ(ApplyModeCommand(cmd::kPathEnd, with_end).modes, expected);

  // Picking a new start forgets the end point; turning the start pick off forgets both points.
  const ModeChange restart = ApplyModeCommand(cmd::kPathStart, with_end);
  expected.pick_start = true;
  EXPECT_EQ(restart.modes, expected);
  EXPECT_EQ(ApplyModeCommand(cmd::kPathStart, restart.modes).modes, MapModes{});
  EXPECT_EQ(ApplyModeCommand(cmd::kPan, with_end).modes, with_end);
}

// The shell as data: every menu command reaches the table, and every map key command has its key.
TEST(ShellModelTest, EveryMenuCommandIsInTheTableOnceAndEveryMapKeyCommandHasOneKey) {
  std::set<int> ids;
  CommandContext everything{true, true, true, true, true, true, NavigationTool::None, {}};
  everything.modes.start_point_set = true;
  const auto walk = [&](const auto& self, const std::vector<MenuItem>& items) -> void {
    for (const MenuItem& item : items) {
      if (item.kind == MenuItem::Kind::Popup) self(self, item.items);
      if (item.kind != MenuItem::Kind::Command) continue;
      EXPECT_TRUE(ids.insert(item.id).second) << "twice in the menus: " << item.id;
      EXPECT_TRUE(QueryCommand(item.id, everything).enabled) << item.id;
    }
  };
  walk(walk, MenuBarModel());
  EXPECT_EQ(ids.size(), 36u);

  std::set<std::string_view> keys;
  std::set<int> commands;
  for (const KeyBinding& binding : MapWindowKeys()) {
    EXPECT_TRUE(keys.insert(binding.keys).second) << "bound twice: " << binding.keys;
    commands.insert(binding.command);
  }
  for (int id = cmd::kFirstMapKeyCommand; id <= cmd::kLastMapKeyCommand; ++id)
    EXPECT_TRUE(commands.count(id)) << id;
  EXPECT_FALSE(commands.count(cmd::kThematicStyling)) << "Ctrl+V belongs to the main window";
}

// The busy clock's text and the size of a pixel, at their edges.
TEST(ProgressLayoutTest, TheClockWrapsAtAnHourAndAMissingResolutionIsTakenAsNinetySix) {
  const std::pair<long long, const char*> cases[] = {
      {75, "01:15"}, {59 * 60 + 59, "59:59"}, {61 * 60, "01:00"}, {100LL * 3600 + 5, "00:05"}, {-3, "00:00"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(BusyClockText(seconds), text) << seconds;
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(254), 10.0);
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(0), 2540.0 / 96);
}

}  // namespace
}  // namespace viamappa
