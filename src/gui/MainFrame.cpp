#include "gui/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/ProgressLayout.h"
#include "app/ShellModel.h"
#include "app/ShellTexts.h"
#include "db/Engine.h"
#include "gui/CommandIcons.h"
#include "gui/KeyBindings.h"
#include "gui/MapView.h"
#include "gui/StatusBar.h"
#include "map/BackgroundFile.h"
#include "map/CommandIds.h"
#include "map/LayerLoader.h"

namespace viamappa {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The tools and the modes show a check mark while they are on.
bool IsCheckable(int id) {
  return id == cmd::kPan || id == cmd::kZoom || id == cmd::kAreaSelection ||
         RouteOf(id).owner == CommandOwner::Modes;
}

}  // namespace

MainFrame::MainFrame(UserInterface& ui, SettingsStore store, QWidget* parent)
    : QMainWindow(parent),
      ui_(ui),
      command_ui_(ui),
      command_shell_(*this),
      worker_(ui),
      store_(std::move(store)),
      lifecycle_(state_, command_ui_, command_shell_, store_),
      imports_(state_, command_ui_, command_shell_),
      conflation_(state_, command_ui_, command_shell_),
      localization_(state_, command_ui_),
      exports_(state_, command_ui_),
      topology_(state_, command_ui_, command_shell_) {
  setObjectName(QStringLiteral("VIAMAPPA"));
  setWindowTitle(QStringLiteral("VIAMAPPA"));
  setWindowIcon(ApplicationIcon());

  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("Client"));
  client_->setAutoFillBackground(true);
  QPalette background = client_->palette();
  background.setColor(QPalette::Window, QColor(236, 238, 232));
  client_->setPalette(background);
  // The map window fills the client area once it exists.
  auto* client_layout = new QVBoxLayout(client_);
  client_layout->setContentsMargins(0, 0, 0, 0);
  client_->installEventFilter(this);
  setCentralWidget(client_);

  CreateActions();
  BuildMenus();
  status_bar_ = new StatusBar(this);
  setStatusBar(status_bar_);
  BuildToolBar();
  InstallKeyBindings(this, MainWindowKeys(), Qt::WindowShortcut, [this](int id) { ExecuteCommand(id); });

  // Toolbar buttons follow the command table while the program waits for input; menus also right before
  // they open.
  command_updates_.setInterval(200);
  connect(&command_updates_, &QTimer::timeout, this, &MainFrame::UpdateCommands);
  command_updates_.start();
  UpdateCommands();
}

MainFrame::~MainFrame() {
  // The map goes before its database closes.
  DiscardMap();
  state_.connection.reset();
}

void MainFrame::CreateActions() {
  const auto add = [this](const MenuItem& item) {
    auto* action = new QAction(FromUtf8(item.text), this);
    action->setData(item.id);
    action->setCheckable(IsCheckable(item.id));
    if (item.with_image) action->setIcon(CommandIcon(item.id));
    const std::string_view tip = ToolTip(item.id);
    if (!tip.empty()) action->setToolTip(FromUtf8(tip));
    const int id = item.id;
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    actions_[item.id] = action;
  };
  const auto walk = [&add](const auto& self, const std::vector<MenuItem>& items) -> void {
    for (const MenuItem& item : items) {
      if (item.kind == MenuItem::Kind::Command) add(item);
      if (item.kind == MenuItem::Kind::Popup) self(self, item.items);
    }
  };
  walk(walk, MenuBarModel());
}

void MainFrame::BuildMenus() {
  const auto fill = [this](const auto& self, QWidget* menu, const std::vector<MenuItem>& items) -> void {
    for (const MenuItem& item : items) {
      switch (item.kind) {
        case MenuItem::Kind::Command:
          menu->addAction(Action(item.id));
          break;
        case MenuItem::Kind::Separator:
          if (auto* popup = qobject_cast<QMenu*>(menu)) popup->addSeparator();
          break;
        case MenuItem::Kind::Popup: {
          auto* popup = new QMenu(FromUtf8(item.text), menu);
          connect(popup, &QMenu::aboutToShow, this, &MainFrame::UpdateCommands);
          self(self, popup, item.items);
          menu->addAction(popup->menuAction());
          break;
        }
      }
    }
  };
  fill(fill, menuBar(), MenuBarModel());
}

