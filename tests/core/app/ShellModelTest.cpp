// The shell as data: menus, toolbar, keys, texts and the layout of the progress display.
#include "app/ShellModel.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "map/CommandIds.h"
#include "app/CommandTable.h"
#include "app/ProgressLayout.h"
#include "app/ShellTexts.h"

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
  EXPECT_EQ(ids.size(), 35u);
}

TEST(ShellModelTest, ToolBarGroupsRecordTheirWidthsAndEveryButtonHasATooltip) {
  // 23 pixels a button and 7 for the separator that ends a group.
  const std::vector<ToolBarGroup> groups = {{1, 30}, {6, 99}, {11, 99}, {14, 53}, {-1, 46}};
  EXPECT_EQ(ToolBarGroups(), groups);
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

TEST(ShellTextsTest, InformationBoxNamesTheEngineOnlyWithAnOpenDatabase) {
  EXPECT_EQ(
      InformationText("Linux 6.1.0", "/dati/rete.mdb", true, "SQLite 3.40.1", "/dati/sfondo.sfx"),
      "INFORMAZIONI SUL PROGRAMMA\n\nViamappa - \"Gestione Grafo Stradale\"\nSistema operativo Linux 6.1.0"
      "\n\nDatabase: /dati/rete.mdb (SQLite 3.40.1)\n\nSfondo cartografico: /dati/sfondo.sfx");
  const std::string none = InformationText("Linux 6.1.0", "", false, "SQLite 3.40.1", "");
  EXPECT_NE(none.find("\n\nDatabase: Nessuno\n\nSfondo cartografico: Nessuno"), std::string::npos);
  EXPECT_EQ(none.find("SQLite"), std::string::npos);
}

TEST(ProgressLayoutTest, ClockShowsMinutesModuloSixtyAndSeconds) {
  const std::pair<long long, const char*> cases[] = {
      {0, "00:00"}, {75, "01:15"}, {59 * 60 + 59, "59:59"}, {61 * 60, "01:00"}, {100LL * 3600 + 5, "00:05"},
      {-3, "00:00"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(BusyClockText(seconds), text) << seconds;
}

TEST(ProgressLayoutTest, BannerSitsAboveTheBarAndCentresOrStartsAtTheLeft) {
  EXPECT_EQ(ProgressBarRect(800, 600), (PixelRect{0, 580, 800, 20}));
  const PhaseBannerPlace centred = PhaseBannerLayout(800, 600, 200, 16);
  EXPECT_EQ(centred.band, (PixelRect{0, 553, 800, 26}));  // bottom at 600 - 21
  EXPECT_EQ(centred.text_x, 300);
  EXPECT_EQ(centred.text_y, 558);
  EXPECT_EQ(PhaseBannerLayout(801, 600, 200, 16).text_x, 300);
  EXPECT_EQ(PhaseBannerLayout(800, 600, 800, 16).text_x, 0);
  EXPECT_EQ(PhaseBannerLayout(300, 600, 301, 16).text_x, 0);  // wider than the client
}

TEST(ProgressLayoutTest, PixelSizeFromTheScreenResolution) {
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(254), 10.0);
  EXPECT_DOUBLE_EQ(HundredthsOfMillimetrePerPixel(0), 2540.0 / 96);  // no resolution reported
}

}  // namespace
}  // namespace viamappa
