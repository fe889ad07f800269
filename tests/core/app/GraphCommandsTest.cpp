// The commands on the road graph: their file choices, refusals, final messages and what they ask of the
// window.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/ConflationCommand.h"
#include "app/ExportCommands.h"
#include "app/StreetListDialogModel.h"
#include "app/TopologyCommands.h"
#include "core/edit/TopologyFixture.h"
#include "core/io/SecondaryGraphFiles.h"
#include "edit/BulkRenameDialog.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

class RecordingShell : public WindowlessShell {
 public:
  void RebuildMap() override { calls += "rebuild "; }
  void Redraw() override { calls += "redraw "; }
  void RoutingGraphStale() override { calls += "stale "; }
  std::string calls;
};

using testing::Arc;

class TopologyCommandsTest : public testing::TopologyTest {
 protected:
  RecordingShell shell_;
  TopologyCommands commands_{state_, ui_, shell_};
};

// Both commands end with their summary, then the routing graph is out of date and the map is built anew;
// a run that stored nothing leaves the map alone.
TEST_F(TopologyCommandsTest, TheGraphCommandsTellTheirCountsAndRebuildTheMap) {
  Build({{1, 0, 0}, {2, 10, 0}, {3, 20, 0}, {4, 20, 0}},
        {Arc(1, 1, 2, {{0, 0}, {10, 0}}, "VIA ROMA"), Arc(2, 2, 3, {{10, 0}, {20, 0}}, "VIA ROMA")});
  ASSERT_EQ(commands_.RegenerateNodes(), (NodeRegenerationCounts{0, 0, 0, 1}));
  EXPECT_EQ(ui_.last_message().text,
            "Risultati della sistemazione dei Nodi e degli Archi:\n\nEliminati 0 Archi (lunghezza=0)\n"
            "Inseriti 0 nuovi Nodi\nModificati 0 Nodi Inizio/Fine Archi\nEliminati 1 Nodi ridondanti\n");
  EXPECT_EQ(shell_.calls, "stale rebuild redraw ");
  EXPECT_EQ(ui_.clock_starts(), 1);
  EXPECT_FALSE(ui_.busy());
  ASSERT_EQ(commands_.MergeBrokenArcs(), (ArcMergeCounts{1, 1, 1}));
  EXPECT_EQ(ui_.last_message().text,
            "Risultati della Unificazione degli Archi:\n\nModificati 1 Archi\nEliminati 1 Archi superflui\n"
            "Eliminati 1 Nodi ridondanti\n");
  EXPECT_EQ(shell_.calls, "stale rebuild redraw stale rebuild redraw ");

  std::string error;
  ASSERT_TRUE(db().engine()->Execute(
      "CREATE TRIGGER tieni BEFORE DELETE ON nodi BEGIN SELECT RAISE(ABORT, 'nodo bloccato'); END", error));
  ASSERT_TRUE(db().engine()->Execute("INSERT INTO nodi VALUES (9, 50, 50)", error)) << error;
  EXPECT_FALSE(commands_.RegenerateNodes());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_EQ(shell_.calls, "stale rebuild redraw stale rebuild redraw ");
}

TEST_F(TopologyCommandsTest, RenamingAdvisesLocalizingThenOpensTheDialog) {
  Build({{1, 0, 0}, {2, 10, 0}}, {Arc(1, 1, 2, {{0, 0}, {10, 0}}, "VIA ROMA")});
  ui_.QueueBulkRename([](BulkRenameDialog& dialog) {
    EXPECT_EQ(dialog.localities().size(), 1u);
    EXPECT_FALSE(dialog.alternative());
  });
  commands_.RenameArcs();
  EXPECT_EQ(ui_.bulk_rename_dialogs(), 1);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_TRUE(
      ui_.messages()[0].text.starts_with("La localizzazione del Grafo Stradale non risulta effettuata"));
  EXPECT_EQ(shell_.calls, "redraw ");
}