void MainFrame::BuildToolBar() {
  toolbar_ = new QToolBar(QStringLiteral("Barra degli Strumenti"), this);
  toolbar_->setObjectName(QStringLiteral("CommandToolBar"));
  toolbar_->setIconSize(QSize(16, 15));
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  for (const int id : ToolBarLayout()) {
    if (id == 0) {
      toolbar_->addSeparator();
    } else {
      toolbar_->addAction(Action(id));
    }
  }
  addToolBar(Qt::TopToolBarArea, toolbar_);
}

QAction* MainFrame::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

CommandContext MainFrame::Context() const {
  CommandContext context;
  context.database_open = state_.connected();
  context.map_data = layers_ != nullptr;
  context.layer_list = layers_ && !layers_->layers().empty();
  context.extent_set = layers_ && !layers_->extent.IsEmpty();
  // The loader defines the thematic layers with the map data.
  context.thematic_layers = layers_ && !layers_->layers().empty();
  context.map_window = map_view_ != nullptr;
  context.navigation = map_view_ ? map_view_->tool() : NavigationTool::None;
  context.modes = map_modes_;
  return context;
}

void MainFrame::UpdateCommands() {
  const CommandContext context = Context();
  for (const auto& [id, action] : actions_) {
    const CommandStatus status = QueryCommand(id, context);
    if (action->isEnabled() != status.enabled) action->setEnabled(status.enabled);
    if (action->isCheckable() && action->isChecked() != status.checked) action->setChecked(status.checked);
  }
}

void MainFrame::ExecuteCommand(int id) {
  // One command at a time: while a long one runs, input is dropped and nothing else may start one.
  if (worker_.running()) return;
  if (!Status(id).enabled) {
    UpdateCommands();
    return;
  }
  if (id == cmd::kExit) {
    close();
    return;
  }
  ++running_commands_;
  RunCommand(id);
  --running_commands_;
  UpdateCommands();
}

void MainFrame::RunCommand(int id) {
  switch (RouteOf(id).owner) {
    case CommandOwner::MainWindow:
      RunOwnCommand(id);
      ForgetEditsChangedBehind();
      return;
    case CommandOwner::Navigation:
    case CommandOwner::MapWindow:
      // The toponym search also switches highlighting, whose flag lives here.
      if (id == cmd::kToponymSearch) return SearchToponyms();
      // Passed on to the map window; without one they do nothing.
      if (map_view_ && !map_view_->RunCommand(id)) NotAvailable();
      return;
    case CommandOwner::Modes: {
      const bool criteria_chosen = AsksHighlightingCriteria(id, map_modes_) && ChooseHighlighting();
      const ModeChange change = ApplyModeCommand(id, map_modes_, criteria_chosen);
      map_modes_ = change.modes;
      if (map_view_) map_view_->ModesChanged();
      if (change.forget_highlighting && map_view_) map_view_->queries().highlights.clear();
      if (map_view_) map_view_->requestFullRedraw();
      Redraw();
      return;
    }
    case CommandOwner::None:
      return;
  }
}

