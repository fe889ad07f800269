// The shell as data: menus, toolbar and keys.
#include "app/ShellModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <vector>

#include "app/CommandTable.h"
#include "map/CommandIds.h"

namespace viamappa {
namespace {

TEST(ShellModelTest, OnlyOperationsItemsCarryAnImageAndEveryMenuCommandIsInTheTable) {
  std::set<int> ids;
  const auto walk = [&](const auto& self, const std::vector<MenuItem>& items, bool operations) -> void {
    for (const MenuItem& item : items) {
      if (item.kind == MenuItem::Kind::Popup) self(self, item.items, item.text == "&Operazioni");
      if (item.kind != MenuItem::Kind::Command) continue;
      EXPECT_EQ(item.with_image, operations) << item.text;
      EXPECT_TRUE(ids.insert(item.id).second) << "twice in the menus: " << item.id;
      CommandContext everything{true, true, true, true, true, true, NavigationTool::None, {}};
      everything.modes.start_point_set = true;
      EXPECT_TRUE(QueryCommand(item.id, everything).enabled) << item.id;
    }
  };
  walk(walk, MenuBarModel(), false);
  EXPECT_EQ(ids.size(), 36u);
}

TEST(ShellModelTest, EveryToolBarButtonHasATooltip) {
  for (const int id : ToolBarLayout()) {
    if (id != 0) {
      EXPECT_FALSE(ToolTip(id).empty()) << id;
    }
  }
  EXPECT_TRUE(ToolTip(cmd::kExit).empty());
}

TEST(ShellModelTest, KeyListsSplitCtrlVFromTheMapWindowKeys) {
  ASSERT_EQ(MainWindowKeys().size(), 1u);
  EXPECT_EQ(MainWindowKeys()[0].keys, "Ctrl+V");
  EXPECT_EQ(MainWindowKeys()[0].command, cmd::kThematicStyling);

  std::set<std::string_view> keys;
  std::set<int> commands;
  for (const KeyBinding& binding : MapWindowKeys()) {
    EXPECT_TRUE(keys.insert(binding.keys).second) << "bound twice: " << binding.keys;
    EXPECT_NE(binding.command, cmd::kThematicStyling);
    commands.insert(binding.command);
  }
  // Every map key command from 5501 to 5523 has a key, 5522 and 5523 included.
  for (int id = cmd::kFirstMapKeyCommand; id <= cmd::kLastMapKeyCommand; ++id) {
    EXPECT_TRUE(commands.count(id)) << id;
  }
}

}  // namespace
}  // namespace viamappa
