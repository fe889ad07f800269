#include "gui/MainFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <fstream>
#include <sstream>

#include "app/CommandIds.h"
#include "app/DatabaseCreation.h"
#include "app/ShellModel.h"
#include "app/ShellTexts.h"
#include "db/Engine.h"
#include "gui/StatusBar.h"
#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using testing::TempDir;

std::string Utf8(const QString& text) {
  return text.toStdString();
}

// The menus as built, written like the model: "id text", "-", "> text" ... "<".
void FlattenMenu(const QList<QAction*>& actions, std::vector<std::string>& out) {
  for (const QAction* action : actions) {
    if (action->isSeparator()) {
      out.push_back("-");
    } else if (action->menu()) {
      out.push_back("> " + Utf8(action->text()));
      FlattenMenu(action->menu()->actions(), out);
      out.push_back("<");
    } else {
      out.push_back(std::to_string(action->data().toInt()) + " " + Utf8(action->text()));
    }
  }
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

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

  bool Enabled(int id) {
    frame_->UpdateCommands();
    return frame_->Action(id)->isEnabled();
  }

  TempDir dir_;
  std::string config_;
  ScriptedUserInterface ui_;
  std::unique_ptr<MainFrame> frame_;
};

TEST_F(MainFrameTest, MenuBarHoldsEveryEntryIdSeparatorAndImage) {
  std::vector<std::string> built;
  FlattenMenu(frame_->menuBar()->actions(), built);
  const std::vector<std::string> expected = {"> &Database",
                                             "5103 &Crea",
                                             "5104 &Connetti",
                                             "5105 &Sconnetti",
                                             "-",
                                             "5106 &Ripara",
                                             "5107 &Duplica",
                                             "<",
                                             "> &Import/Export",
                                             "> &Import",
                                             "5108 Import &Comuni",
                                             "5109 Import &Località",
                                             "5120 Import &Toponimi",
                                             "5112 Import &Grafo Stradale",
                                             "-",
                                             "5125 Import Grafo &Secondario",
                                             "<",
                                             "> &Export",
                                             "5117 Export &Grafo Stradale",
                                             "5118 Export &Comunicazione Grafo",
                                             "-",
                                             "5128 Export Grafo (&Tramex)",
                                             "<",
                                             "<",
                                             "> &Operazioni",
                                             "40005 &Vestizione Tematismi\t(Ctl+V)",
                                             "-",
                                             "40001 &Sposta punto di vista\tCtl+S",
                                             "40002 &Zoom scala\tCtl+Z",
                                             "40004 S&elezione area\tCtl+A",
                                             "40003 &Ripristina punto di vista\tHome",
                                             "-",
                                             "40006 Ricerca &Toponimo\tCtl+T",
                                             "40011 &Evidenziazione Strade\tCtl+E",
                                             "-",
                                             "40009 &Disegno Nuovo Arco Stradale\tShift+D",
                                             "40007 &Spostamento\tShift+S",
                                             "40008 A&ggiustamento tratto\tShift+M",
                                             "40010 &Eliminazione Vertice da Arco\tShift+K",
                                             "-",
                                             "40012 Punto &Partenza Percorso\tShift+P",
                                             "40013 Punto &Arrivo Percorso\tShift+A",
                                             "<",
                                             "> &Utilità",
                                             "5113 Localizzazione &Grafo Stradale",
                                             "5121 Localizzazione &Toponimi",
                                             "-",
                                             "5116 &Rinomina Archi del Grafo Stradale",
                                             "5119 &Elenco Stradario",
                                             "-",
                                             "5127 Rigenera &Nodi",
                                             "5126 Riduzione &Archi spezzati",
                                             "<",
                                             "> &Configurazione",
                                             "5110 &Sfondo Cartografico",
                                             "<",
                                             "5101 &Fine",
                                             "5102 &?"};
  EXPECT_EQ(built, expected);

  const QList<QAction*> top = frame_->menuBar()->actions();
  EXPECT_EQ(top[5]->menu(), nullptr);  // "&Fine" is a command on the bar itself

  // Every "&Operazioni" entry has its image and shows its key after a tab; the others have none.
  for (QAction* action : top[2]->menu()->actions()) {
    if (action->isSeparator()) continue;
    EXPECT_FALSE(action->icon().isNull()) << Utf8(action->text());
    EXPECT_TRUE(action->text().contains(QLatin1Char('\t'))) << Utf8(action->text());
  }
  EXPECT_TRUE(top[0]->menu()->actions()[0]->icon().isNull());
}