void MainFrame::RunOwnCommand(int id) {
  switch (id) {
    case cmd::kAbout:
      return ShowInformation();
    // Whatever uses the database or rebuilds the map runs on the worker.
    case cmd::kCreateDatabase:
      return RunOnWorker([this] { lifecycle_.Create(); });
    case cmd::kConnectDatabase:
      return RunOnWorker([this] { lifecycle_.Connect(); });
    case cmd::kDisconnectDatabase:
      return RunOnWorker([this] { lifecycle_.Disconnect(); });
    case cmd::kRepairDatabase:
      return RunOnWorker([this] { lifecycle_.Repair(); });
    case cmd::kDuplicateDatabase:
      return RunOnWorker([this] { lifecycle_.Duplicate(); });
    case cmd::kChooseBackground:
      return RunOnWorker([this] { lifecycle_.ChooseBackground(); });
    case cmd::kImportRoadGraph:
      return RunOnWorker([this] { imports_.ImportRoadGraph(); });
    case cmd::kImportMunicipalities:
      return RunOnWorker([this] { imports_.ImportMunicipalities(); });
    case cmd::kImportLocalities:
      return RunOnWorker([this] { imports_.ImportLocalities(); });
    case cmd::kImportToponyms:
      return RunOnWorker([this] { imports_.ImportToponyms(); });
    case cmd::kImportSecondaryGraph:
      return RunOnWorker([this] { conflation_.ImportSecondaryGraph(); });
    case cmd::kLocalizeRoadGraph:
      return RunOnWorker([this] { localization_.LocalizeRoadGraph(); });
    case cmd::kLocalizeToponyms:
      return RunOnWorker([this] { localization_.LocalizeToponyms(); });
    case cmd::kExportRoadGraph:
      return RunOnWorker([this] { exports_.ExportRoadGraph(); });
    case cmd::kExportChanges:
      return RunOnWorker([this] { exports_.ExportChanges(); });
    case cmd::kExportTramex:
      return RunOnWorker([this] { exports_.ExportTramex(); });
    case cmd::kExportStreetList:
      return RunOnWorker([this] { exports_.ExportStreetList(); });

    // Topology, renaming and the check of the graph.
    case cmd::kRegenerateNodes:
      return RunOnWorker([this] { topology_.RegenerateNodes(); });
    case cmd::kMergeBrokenArcs:
      return RunOnWorker([this] { topology_.MergeBrokenArcs(); });
    case cmd::kRenameArcs:
      return RunOnWorker([this] { topology_.RenameArcs(); });
    case cmd::kValidateGraph:
      return ValidateGraph();
    case cmd::kThematicStyling: {
      StatusTexts texts;
      texts.Set(StatusPane::Mode, " ");
      texts.Set(StatusPane::Scale, " ");
      texts.Set(StatusPane::Prompt, "Vestizione Tematismi");
      texts.Set(StatusPane::Note, " ");
      status_bar_->Show(texts);
      return OpenStyling();
    }
    default:
      return NotAvailable();
  }
}

// While the worker runs, the window's thread reads nothing that the worker changes: the command
// updates (they read the connection) stop, the map window paints its kept image only (its street names
// read the database), no map window is made, and input waits. The window's thread touches the
// application state and the database only inside the calls the worker carries to it.
void MainFrame::RunOnWorker(const std::function<void()>& work) {
  command_updates_.stop();
  if (map_view_) map_view_->HoldRedraws(true);
  worker_.Run(work);
  if (map_view_) map_view_->HoldRedraws(false);
  // A map window that waits for its first paint comes now.
  Redraw();
  if (!shut_down_) command_updates_.start();
}

// The edit history knows only the map window's own edits: a command that wrote rows (an import, the
// localization, the conflation, the topology, the renaming) leaves it nothing it could safely undo.
// Connecting, disconnecting and rebuilding the map data drop it with the map window's editing.
void MainFrame::ForgetEditsChangedBehind() {
  if (map_view_) map_view_->ForgetEditsChangedBehind();
}

void MainFrame::RunMapKey(int id) {
  // Keys of commands in the main window's table go through it; the others are the map window's own.
  if (RouteOf(id).main_table) return ExecuteCommand(id);
  if (map_view_) map_view_->RunCommand(id);
}

void MainFrame::InstallMapWindowKeys(QWidget* map_window) {
  InstallKeyBindings(map_window, MapWindowKeys(), Qt::WidgetWithChildrenShortcut,
                     [this](int id) { RunMapKey(id); });
}

double MainFrame::HundredthsOfMillimetrePerPixel() const {
  const QScreen* shown_on = screen();
  if (!shown_on) return viamappa::HundredthsOfMillimetrePerPixel(0);
  // Some screens report no physical size or a wrong one; then the logical resolution serves.
  double dpi = shown_on->physicalDotsPerInch();
  if (!(dpi >= 30.0 && dpi <= 1200.0)) dpi = shown_on->logicalDotsPerInch();
  return viamappa::HundredthsOfMillimetrePerPixel(dpi);
}

void MainFrame::ShowInformation() {
  ui_.ShowMessage(InformationText(OperatingSystemLine(), state_.database_path, state_.connected(),
                                  EngineVersion(), state_.background_path),
                  MessageIcon::Information);
}

void MainFrame::NotAvailable() {
  ui_.ShowMessage(NotAvailableMessage(), MessageIcon::Information);
}

