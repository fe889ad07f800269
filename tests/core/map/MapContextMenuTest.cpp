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

// The ids of a sub-menu in order, 0 for a separator.
std::vector<int> Ids(const MapMenuEntry& popup) {
  std::vector<int> ids;
  for (const MapMenuEntry& entry : popup.items) ids.push_back(entry.id);
  return ids;
}

TEST(MapContextMenuTest, SelectedToolAndGreyedEntries) {
  MapMenuState state;
  state.tool = NavigationTool::Pan;
  std::vector<MapMenuEntry> menu = BuildMapContextMenu(state);
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(Ids(menu[1]), (std::vector<int>{40009, 40007, 40008, 40010, 0, 40012, 40013}));
  // The selected tool is a checked text entry, the others keep their image.
  EXPECT_FALSE(Find(menu, cmd::kPan)->owner_drawn);
  EXPECT_TRUE(Find(menu, cmd::kPan)->checked);
  EXPECT_TRUE(Find(menu, cmd::kAreaSelection)->owner_drawn);
  EXPECT_FALSE(Find(menu, cmd::kPreviousView)->enabled) << "no previous view";
  for (const int id : {40009, 40007, 40008, 40010, 40011, 40012, 40013})
    EXPECT_FALSE(Find(menu, id)->enabled) << id << " without arcs";

  state.can_go_back = state.graph_has_arcs = true;
  menu = BuildMapContextMenu(state);
  EXPECT_TRUE(Find(menu, cmd::kPreviousView)->enabled);
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

// The group's entries by the situation, always followed by the undo and the redo, greyed while there is
// nothing to take back or to do again.
TEST(MapContextMenuTest, EditingEntriesFollowTheSituation) {
  const auto with_undo = [](std::vector<int> ids) {
    ids.insert(ids.end(), {0, cmd::kUndoEdit, cmd::kRedoEdit});
    return ids;
  };
  MapMenuState state;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), with_undo({5115}));
  EXPECT_FALSE(Find(BuildMapContextMenu(state), cmd::kUndoEdit)->enabled);
  state.situation = EditingSituation::Digitising;
  state.can_redo = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), with_undo({5517, 5521, 5519, 5520}));
  EXPECT_TRUE(Find(BuildMapContextMenu(state), cmd::kRedoEdit)->enabled);

  state.situation = EditingSituation::ArcSelected;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), with_undo({5114}));
  state.modes.delete_vertex = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), with_undo({5114})) << "no vertex chosen";
  state.vertex_chosen = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), with_undo({5122}));
  state.modes = {};
  state.modes.pick_end = true;
  state.point_chosen = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), with_undo({5124}));
}

}  // namespace
}  // namespace viamappa
