// The export commands: their file choices, refusals and final messages.
#include "app/ExportCommands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/StreetListDialogModel.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

class ExportCommandsTest : public testing::RoadNetworkTest {
 protected:
  void SetUp() override {
    RoadNetworkTest::SetUp();
    testing::NetworkBuilder b(db());
    ASSERT_TRUE(b.AddNode(1, 0, 0) && b.AddNode(2, 1, 1));
    ASSERT_TRUE(b.AddArc(testing::Arc(1, 1, 2, {{0, 0}, {1, 1}}, "VIA ROMA")));
  }

  ExportCommands commands_{state_, ui_};
};

TEST_F(ExportCommandsTest, ShapefileExportsAskForTheirFileAndCountTheArcs) {
  for (bool (ExportCommands::*command)() :
       {&ExportCommands::ExportRoadGraph, &ExportCommands::ExportTramex}) {
    ui_.QueueFile(dir_.File("grafo.shp"));
    ASSERT_TRUE((commands_.*command)());
    EXPECT_TRUE(ui_.file_choices().back().confirm_overwrite);
    EXPECT_EQ(ui_.last_message().text, "Sono stati esportati 1 Archi Stradali");
  }
  // Cancelled: nothing written, nothing said.
  ui_.ClearMessages();
  EXPECT_FALSE(commands_.ExportRoadGraph());
  EXPECT_TRUE(ui_.messages().empty());
}

TEST_F(ExportCommandsTest, TheChangeCommunicationIsRefusedWithoutChanges) {
  const std::size_t choices = ui_.file_choices().size();
  EXPECT_FALSE(commands_.ExportChanges());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_EQ(ui_.file_choices().size(), choices) << "no file is asked for";
  std::string error;
  ASSERT_TRUE(db().engine()->Execute("UPDATE archi SET modnome = 1", error)) << error;
  ui_.QueueFile(dir_.File("grafo.shp"));
  EXPECT_TRUE(commands_.ExportChanges());
}

TEST_F(ExportCommandsTest, TheStreetListGoesThroughItsDialog) {
  EXPECT_FALSE(commands_.ExportStreetList()) << "the dialog cancelled";
  EXPECT_EQ(ui_.dialogs_shown(), 1);
  EXPECT_TRUE(ui_.file_choices().empty());
  ui_.QueueStreetListAnswer([](StreetListDialogModel& dialog) { return !dialog.Accept(); });
  ui_.QueueFile(dir_.File("elenco.txt"));
  ASSERT_TRUE(commands_.ExportStreetList());
  EXPECT_EQ(ui_.last_message().text, "Inserite 1 righe in ELENCO_STRADE");
  EXPECT_TRUE(std::filesystem::exists(dir_.File("elenco.txt")));
}

}  // namespace
}  // namespace viamappa