bool MainFrame::Start() {
  settings_ = store_.Load(ui_);
  state_.database_path = settings_.database;
  state_.background_path = settings_.background;
  bool associated = true;
  RunOnWorker([this, &associated] {
    if (state_.database_path.empty() && !lifecycle_.AskCreateAtStartup()) {
      associated = false;
      return;
    }
    lifecycle_.ConnectAtStartup();
    command_shell_.UpdateTitle();
    command_shell_.RebuildMap();
  });
  if (!associated) {
    ui_.ShowMessage(NoDatabaseAtStartupMessage(), MessageIcon::Stop);
    return false;
  }
  UpdateCommands();
  return true;
}

void MainFrame::UpdateTitle() {
  setWindowTitle(FromUtf8(MainWindowTitle(state_.connected())));
}

void MainFrame::DropMap() {
  if (map_view_) settings_.view = map_view_->Saved();
  DestroyMap();
  map_modes_ = {};
}

void MainFrame::DiscardMap() {
  DestroyMap();
  map_modes_ = {};
}

// None of the map window's own handlers leads here (its keys and menu never change the database or the
// background), so the window can go at once, before the connection its street names read.
void MainFrame::DestroyMap() {
  // The styling window's records belong to these map data: they go unapplied.
  DropStyling();
  map_data_ready_ = false;
  delete map_view_;
  map_view_ = nullptr;
  layers_.reset();
  ShowMapPanes();
}

// The panes tell what the map shows now: nothing without map data, "Mappa Vuota" while the data hold
// nothing to draw, the scale of the view otherwise; the pointer's texts come back when it moves.
void MainFrame::ShowMapPanes() {
  StatusTexts texts;
  for (const StatusPane pane : {StatusPane::Mode, StatusPane::Scale, StatusPane::Prompt, StatusPane::Note})
    texts.Set(pane, " ");
  if (layers_ && layers_->extent.IsEmpty()) {
    texts.Set(StatusPane::Prompt, "Mappa Vuota");
  } else if (layers_ && map_view_) {
    texts.Set(StatusPane::Scale, map_view_->viewport().scale_text());
  }
  status_bar_->Show(texts);
}

bool MainFrame::ReleaseMapData() {
  if (!state_.connected()) return false;
  map_data_ready_ = false;
  // The old data go first; the window, if it stays, draws nothing but the background meanwhile.
  if (map_view_) map_view_->SetLayers(nullptr);
  layers_.reset();
  return true;
}

// Reads only the connection, the styling and the background path, which the window's thread leaves
// alone while a command runs.
std::unique_ptr<LayerSet> MainFrame::LoadMapData() {
  if (!state_.connected()) return nullptr;
  // The map data start from the background file's extent, and keep the file open while they live.
  std::unique_ptr<BackgroundFile> background = OpenBackground(state_.background_path, background_messages_);
  auto layers = std::make_unique<LayerSet>(background ? background->extent() : Box());
  layers->SetBackground(std::move(background));
  LoadLayers(*layers, *state_.connection, settings_.styling);
  return layers;
}

void MainFrame::InstallMapData(std::unique_ptr<LayerSet> data) {
  if (!data) return;
  layers_ = std::move(data);
  map_data_ready_ = true;
  if (map_view_) {
    // The path points belonged to the old data: the map window forgets them with the old layers.
    map_modes_.start_point_set = map_modes_.end_point_set = false;
    map_view_->SetLayers(layers_.get());
    // After the first import into an empty database the view still stands where nothing was: as at
    // start-up, a view outside the data goes to the whole map.
    map_view_->viewport().ApplyStartupView(layers_->extent);
    map_view_->requestFullRedraw();
  } else {
    client_->update();
  }
  ShowMapPanes();
}

void MainFrame::RoutingGraphStale() {
  if (map_view_) map_view_->RoutingGraphStale();
}