TEST_F(TopologyCommandsTest, NothingWithoutADatabase) {
  state_.connection.reset();
  EXPECT_FALSE(commands_.RegenerateNodes());
  EXPECT_FALSE(commands_.MergeBrokenArcs());
  EXPECT_FALSE(commands_.ValidateGraph());
  commands_.RenameArcs();
  EXPECT_EQ(ui_.bulk_rename_dialogs(), 0);
  EXPECT_TRUE(ui_.messages().empty());
  EXPECT_EQ(shell_.calls, "");
}

class ConflationCommandTest : public test::ConflationTest {
 protected:
  RecordingShell shell_;
  ConflationCommand command_{state_, ui_, shell_};
};

// Nothing without a primary graph; then the file, then the snap factor; the map is rebuilt whether the
// conflation ran or not, unless the file choice was cancelled.
TEST_F(ConflationCommandTest, AsksTheFileAndTheFactorAndRebuildsTheMap) {
  EXPECT_FALSE(command_.ImportSecondaryGraph());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_TRUE(ui_.file_choices().empty());
  EXPECT_EQ(shell_.calls, "");
  BuildPrimary({{0, 0, 0}, {1, 100, 0}}, {{{0, 0}, {100, 0}}});
  const std::string base = test::WriteSecondaryGraph(dir_.File("secondario"), {{{{0, 3}, {100, 3}}}});
  // The factor is typed only where the dialog shows.
  const struct {
    std::optional<std::string> file;
    std::optional<std::string> factor;
    bool stored;
    const char* calls;
    std::string message;
  } cases[] = {
      {std::nullopt, "", false, "", ""},
      {base + ".dbf", "", false, "rebuild redraw ", ""},
      {base + ".SHP", std::nullopt, false, "rebuild redraw ", ""},
      {base + ".shp", "2,5", true, "rebuild redraw ", "Inseriti 1 Archi derivati da Archi Secondari"},
      {base + ".shp", "3,0", true, "rebuild redraw ", "Inseriti 0 Archi derivati da Archi Secondari"},
  };
  for (const auto& c : cases) {
    ui_.ClearMessages();
    shell_.calls.clear();
    ui_.QueueFile(c.file);
    if (c.factor != "") ui_.QueueSnapFactor(c.factor);
    EXPECT_EQ(command_.ImportSecondaryGraph(), c.stored);
    EXPECT_EQ(shell_.calls, c.calls);
    if (c.message.empty()) {
      EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
    } else {
      EXPECT_NE(ui_.last_message().text.find(c.message), std::string::npos) << ui_.last_message().text;
    }
  }
  EXPECT_TRUE(ui_.file_choices().back().must_exist);
  EXPECT_EQ(ui_.snap_factor_dialogs().back(), "10,00") << "each run opens with the default";
}

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

