#include "map/MapContextMenu.h"

#include <gtest/gtest.h>

#include <vector>

#include "map/CommandIds.h"

namespace viamappa {
namespace {

const MapMenuEntry* Find(const std::vector<MapMenuEntry>& entries, int id) {
  for (const MapMenuEntry& entry : entries) {
    if (entry.kind == MapMenuEntry::Kind::Command && entry.id == id) return &entry;
    if (const MapMenuEntry* inner = Find(entry.items, id)) return inner;
  }
  return nullptr;
}

TEST(MapContextMenuTest, SelectedToolAndGreyedEntries) {
  MapMenuState state;
  state.tool = NavigationTool::Pan;
  std::vector<MapMenuEntry> menu = BuildMapContextMenu(state);
  // The selected tool is a checked text entry, the others keep their image.
  EXPECT_FALSE(Find(menu, cmd::kPan)->owner_drawn);
  EXPECT_TRUE(Find(menu, cmd::kPan)->checked);
  EXPECT_TRUE(Find(menu, cmd::kAreaSelection)->owner_drawn);
  for (const int id : {40009, 40007, 40008, 40010, 40011, 40012, 40013})
    EXPECT_FALSE(Find(menu, id)->enabled) << id << " without arcs";

  state.can_go_back = state.graph_has_arcs = true;
  menu = BuildMapContextMenu(state);
  EXPECT_TRUE(Find(menu, cmd::kPathStart)->enabled);
  EXPECT_FALSE(Find(menu, cmd::kPathEnd)->enabled) << "no path start point yet";
  state.modes.start_point_set = true;
  EXPECT_TRUE(Find(BuildMapContextMenu(state), cmd::kPathEnd)->enabled);

  // A mode that is on stays checked and usable, even without arcs.
  state = {};
  state.modes.highlighting = true;
  const MapMenuEntry highlighting = *Find(BuildMapContextMenu(state), cmd::kHighlightRoads);
  EXPECT_TRUE(highlighting.checked && highlighting.enabled);
}

// The editing group offers what the situation allows, then the undo and the redo, greyed while there
// is nothing to take back or to do again.
TEST(MapContextMenuTest, EditingEntriesFollowTheSituation) {
  const auto entries = [](const MapMenuState& state) {
    const std::vector<MapMenuEntry> menu = BuildMapContextMenu(state);
    std::vector<int> ids;
    for (const MapMenuEntry& entry : menu[2].items) ids.push_back(entry.id);
    EXPECT_EQ(std::vector<int>(ids.end() - 3, ids.end()),
              (std::vector<int>{0, cmd::kUndoEdit, cmd::kRedoEdit}));
    EXPECT_EQ(Find(menu, cmd::kUndoEdit)->enabled, state.can_undo);
    EXPECT_EQ(Find(menu, cmd::kRedoEdit)->enabled, state.can_redo);
    return std::vector<int>(ids.begin(), ids.end() - 3);
  };
  MapMenuState state;
  EXPECT_EQ(entries(state), std::vector<int>{5115});
  state.situation = EditingSituation::Digitising;
  state.can_redo = true;
  EXPECT_EQ(entries(state), (std::vector<int>{5517, 5521, 5519, 5520}));
  state.situation = EditingSituation::ArcSelected;
  state.modes.delete_vertex = true;
  EXPECT_EQ(entries(state), std::vector<int>{5114}) << "no vertex chosen";
  state.vertex_chosen = true;
  EXPECT_EQ(entries(state), std::vector<int>{5122});
  state.modes = {};
  state.modes.pick_end = true;
  state.point_chosen = true;
  EXPECT_EQ(entries(state), std::vector<int>{5124});
}

}  // namespace
}  // namespace viamappa