TEST_F(MainFrameTest, ToolBarButtonsInOrderWithTooltipsAndSharpIcons) {
  const QList<QAction*> actions = frame_->CommandToolBar()->actions();
  std::vector<int> ids;
  for (const QAction* action : actions) ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
  EXPECT_EQ(ids, ToolBarLayout());
  EXPECT_EQ(frame_->CommandToolBar()->iconSize(), QSize(16, 15));
  EXPECT_EQ(frame_->Action(cmd::kHomeView)->toolTip(), QStringLiteral("Centra Cartografia (HOME)"));
  EXPECT_EQ(frame_->Action(cmd::kPathStart)->toolTip(), QStringLiteral("Punto Partenza Percorso (Shift+P)"));

  // The images are drawn for the pixel ratio asked: at 2x the pixmap has twice the pixels.
  const QIcon icon = frame_->Action(cmd::kZoom)->icon();
  const QPixmap normal = icon.pixmap(QSize(16, 15), 1.0);
  const QPixmap sharp = icon.pixmap(QSize(16, 15), 2.0);
  EXPECT_EQ(normal.size(), QSize(16, 15));
  EXPECT_EQ(sharp.size(), QSize(32, 30));
  const QImage drawn = sharp.toImage();
  int inked = 0;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) inked += qAlpha(drawn.pixel(x, y)) > 0;
  }
  EXPECT_GT(inked, 60);
}

TEST_F(MainFrameTest, WithoutDatabaseOnlyDatabaseBackgroundExitAndAboutAreEnabled) {
  ui_.QueueAnswer(false);  // do not create a database
  ASSERT_TRUE(frame_->Start());
  EXPECT_EQ(frame_->windowTitle(),
            QStringLiteral("Viamappa - \"Gestione Grafo Stradale\" Database non associato"));
  for (const int id : {5101, 5102, 5103, 5104, 5105, 5106, 5107, 5110}) EXPECT_TRUE(Enabled(id)) << id;
  for (const int id : {5108, 5109, 5120, 5112, 5125, 5117, 5118, 5128, 5113, 5121, 5116, 5119, 5127, 5126}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  for (int id = 40001; id <= 40013; ++id) EXPECT_FALSE(Enabled(id)) << id;
  // A disabled command does nothing, also from its key.
  ui_.ClearMessages();
  frame_->ExecuteCommand(cmd::kImportRoadGraph);
  EXPECT_TRUE(ui_.messages().empty());
}

TEST_F(MainFrameTest, ConnectingAnEmptyDatabaseEnablesImportsExportsAndUtilities) {
  const std::string database = MakeDatabase("rete.mdb");
  ui_.QueueAnswer(false);
  ASSERT_TRUE(frame_->Start());
  ui_.QueueFile(database);
  frame_->ExecuteCommand(cmd::kConnectDatabase);
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Viamappa - \"Gestione Grafo Stradale\""));
  for (const int id : {5108, 5109, 5120, 5112, 5125, 5117, 5118, 5128, 5113, 5121, 5116, 5119, 5127, 5126}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  // Commands whose functions come later say so.
  ui_.ClearMessages();
  frame_->ExecuteCommand(cmd::kExportStreetList);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.last_message().text, NotAvailableMessage());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);

  // Disconnecting takes the commands away again.
  ui_.QueueAnswer(true);
  frame_->ExecuteCommand(cmd::kDisconnectDatabase);
  EXPECT_FALSE(Enabled(cmd::kImportRoadGraph));
  EXPECT_TRUE(frame_->windowTitle().endsWith(QStringLiteral(" Database non associato")));
}

TEST_F(MainFrameTest, InformationBoxNamesSystemDatabaseEngineAndBackground) {
  ui_.QueueAnswer(false);
  ASSERT_TRUE(frame_->Start());
  frame_->ExecuteCommand(cmd::kAbout);
  EXPECT_EQ(ui_.last_message().text, InformationText(OperatingSystemLine(), "", false, "", ""));
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);
  EXPECT_NE(ui_.last_message().text.find("Database: Nessuno"), std::string::npos);

  const std::string database = MakeDatabase("rete.mdb");
  ui_.QueueFile(database);
  frame_->ExecuteCommand(cmd::kConnectDatabase);
  frame_->ExecuteCommand(cmd::kAbout);
  EXPECT_NE(ui_.last_message().text.find("Database: " + database + " (" + EngineVersion() + ")"),
            std::string::npos);
}

TEST_F(MainFrameTest, StartUpCreatesTheDefaultDatabaseWhenAskedAndConnectsIt) {
  ui_.QueueAnswer(true);
  ASSERT_TRUE(frame_->Start());
  EXPECT_EQ(frame_->state().database_path, dir_.File("Viamappa.MDB"));
  EXPECT_TRUE(frame_->state().connected());
  EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Viamappa - \"Gestione Grafo Stradale\""));
}

