// The shell without windows: its command table, menus and keys, and the busy clock.
#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
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

// Modes named by their flags: "drag adjust draw delete highlight start end start_set end_set".
MapModes Modes(std::string_view flags) {
  MapModes m;
  bool* const fields[] = {&m.drag,          &m.adjust_segment,  &m.draw_arc,
                          &m.delete_vertex, &m.highlighting,    &m.pick_start,
                          &m.pick_end,      &m.start_point_set, &m.end_point_set};
  const std::string_view names[] = {"drag",  "adjust", "draw",      "delete", "highlight",
                                    "start", "end",    "start_set", "end_set"};
  std::string padded = " ";
  padded.append(flags).append(" ");
  for (std::size_t i = 0; i < std::size(names); ++i) {
    std::string name = " ";
    name.append(names[i]).append(" ");
    *fields[i] = padded.find(name) != std::string::npos;
  }
  return m;
}

// The editing modes are exclusive and forget the highlighting and the path; the highlighting asks for
// criteria only when turned on, and clears the other modes even without them; picking a start forgets
// the end point, picking the end keeps the start, and turning a pick off forgets what it picked.
TEST(CommandTableTest, ModeCommandsChangeTheModesAsTheyMust) {
  const struct {
    int id;
    const char* before;
    bool criteria;
    const char* after;
    bool forget_highlighting;
  } cases[] = {
      {cmd::kDragMode, "adjust highlight end start_set end_set", true, "drag", true},
      {cmd::kDragMode, "drag", true, "", true},
      {cmd::kHighlightRoads, "draw start start_set", false, "", false},
      {cmd::kHighlightRoads, "draw start start_set", true, "highlight", false},
      {cmd::kHighlightRoads, "highlight", true, "", true},
      {cmd::kPathStart, "highlight drag", true, "start", true},
      {cmd::kPathEnd, "start start_set", true, "end start_set", false},
      {cmd::kPathEnd, "end start_set end_set", true, "start_set", false},
      {cmd::kPathStart, "end start_set end_set", true, "start start_set", true},
      {cmd::kPathStart, "start start_set", true, "", true},
      {cmd::kPan, "end start_set end_set", true, "end start_set end_set", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.id << " on \"" << c.before << "\"");
    const ModeChange change = ApplyModeCommand(c.id, Modes(c.before), c.criteria);
    EXPECT_EQ(change.modes, Modes(c.after));
    EXPECT_EQ(change.forget_highlighting, c.forget_highlighting);
  }
  EXPECT_TRUE(AsksHighlightingCriteria(cmd::kHighlightRoads, Modes("draw")));
  EXPECT_FALSE(AsksHighlightingCriteria(cmd::kHighlightRoads, Modes("highlight")));
  EXPECT_FALSE(AsksHighlightingCriteria(cmd::kDragMode, Modes("")));
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
