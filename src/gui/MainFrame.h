// The main window: menu bar, toolbar and status bar, the key bindings, the command table through which
// every command passes, and the long-lived state of the program (the database connection, the paths,
// the settings read at start-up, the map data and the map window).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "app/ApplicationState.h"
#include "app/CommandTable.h"
#include "app/ConflationCommand.h"
#include "app/DatabaseLifecycle.h"
#include "app/ExportCommands.h"
#include "app/ImportCommands.h"
#include "app/LocalizationCommands.h"
#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "app/ShellWindow.h"
#include "app/TopologyCommands.h"
#include "gui/CommandWorker.h"
#include "gui/PostedMessages.h"
#include "gui/StylingWindow.h"
#include "gui/ThreadHopInterface.h"
#include "gui/ThreadHopShell.h"
#include "gui/ValidationWindow.h"
#include "map/LayerSet.h"
#include "ui/UserInterface.h"

class QToolBar;

namespace viamappa {

class MapView;
class StatusBar;

class MainFrame : public QMainWindow, public MapDataShell {
  Q_OBJECT
 public:
  // ui shows every message and question of the window (on the window's thread; the commands that run on
  // a worker reach it through a ThreadHopInterface); store is the settings file.
  MainFrame(UserInterface& ui, SettingsStore store, QWidget* parent = nullptr);
  ~MainFrame() override;

  // Start-up after the window is shown: reads the settings, offers to create a database when none is
  // associated, connects the associated one, sets the title and builds the map (all but the settings
  // on a worker, as a long command runs). False when no database could be associated after the person
  // agreed to create one: the stop message was shown and the program must end.
  bool Start();

  // Runs a command of the menus, the toolbar or the keys; a disabled command does nothing, nor does any
  // command while a long one runs. The commands that use the database run on a worker
  // (CommandWorker) and return when they have ended.
  void ExecuteCommand(int id);

  // What the enable and check rules read now, and a command's state.
  CommandContext Context() const;
  CommandStatus Status(int id) const { return QueryCommand(id, Context()); }

  // Brings the menus and the toolbar up to date with the command table.
  void UpdateCommands();

  // The action of a command (shared by its menu entry and toolbar button), or null.
  QAction* Action(int id) const;
  StatusBar* Panes() const { return status_bar_; }
  QToolBar* CommandToolBar() const { return toolbar_; }
  // The client area between the toolbar and the status bar: the map window's place.
  QWidget* Client() const { return client_; }

  // Binds the keys of the map window's list on the map window: they act only while it has the focus.
  void InstallMapWindowKeys(QWidget* map_window);

  // Hundredths of a millimetre covered by one pixel of the screen the window is on.
  double HundredthsOfMillimetrePerPixel() const;

  const ApplicationState& state() const { return state_; }
  const Settings& settings() const { return settings_; }
  const MapModes& map_modes() const { return map_modes_; }
  // The map data of the open database (null without one or while they are built) and the map window
  // that shows them (null until the first paint after the map data are ready).
  LayerSet* map_data() const { return layers_.get(); }
  MapView* map_view() const { return map_view_; }
  // The styling window while it is open in the map's place, else null.
  StylingWindow* styling_window() const { return styling_; }

  // True while a long command runs on its worker.
  bool command_running() const { return worker_.running(); }

  // ShellWindow, on the window's thread (the commands' worker calls them through a ThreadHopShell).
  void UpdateTitle() override;
  void DropMap() override;
  void DiscardMap() override;
  void Redraw() override;
  // MapDataShell: RebuildMap builds the map data of the connected database anew.
  bool ReleaseMapData() override;
  std::unique_ptr<LayerSet> LoadMapData() override;
  void InstallMapData(std::unique_ptr<LayerSet> data) override;
  void RoutingGraphStale() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateActions();
  void BuildMenus();
  void BuildToolBar();
  void RunCommand(int id);
  void RunOwnCommand(int id);
  void RunOnWorker(const std::function<void()>& work);
  void ForgetEditsChangedBehind();
  void RunMapKey(int id);
  void ShowInformation();
  void NotAvailable();
  // The queries of the map window (MainFrameQueries.cpp): the toponym search, and the highlighting
  // criteria asked when highlighting is turned on (true when roads are highlighted).
  void SearchToponyms();
  bool ChooseHighlighting();
  void Shutdown();
  void CreateMapView();
  void DestroyMap();
  void ShowMapPanes();
  // The styling window takes the map's place; closing it applies its records and brings the map
  // back, drawn anew. Dropping it applies nothing.
  void OpenStyling();
  void CloseStyling();
  void DropStyling();
  // The check of the graph, then its findings beside the map (a window of its own, replaced by the
  // next check).
  void ValidateGraph();

  UserInterface& ui_;
  // What the commands and the connections they open hold: usable from the worker, and living as long
  // as the window (a connection keeps its interface for life).
  ThreadHopInterface command_ui_;
  ThreadHopShell command_shell_;
  CommandWorker worker_;
  // What the background file has to say while the map is painted waits for the paint to end.
  PostedMessages background_messages_{ui_};
  SettingsStore store_;
  ApplicationState state_;
  Settings settings_;
  DatabaseLifecycle lifecycle_;
  ImportCommands imports_;
  ConflationCommand conflation_;
  LocalizationCommands localization_;
  ExportCommands exports_;
  TopologyCommands topology_;
  std::map<int, QAction*> actions_;
  StatusBar* status_bar_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QWidget* client_ = nullptr;
  QTimer command_updates_;
  // The map window's mode flags; it reads them for its context menu.
  MapModes map_modes_;
  // DestroyMap deletes the window before the data it shows, and both go before the connection.
  std::unique_ptr<LayerSet> layers_;
  MapView* map_view_ = nullptr;      // a child of the client area, deleted by DestroyMap
  QPointer<StylingWindow> styling_;  // a child of the client area while open
  QPointer<ValidationWindow> validation_;
  bool map_data_ready_ = false;
  int running_commands_ = 0;
  bool shut_down_ = false;
};

}  // namespace viamappa