TEST_F(MainFrameTest, StartUpEndsWithTheStopMessageWhenTheDefaultDatabaseCannotBeCreated) {
  // The installation folder is a file and the data folder cannot be made: nowhere to create it.
  const std::string blocked = dir_.File("blocked");
  std::ofstream(blocked) << "x";
  std::ofstream(config_, std::ios::trunc)
      << "Windows Registry Editor Version 5.00\n\n[" << SettingsStore::kKey << "]\n\"Directory\"=\""
      << blocked << "\"\n";
  const char* saved_home = std::getenv("XDG_DATA_HOME");
  const std::string previous = saved_home ? saved_home : "";
  setenv("XDG_DATA_HOME", (blocked + "/sub").c_str(), 1);
  ui_.QueueAnswer(true);
  const bool started = frame_->Start();
  if (saved_home) {
    setenv("XDG_DATA_HOME", previous.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
  EXPECT_FALSE(started);
  EXPECT_EQ(ui_.last_message().text, NoDatabaseAtStartupMessage());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
}

TEST_F(MainFrameTest, ExitAsksAndCancelKeepsTheWindowAndTheDatabase) {
  const std::string database = MakeDatabase("rete.mdb");
  ui_.QueueAnswer(false);
  ASSERT_TRUE(frame_->Start());
  ui_.QueueFile(database);
  frame_->ExecuteCommand(cmd::kConnectDatabase);
  frame_->show();

  ui_.ClearMessages();
  ui_.QueueAnswer(false);
  frame_->ExecuteCommand(cmd::kExit);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.last_message().text, ExitQuestion());
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Question);
  EXPECT_TRUE(frame_->isVisible());
  EXPECT_TRUE(frame_->state().connected());
  EXPECT_EQ(ReadFile(config_).find("rete.mdb"), std::string::npos);  // nothing saved

  // The window's close button asks the same question.
  ui_.QueueAnswer(false);
  EXPECT_FALSE(frame_->close());
  EXPECT_EQ(ui_.messages().size(), 2u);
  EXPECT_EQ(ui_.last_message().text, ExitQuestion());
}

TEST_F(MainFrameTest, ExitWithOkSavesTheSettingsAndClosesTheDatabase) {
  const std::string database = MakeDatabase("rete.mdb");
  ui_.QueueAnswer(false);
  ASSERT_TRUE(frame_->Start());
  ui_.QueueFile(database);
  frame_->ExecuteCommand(cmd::kConnectDatabase);
  frame_->show();

  ui_.QueueAnswer(true);
  frame_->ExecuteCommand(cmd::kExit);
  EXPECT_FALSE(frame_->isVisible());
  EXPECT_FALSE(frame_->state().connected());
  const std::string saved = ReadFile(config_);
  EXPECT_NE(saved.find("\"Database\"=\"" + database + "\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"MappaScala\"=hex(0):"), std::string::npos) << saved;
  // Closed once, the window does not ask again.
  const std::size_t asked = ui_.messages().size();
  frame_->close();
  EXPECT_EQ(ui_.messages().size(), asked);
}

// Asks the window to close while a command shows its message, as a close request from the window
// system does while long work lets window events through.
class ClosingUserInterface : public ScriptedUserInterface {
 public:
  void ShowMessage(std::string_view text, MessageIcon icon, std::string_view caption = {}) override {
    ScriptedUserInterface::ShowMessage(text, icon, caption);
    if (frame) closed = frame->close();
  }
  QWidget* frame = nullptr;
  bool closed = true;
};

TEST(MainFrameCloseTest, ACloseRequestDuringACommandIsRefusedWithoutAsking) {
  TempDir dir;
  SettingsStore::Install(dir.File("1.00.reg"), dir.path());
  ClosingUserInterface ui;
  MainFrame frame(ui, SettingsStore(dir.File("1.00.reg")));
  frame.show();
  ui.frame = &frame;
  ui.QueueAnswer(true);  // an exit question would be answered OK
  frame.ExecuteCommand(cmd::kAbout);
  EXPECT_FALSE(ui.closed);
  EXPECT_TRUE(frame.isVisible());
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Information);
}

TEST_F(MainFrameTest, StatusBarHasFourPanesWithFixedEdges) {
  frame_->show();
  StatusBar* bar = frame_->Panes();
  EXPECT_EQ(bar->PaneRect(0).left(), 0);
  EXPECT_EQ(bar->PaneRect(0).right() + 1, 180);
  EXPECT_EQ(bar->PaneRect(1).right() + 1, 280);
  EXPECT_EQ(bar->PaneRect(2).right() + 1, 490);
  EXPECT_EQ(bar->PaneRect(3).right() + 1, bar->width());
  EXPECT_GE(bar->height(), 18);
  bar->SetPaneText(2, QStringLiteral("Scala 1:5000"));
  bar->SetPaneText(4, QStringLiteral("ignored"));
  bar->SetPaneText(-1, QStringLiteral("ignored"));
  EXPECT_EQ(bar->PaneText(2), QStringLiteral("Scala 1:5000"));
  EXPECT_TRUE(bar->PaneText(4).isEmpty());
  EXPECT_TRUE(bar->PaneRect(4).isEmpty());
}

}  // namespace
}  // namespace viamappa
