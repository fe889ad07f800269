// The shell as data: every menu command reaches the table, and every map key command has its key.
#include "app/ShellModel.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <vector>

#include "app/CommandTable.h"
#include "map/CommandIds.h"

namespace viamappa {
namespace {

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

}  // namespace
}  // namespace viamappa
