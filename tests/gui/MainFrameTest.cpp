#include "gui/MainFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <fstream>

#include "app/DatabaseCreation.h"
#include "app/ShellModel.h"
#include "app/ShellTexts.h"
#include "core/io/ShapefileTestBytes.h"
#include "db/Engine.h"
#include "gui/MapView.h"
#include "gui/StatusBar.h"
#include "map/CommandIds.h"
#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using testing::TempDir;

// The menus as built hold the model's entries, ids and texts, with an image where the model asks for one.
void ExpectMenusFollow(const QList<QAction*>& actions, const std::vector<MenuItem>& items) {
  ASSERT_EQ(static_cast<std::size_t>(actions.size()), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const QAction* action = actions[static_cast<int>(i)];
    const MenuItem& item = items[i];
    EXPECT_EQ(action->isSeparator(), item.kind == MenuItem::Kind::Separator) << item.text;
    if (item.kind == MenuItem::Kind::Separator) continue;
    EXPECT_EQ(action->text().toStdString(), item.text);
    ASSERT_EQ(action->menu() != nullptr, item.kind == MenuItem::Kind::Popup) << item.text;
    if (action->menu()) ExpectMenusFollow(action->menu()->actions(), item.items);
    if (item.kind != MenuItem::Kind::Command) continue;
    EXPECT_EQ(action->data().toInt(), item.id) << item.text;
    EXPECT_EQ(action->icon().isNull(), !item.with_image) << item.text;
  }
}

// Once given the window, tries what the window must refuse while a command runs: a close request at each
// message (as the window system may send while long work lets window events through), and at a file
// choice (on the window's thread, while the command's worker waits for the answer) another command.
class WatchingUserInterface : public ScriptedUserInterface {
 public:
  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override {
    ScriptedUserInterface::ShowMessage(text, icon, caption);
    if (frame) seen.closed = frame->close() || seen.closed;
  }
  std::optional<std::string> ChooseOpenFile(const FileChoice& choice) override {
    if (frame) {
      seen.running = frame->command_running();
      seen.map_held = frame->map_view() && frame->map_view()->redraws_held();
      const std::size_t shown = messages().size();
      frame->ExecuteCommand(cmd::kAbout);
      seen.other_command = messages().size() != shown;
      seen.closed = frame->close() || seen.closed;
    }
    return ScriptedUserInterface::ChooseOpenFile(choice);
  }

  MainFrame* frame = nullptr;
  struct {
    bool running = false;
    bool map_held = false;
    bool other_command = true;
    bool closed = false;
  } seen;
};

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() : config_(dir_.File("config/1.00.reg")) {
    SettingsStore::Install(config_, dir_.path());
    frame_ = std::make_unique<MainFrame>(ui_, SettingsStore(config_));
    frame_->resize(900, 600);
  }

  // A complete, empty road-network database.
  std::string MakeDatabase(const std::string& name) {
    ScriptedUserInterface quiet;
    const std::string path = dir_.File(name);
    EXPECT_EQ(CreateDatabaseFile(path, quiet), CreationResult::Created);
    return path;
  }

  // Started without a database, then connected to a new one.
  std::string StartConnected() {
    const std::string database = MakeDatabase("rete.mdb");
    ui_.QueueAnswer(false);
    EXPECT_TRUE(frame_->Start());
    ui_.QueueFile(database);
    frame_->ExecuteCommand(cmd::kConnectDatabase);
    return database;
  }

  // Every command's action is enabled exactly when the command table allows it now.
  void ExpectActionsFollowTheTable() {
    frame_->UpdateCommands();
    for (int id = 5101; id <= 40013; id = id == cmd::kValidateGraph ? 40001 : id + 1) {
      if (QAction* action = frame_->Action(id)) {
        EXPECT_EQ(action->isEnabled(), frame_->Status(id).enabled) << id;
      }
    }
  }

  TempDir dir_;
  std::string config_;
  WatchingUserInterface ui_;
  std::unique_ptr<MainFrame> frame_;
};