// Over the map data and at the saved view; it fills the client area and takes the keys of its list.
void MainFrame::CreateMapView() {
  map_view_ = new MapView(layers_.get(), state_.connection.get(), settings_.view,
                          DeviceMetrics(HundredthsOfMillimetrePerPixel()), status_bar_, client_);
  map_view_->SetCommandHandler([this](int id) { ExecuteCommand(id); });
  map_view_->SetModesSource([this] { return map_modes_; });
  // The map window marks the path points and computes the path; the flags of the modes follow it.
  EditorHooks hooks;
  hooks.route_start = [this](const Point&, std::optional<std::int32_t>) {
    map_modes_.start_point_set = true;
    map_modes_.end_point_set = false;
    UpdateCommands();
  };
  hooks.route_end = [this](const Point&, std::optional<std::int32_t>) {
    map_modes_.end_point_set = true;
    UpdateCommands();
  };
  map_view_->SetEditorHooks(std::move(hooks));
  InstallMapWindowKeys(map_view_);
  client_->layout()->addWidget(map_view_);
  map_view_->setGeometry(client_->rect());
  map_view_->show();
  map_view_->setFocus(Qt::OtherFocusReason);
  ShowMapPanes();
  UpdateCommands();
}

void MainFrame::OpenStyling() {
  if (styling_) {
    styling_->setFocus(Qt::OtherFocusReason);
    return;
  }
  if (!layers_ || !map_view_) return;
  styling_ = new StylingWindow(StylingWindowModel(settings_.styling, layers_.get()), ui_, client_);
  styling_->SetCloseHandler([this] { CloseStyling(); });
  map_view_->hide();
  client_->layout()->addWidget(styling_);
  styling_->show();
  styling_->setFocus(Qt::OtherFocusReason);
}

void MainFrame::CloseStyling() {
  if (!styling_) return;
  if (layers_) styling_->model().Apply(*layers_, settings_.styling);
  DropStyling();
  if (!map_view_) return;
  map_view_->show();
  map_view_->setFocus(Qt::OtherFocusReason);
  // The new styles are shown in their colours, even when the last redraw was a moment ago.
  map_view_->viewport().full_quality = true;
  map_view_->requestFullRedraw();
}

void MainFrame::DropStyling() {
  if (!styling_) return;
  // The window may be closing from inside one of its own handlers: it goes once they return.
  styling_->hide();
  styling_->deleteLater();
  styling_ = nullptr;
}

void MainFrame::ValidateGraph() {
  std::optional<GraphValidation> validation;
  RunOnWorker([this, &validation] { validation = topology_.ValidateGraph(); });
  if (!validation) return;
  if (validation_) validation_->close();
  validation_ =
      new ValidationWindow(this, ValidationBrowser(std::move(*validation)), [this](const Box& view) {
        if (!map_view_) return;
        Viewport& viewport = map_view_->viewport();
        viewport.FitExtent(view);
        viewport.CentreOn((view.minx + view.maxx) / 2, (view.miny + view.maxy) / 2);
        viewport.full_quality = true;
        map_view_->requestFullRedraw();
      });
  validation_->setAttribute(Qt::WA_DeleteOnClose);
  // At the right edge of the map, so that the finding in the middle of the map stays in sight.
  validation_->move(
      client_->mapToGlobal(QPoint(std::max(0, client_->width() - validation_->width() - 8), 8)));
  validation_->show();
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  // The first paint of the client area after the map data are ready brings the map window.
  // Not while a command runs: the map window's street names read the database.
  if (watched == client_ && event->type() == QEvent::Paint && map_data_ready_ && layers_ && !map_view_ &&
      !shut_down_ && !worker_.running()) {
    CreateMapView();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainFrame::Redraw() {
  client_->update();
  update();
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (shut_down_) {
    event->accept();
    return;
  }
  // A close request that arrives while a command runs (the window repaints and answers the window
  // system meanwhile) waits for the person to ask again.
  if (running_commands_ > 0 || worker_.running() || !ui_.AskOkCancel(ExitQuestion())) {
    event->ignore();
    return;
  }
  Shutdown();
  event->accept();
}

void MainFrame::Shutdown() {
  shut_down_ = true;
  command_updates_.stop();
  Settings saved = settings_;
  saved.database = state_.database_path;
  saved.background = state_.background_path;
  // Without a map window there is no view to keep: the next start shows the whole map.
  std::optional<SavedMapView> view;
  if (map_view_) view = map_view_->Saved();
  store_.Save(saved, view);
  DiscardMap();
  state_.connection.reset();
}

}  // namespace viamappa
