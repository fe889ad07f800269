#include "map/MapContextMenu.h"

#include <gtest/gtest.h>

#include "app/CommandIds.h"

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

TEST(MapContextMenuTest, ThreeSubMenusInOrder) {
  const std::vector<MapMenuEntry> menu = BuildMapContextMenu({});
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[0].text, "&Navigazione");
  EXPECT_EQ(menu[1].text, "&Modi Editing");
  EXPECT_EQ(menu[2].text, "&Editing");
  EXPECT_EQ(Ids(menu[0]), (std::vector<int>{40001, 40002, 40003, 40004, 0, 5111, 0, 40006, 40011}));
  EXPECT_EQ(Ids(menu[1]), (std::vector<int>{40009, 40007, 40008, 40010, 0, 40012, 40013}));
  EXPECT_EQ(Ids(menu[2]), (std::vector<int>{5115}));
  EXPECT_EQ(menu[2].items[0].text, "Inizio Tracciamento Nuovo &Arco Stradale\tINS");
}

TEST(MapContextMenuTest, TheSelectedToolIsACheckedTextEntry) {
  MapMenuState state;
  state.tool = NavigationTool::Zoom;
  std::vector<MapMenuEntry> menu = BuildMapContextMenu(state);
  EXPECT_TRUE(Find(menu, cmd::kPan)->owner_drawn);
  EXPECT_TRUE(Find(menu, cmd::kZoom)->checked);
  EXPECT_TRUE(Find(menu, cmd::kZoom)->owner_drawn);
  EXPECT_EQ(Find(menu, cmd::kZoom)->text, "&Zoom scala\tCtl+Z") << "the label the window draws";

  state.tool = NavigationTool::Pan;
  menu = BuildMapContextMenu(state);
  const MapMenuEntry* pan = Find(menu, cmd::kPan);
  EXPECT_FALSE(pan->owner_drawn);
  EXPECT_TRUE(pan->checked);
  EXPECT_EQ(pan->text, "&Sposta punto di vista\tCtl+S");
  EXPECT_FALSE(Find(menu, cmd::kZoom)->checked);

  state.tool = NavigationTool::AreaSelection;
  const MapMenuEntry area = *Find(BuildMapContextMenu(state), cmd::kAreaSelection);
  EXPECT_FALSE(area.owner_drawn);
  EXPECT_TRUE(area.checked);
  EXPECT_EQ(area.text, "S&elezione area\tCtl+A");
}

TEST(MapContextMenuTest, GreyedEntries) {
  MapMenuState state;
  std::vector<MapMenuEntry> menu = BuildMapContextMenu(state);
  EXPECT_FALSE(Find(menu, cmd::kPreviousView)->enabled) << "no previous view";
  for (const int id : {40009, 40007, 40008, 40010, 40011, 40012, 40013})
    EXPECT_FALSE(Find(menu, id)->enabled) << id << " without arcs";

  state.can_go_back = true;
  state.graph_has_arcs = true;
  menu = BuildMapContextMenu(state);
  EXPECT_TRUE(Find(menu, cmd::kPreviousView)->enabled);
  for (const int id : {40009, 40007, 40008, 40010, 40011, 40012}) EXPECT_TRUE(Find(menu, id)->enabled) << id;
  EXPECT_FALSE(Find(menu, cmd::kPathEnd)->enabled) << "no path start point yet";

  state.modes.start_point_set = true;
  EXPECT_TRUE(Find(BuildMapContextMenu(state), cmd::kPathEnd)->enabled);

  // A mode that is on stays checked and usable, even over a graph without arcs.
  state = {};
  state.modes.highlighting = true;
  state.modes.pick_end = true;
  menu = BuildMapContextMenu(state);
  EXPECT_TRUE(Find(menu, cmd::kHighlightRoads)->checked);
  EXPECT_TRUE(Find(menu, cmd::kHighlightRoads)->enabled);
  EXPECT_TRUE(Find(menu, cmd::kPathEnd)->checked);
  EXPECT_TRUE(Find(menu, cmd::kPathEnd)->enabled);
  EXPECT_FALSE(Find(menu, cmd::kPathStart)->checked);
}

TEST(MapContextMenuTest, EditingEntriesFollowTheSituation) {
  MapMenuState state;
  state.situation = EditingSituation::Digitising;
  state.modes.draw_arc = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5517, 5521, 5519, 5520}));

  state.situation = EditingSituation::ArcSelected;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5115}));

  state.modes = {};
  state.modes.delete_vertex = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5114})) << "no vertex chosen";
  state.vertex_chosen = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5122}));

  state.modes = {};
  state.modes.pick_start = true;
  state.point_chosen = true;
  EXPECT_EQ(Ids(BuildMapContextMenu(state)[2]), (std::vector<int>{5123}));
  state.modes = {};
  state.modes.pick_end = true;
  const std::vector<MapMenuEntry> menu = BuildMapContextMenu(state);
  EXPECT_EQ(Ids(menu[2]), (std::vector<int>{5124}));
  EXPECT_EQ(menu[2].items[0].text, "Seleziono Punto &Arrivo\tINVIO");
}

}  // namespace
}  // namespace viamappa