TEST_F(MainFrameTest, MenusAndToolBarFollowTheModelWithSharpIcons) {
  ExpectMenusFollow(frame_->menuBar()->actions(), MenuBarModel());
  std::vector<int> ids;
  for (const QAction* action : frame_->CommandToolBar()->actions())
    ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
  EXPECT_EQ(ids, ToolBarLayout());

  // The images are drawn for the pixel ratio asked: at 2x the pixmap has twice the pixels.
  const QImage sharp = frame_->Action(cmd::kZoom)->icon().pixmap(QSize(16, 15), 2.0).toImage();
  EXPECT_EQ(sharp.size(), QSize(32, 30));
  int inked = 0;
  for (int y = 0; y < sharp.height(); ++y) {
    for (int x = 0; x < sharp.width(); ++x) inked += qAlpha(sharp.pixel(x, y)) > 0;
  }
  EXPECT_GT(inked, 60);
}

TEST_F(MainFrameTest, CommandsAreEnabledAsTheDatabaseAllows) {
  ui_.QueueAnswer(false);  // do not create a database
  ASSERT_TRUE(frame_->Start());
  EXPECT_EQ(frame_->windowTitle(),
            QStringLiteral("Viamappa - \"Gestione Grafo Stradale\" Database non associato"));
  ExpectActionsFollowTheTable();
  EXPECT_FALSE(frame_->Action(cmd::kImportRoadGraph)->isEnabled());
  // A disabled command does nothing, also from its key.
  ui_.ClearMessages();
  frame_->ExecuteCommand(cmd::kImportRoadGraph);
  EXPECT_TRUE(ui_.messages().empty());

  ui_.QueueFile(MakeDatabase("rete.mdb"));
  frame_->ExecuteCommand(cmd::kConnectDatabase);
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Viamappa - \"Gestione Grafo Stradale\""));
  ExpectActionsFollowTheTable();
  // The exports run their own commands.
  frame_->ExecuteCommand(cmd::kExportChanges);
  EXPECT_TRUE(ui_.last_message().text.starts_with("ATTENZIONE: Non è stata riscontrata nessuna variazione"));
  frame_->ExecuteCommand(cmd::kExportStreetList);
  EXPECT_EQ(ui_.dialogs_shown(), 1);

  // Disconnecting takes the commands away again.
  ui_.QueueAnswer(true);
  frame_->ExecuteCommand(cmd::kDisconnectDatabase);
  ExpectActionsFollowTheTable();
}

TEST_F(MainFrameTest, InformationBoxNamesTheDatabaseAndItsEngine) {
  const std::string database = StartConnected();
  frame_->ExecuteCommand(cmd::kAbout);
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);
  EXPECT_NE(ui_.last_message().text.find("Database: " + database + " (" + EngineVersion() + ")"),
            std::string::npos);
}

TEST_F(MainFrameTest, StartUpEndsWithTheStopMessageWhenTheDefaultDatabaseCannotBeCreated) {
  // The installation folder is a file and the data folder cannot be made: nowhere to create it.
  const std::string blocked = dir_.File("blocked");
  std::ofstream(blocked) << "x";
  std::ofstream(config_, std::ios::trunc)
      << "Windows Registry Editor Version 5.00\n\n[" << SettingsStore::kKey << "]\n\"Directory\"=\""
      << blocked << "\"\n";
  testing::ScopedEnvironment data_home("XDG_DATA_HOME", blocked + "/sub");
  ui_.QueueAnswer(true);
  EXPECT_FALSE(frame_->Start());
  EXPECT_EQ(ui_.last_message().text, NoDatabaseAtStartupMessage());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
}

TEST_F(MainFrameTest, ExitAsksCancelKeepsEverythingAndOkSavesAndCloses) {
  const std::string database = StartConnected();
  frame_->show();
  ui_.ClearMessages();
  ui_.QueueAnswer(false);
  frame_->ExecuteCommand(cmd::kExit);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.last_message().text, ExitQuestion());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Question);
  EXPECT_TRUE(frame_->isVisible());
  EXPECT_TRUE(frame_->state().connected());
  EXPECT_EQ(testing::ReadText(config_).find("rete.mdb"), std::string::npos);  // nothing saved

  ui_.QueueAnswer(true);
  frame_->ExecuteCommand(cmd::kExit);
  EXPECT_FALSE(frame_->isVisible());
  EXPECT_FALSE(frame_->state().connected());
  const std::string saved = testing::ReadText(config_);
  EXPECT_NE(saved.find("\"Database\"=\"" + database + "\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"MappaScala\"=hex(0):"), std::string::npos) << saved;
  // Closed once, the window does not ask again.
  frame_->close();
  EXPECT_EQ(ui_.messages().size(), 2u);
}