TEST_F(ExportCommandsTest, ShapefileExportsAskBeforeOverwritingAndSayNothingWhenCancelled) {
  for (bool (ExportCommands::*command)() :
       {&ExportCommands::ExportRoadGraph, &ExportCommands::ExportTramex}) {
    ui_.QueueFile(dir_.File("grafo.shp"));
    ASSERT_TRUE((commands_.*command)());
    EXPECT_TRUE(ui_.file_choices().back().confirm_overwrite);
  }
  // Cancelled: nothing written, nothing said.
  ui_.ClearMessages();
  EXPECT_FALSE(commands_.ExportRoadGraph());
  EXPECT_TRUE(ui_.messages().empty());
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

// The street-list dialog without a window: its lists, the check-box rules and the validation of OK.
class StreetListDialogModelTest : public testing::RoadNetworkTest {
 protected:
  void SetUp() override {
    RoadNetworkTest::SetUp();
    {
      testing::NetworkBuilder b(db());
      const auto square = std::vector<std::vector<Point>>{testing::NetworkBuilder::Square(0, 0, 1)};
      ASSERT_TRUE(b.AddMunicipality(12, "Alfa", "022012", square));
      ASSERT_TRUE(b.AddMunicipality(1234, "Gamma", "022234", square));
      ASSERT_TRUE(b.AddMunicipality(12345, "Beta", "022345", square));
      ASSERT_TRUE(b.AddLocality(7, "Città", "022012", 10, square));
      ASSERT_TRUE(b.AddLocality(20000, "Abete", "022012", 10, square));
    }
    model_.Load(db());
  }

  StreetListDialogModel model_;
};

// Sorted by name, each identifier in at least four digits; checking one box takes the other away.
TEST_F(StreetListDialogModelTest, ListsAreByNameAndOneBoxExcludesTheOther) {
  const auto texts = [](const std::vector<StreetListDialogModel::Entry>& entries) {
    std::vector<std::string> out;
    for (const auto& entry : entries) out.push_back(entry.text);
    return out;
  };
  EXPECT_EQ(texts(model_.municipalities()),
            (std::vector<std::string>{"0012 - Alfa", "12345 - Beta", "1234 - Gamma"}));
  EXPECT_EQ(texts(model_.localities()), (std::vector<std::string>{"20000 - Abete", "0007 - Città"}));
  EXPECT_TRUE(model_.municipality_box_enabled() && model_.locality_box_enabled());
  model_.CheckMunicipality(true);
  EXPECT_TRUE(model_.municipality_list_enabled());
  EXPECT_FALSE(model_.locality_checked() || model_.locality_box_enabled() || model_.locality_list_enabled());
  model_.CheckMunicipality(false);
  EXPECT_FALSE(model_.municipality_list_enabled());
  EXPECT_TRUE(model_.municipality_box_enabled());
}

TEST_F(StreetListDialogModelTest, OkNeedsTheExactIdentifierOfAnEntry) {
  const std::string bad_municipality =
      "ATTENZIONE: Il Codice Comune non è valido.\n\nOccorre selezionare un Codice Comune presente nella "
      "lista.\n\n";
  const std::string bad_locality =
      "ATTENZIONE: Il Codice Località non è valido.\n\nOccorre selezionare un Codice Località presente nella "
      "lista.\n\n";
  struct Case {
    bool municipality;
    const char* text;
    std::int32_t id;  // -1: refused
    const char* name;
  };
  const Case cases[] = {
      {true, "0012 - Alfa", 12, "- Alfa"},
      {true, "12", 12, "- Alfa"},
      {true, "0012xyz", 12, "- Alfa"},
      {true, "1234", 1234, "- Gamma"},
      {true, "12345", 12345, "- Beta"},
      {true, "123456", -1, ""},
      {true, "99999999999999999999", -1, ""},
      {true, "", -1, ""},
      {true, " 12", -1, ""},
      {false, "20000 - Abete", 20000, "- Abete"},
      {false, "7", 7, "- Città"},
      {false, "2000", -1, ""},
  };
  for (const Case& c : cases) {
    StreetListDialogModel model;
    model.Load(db());
    if (c.municipality) {
      model.CheckMunicipality(true);
      model.SetMunicipalityText(c.text);
    } else {
      model.CheckLocality(true);
      model.SetLocalityText(c.text);
    }
    const std::optional<std::string> refusal = model.Accept();
    if (c.id < 0) {
      EXPECT_EQ(refusal, c.municipality ? bad_municipality : bad_locality) << c.text;
      continue;
    }
    ASSERT_EQ(refusal, std::nullopt) << c.text;
    const StreetListChoice& choice = model.choice();
    EXPECT_EQ(c.municipality ? choice.municipality : choice.locality, c.id) << c.text;
    EXPECT_EQ(c.municipality ? choice.municipality_name : choice.locality_name, c.name) << c.text;
    EXPECT_EQ(c.municipality ? choice.locality : choice.municipality, -1) << c.text;
    EXPECT_EQ(c.municipality ? choice.locality_name : choice.municipality_name, "") << c.text;
  }
  // Nothing checked: the whole list.
  ASSERT_EQ(model_.Accept(), std::nullopt);
  EXPECT_EQ(model_.choice(), StreetListChoice{});
}

}  // namespace
}  // namespace viamappa