TEST_F(MainFrameTest, ACloseRequestDuringACommandIsRefusedWithoutAsking) {
  frame_->show();
  ui_.frame = frame_.get();
  ui_.QueueAnswer(true);  // an exit question would be answered OK
  frame_->ExecuteCommand(cmd::kAbout);
  ui_.frame = nullptr;
  EXPECT_FALSE(ui_.seen.closed);
  EXPECT_TRUE(frame_->isVisible());
  ASSERT_EQ(ui_.messages().size(), 1u) << "no exit question";
}

// A road graph of two arcs in the shapefile base.shp.
void WriteRoadGraph(const std::string& base) {
  using namespace viamappa::test;
  const std::vector<DbfSpec> fields = {{"DENOM", 'C', 60},   {"ALT", 'C', 60},    {"COD_ELE", 'C', 20},
                                       {"COD_REG", 'C', 20}, {"CLASSE", 'C', 10}, {"PIAZZA", 'C', 1}};
  const std::string row = " " + Padded("VIA ROMA", 60) + Padded("", 60) + Padded("E1", 20) +
                          Padded("R1", 20) + Padded("SC", 10) + "N";
  WriteSet(base, 3,
           {ShapeContent(3, {0}, {{650000, 5100000}, {651000, 5100500}}),
            ShapeContent(3, {0}, {{651000, 5100500}, {652000, 5100000}})},
           fields, {row, row});
}

// An import runs on the worker while the window holds still and turns commands away; the map data are
// rebuilt under the same window, and the check then lists its findings beside the map and shows each.
TEST_F(MainFrameTest, AnImportRunsOnTheWorkerWhileTheWindowHoldsStill) {
  ui_.QueueAnswer(true);  // create the default database
  ASSERT_TRUE(frame_->Start());
  EXPECT_TRUE(frame_->state().connected());
  EXPECT_EQ(frame_->state().database_path, dir_.File("Viamappa.MDB"));
  frame_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
  QApplication::processEvents();
  MapView* view = frame_->map_view();
  ASSERT_NE(view, nullptr);
  const int redraws = view->full_redraw_count();

  WriteRoadGraph(dir_.File("grafo"));
  ui_.frame = frame_.get();
  ui_.QueueFile(dir_.File("grafo.shp"));
  ui_.ClearMessages();
  frame_->ExecuteCommand(cmd::kImportRoadGraph);
  ui_.frame = nullptr;
  EXPECT_TRUE(ui_.seen.running);
  EXPECT_TRUE(ui_.seen.map_held) << "the street names read the database";
  EXPECT_FALSE(ui_.seen.other_command);
  EXPECT_FALSE(ui_.seen.closed);
  ASSERT_NE(frame_->map_data(), nullptr);
  EXPECT_EQ(frame_->map_data()->FindLayer("archi")->line_count(), 2u);
  EXPECT_EQ(frame_->map_view(), view);
  EXPECT_FALSE(view->redraws_held());
  EXPECT_TRUE(frame_->Status(cmd::kDragMode).enabled) << "the commands follow at once";
  QApplication::processEvents();
  EXPECT_GT(view->full_redraw_count(), redraws);
  EXPECT_FALSE(ui_.busy());

  frame_->ExecuteCommand(cmd::kValidateGraph);
  auto* window = frame_->findChild<ValidationWindow*>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  window->next()->click();
  const Box shown = view->viewport().Visible();
  EXPECT_TRUE(shown.Contains(650500, 5100250));
  EXPECT_LT(shown.maxx - shown.minx, 5000);
}

TEST_F(MainFrameTest, TheStatusBarChangesOnlyThePanesGivenAText) {
  frame_->show();
  StatusBar* bar = frame_->Panes();
  StatusTexts texts;
  texts.Set(StatusPane::Scale, "Scala 1:5000");
  bar->SetPaneText(StatusPane::Note, QStringLiteral("kept"));
  bar->Show(texts);
  EXPECT_EQ(bar->PaneText(StatusPane::Scale), QStringLiteral("Scala 1:5000"));
  EXPECT_EQ(bar->PaneText(StatusPane::Note), QStringLiteral("kept"));
}

}  // namespace
}  // namespace viamappa
