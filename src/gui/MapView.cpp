#include "gui/MapView.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit/EditOverlay.h"
#include "gui/CommandIcons.h"
#include "gui/QtCanvas.h"
#include "gui/QtEditDialogs.h"
#include "gui/StatusBar.h"
#include "map/BackgroundPainter.h"
#include "map/CommandIds.h"
#include "map/LayerNames.h"
#include "map/LayerSet.h"
#include "map/MapContextMenu.h"
#include "map/RenderView.h"
#include "map/StreetNameSource.h"
#include "query/RouteDrawing.h"

namespace viamappa {

namespace {

// One notch of a mouse wheel, in the eighths of a degree Qt counts.
constexpr int kWheelNotch = 120;

QCursor CursorOf(PointerShape shape) {
  switch (shape) {
    case PointerShape::Pan:
      return Qt::ClosedHandCursor;
    case PointerShape::Zoom:
      return Qt::SizeVerCursor;
    case PointerShape::Normal:
      break;
  }
  return Qt::CrossCursor;
}

QRect ToQRect(const WindowRect& r) {
  return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

void AddEntries(QMenu* menu, const std::vector<MapMenuEntry>& entries,
                const std::function<bool(int)>& runnable) {
  for (const MapMenuEntry& entry : entries) {
    const QString text = QString::fromStdString(entry.text);
    switch (entry.kind) {
      case MapMenuEntry::Kind::Separator:
        menu->addSeparator();
        break;
      case MapMenuEntry::Kind::Popup:
        AddEntries(menu->addMenu(text), entry.items, runnable);
        break;
      case MapMenuEntry::Kind::Command: {
        QAction* action = menu->addAction(text);
        action->setData(entry.id);
        // An owner-drawn entry stands for the toolbar command: its image beside its label.
        if (entry.owner_drawn) action->setIcon(CommandIcon(entry.id));
        action->setCheckable(entry.checked);
        action->setChecked(entry.checked);
        action->setEnabled(entry.enabled && runnable(entry.id));
        break;
      }
    }
  }
}

}  // namespace

MapView::MapView(LayerSet* layers, DbConnection* connection, const SavedMapView& saved, DeviceMetrics metrics,
                 StatusBar* panes, QWidget* parent)
    : QWidget(parent),
      layers_(layers),
      connection_(connection),
      panes_(panes),
      viewport_(metrics, saved),
      navigation_(viewport_) {
  setObjectName(QStringLiteral("MapView"));
  settle_timer_.setSingleShot(true);
  settle_timer_.setInterval(kSettleMs);
  connect(&settle_timer_, &QTimer::timeout, this, &MapView::Settle);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  // Every pixel comes from the map image: no background erase before painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(CursorOf(PointerShape::Normal));
  if (connection) {
    names_ = std::make_unique<ArcTableNames>(*connection);
    edit_dialogs_ = std::make_unique<QtEditDialogs>(this, connection->ui());
  }
  RebuildEditor();
}

MapView::~MapView() {
  editor_.reset();
}

void MapView::SetLayers(LayerSet* layers) {
  editor_.reset();
  route_.LayersRebuilt();
  layers_ = layers;
  RebuildEditor();
  viewport_.full_redraw = true;
  update();
}

void MapView::SetEditorHooks(EditorHooks hooks) {
  editor_hooks_ = std::move(hooks);
  RebuildEditor();
}

// The editor refers into the layer set: it goes and comes with it.
void MapView::RebuildEditor() {
  editor_.reset();
  if (!layers_ || !connection_ || !connection_->IsOpen() || !edit_dialogs_) return;
  EditorHooks hooks = editor_hooks_;
  if (!hooks.arc_name && names_)
    hooks.arc_name = [this](std::int32_t id, std::string& name) { return names_->NameOf(id, name); };
  // The route follows the graph's edits; whoever gave the hooks is told after it.
  hooks.graph.routing_graph_stale = [this, told = std::move(hooks.graph.routing_graph_stale)] {
    route_.MarkGraphStale();
    if (told) told();
  };
  hooks.graph.arc_leaving_caches = [this, told = std::move(hooks.graph.arc_leaving_caches)](std::int32_t id) {
    route_.ArcLeavingCaches(id);
    if (told) told(id);
  };
  hooks.route_start = [this, told = std::move(hooks.route_start)](const Point& p,
                                                                  std::optional<std::int32_t> arc) {
    if (MarkRouteStart(RoutePoint{p, arc}) && told) told(p, arc);
  };
  hooks.route_end = [this, told = std::move(hooks.route_end)](const Point& p,
                                                              std::optional<std::int32_t> arc) {
    if (MarkRouteEnd(RoutePoint{p, arc}) && told) told(p, arc);
  };
  editor_ = std::make_unique<MapEditor>(
      *connection_, *layers_, viewport_, *edit_dialogs_,
      [this] { return modes_source_ ? modes_source_() : MapModes{}; }, std::move(hooks));
}

void MapView::ModesChanged() {
  // The mode commands forget the path points: the markers and the path go with them (the caller
  // redraws).
  const MapModes modes = modes_source_ ? modes_source_() : MapModes{};
  if (!modes.start_point_set) {
    route_.ClearMarkers();
  } else if (!modes.end_point_set) {
    route_.ClearEnd();
  }
  if (editor_) Execute(editor_->ModesChanged());
}

void MapView::ForgetEditsChangedBehind() {
  if (editor_) editor_->history().ForgetIfChangedBehind();
}

bool MapView::MarkRouteStart(const RoutePoint& point) {
  MapLayer* arcs = layers_ ? layers_->FindLayer(kArcLayer) : nullptr;
  if (!arcs || !connection_) return false;
  route_.SetStart(RouteSources{*connection_, *arcs}, point, connection_->ui());
  return route_.start().has_value();
}

bool MapView::MarkRouteEnd(const RoutePoint& point) {
  MapLayer* arcs = layers_ ? layers_->FindLayer(kArcLayer) : nullptr;
  if (!arcs || !connection_ || !route_.start()) return false;
  // The end marker is shown before the search, which may take a moment on a large graph.
  route_.SetEndAndCompute(RouteSources{*connection_, *arcs}, point, connection_->ui(),
                          [this] { requestVectorRedraw(); });
  return route_.end().has_value();
}

bool MapView::RunCommand(int id) {
  NoteInput();
  const CommandRoute route = RouteOf(id);
  if (route.owner == CommandOwner::MapWindow && !route.main_table) {
    if (!editor_) return false;
    EditOutcome outcome;
    if (!editor_->RunCommand(id, outcome)) return false;
    Execute(outcome);
    return true;
  }
  if (route.owner != CommandOwner::Navigation) return false;
  const NavigationOutcome outcome = navigation_.Command(id, Extent());
  if (!outcome.handled) return false;
  Execute(outcome);
  return true;
}

void MapView::requestFullRedraw() {
  viewport_.full_redraw = true;
  repaint();
}

void MapView::requestVectorRedraw() {
  vector_redraw_ = true;
  viewport_.full_quality = true;
  repaint();
}

void MapView::HoldRedraws(bool hold) {
  if (redraws_held_ == hold) return;
  redraws_held_ = hold;
  if (!hold) update();
}

Box MapView::Extent() const {
  return layers_ ? layers_->extent : Box();
}

bool MapView::GraphHasArcs() const {
  const MapLayer* arcs = layers_ ? layers_->FindLayer(kArcLayer) : nullptr;
  return arcs && arcs->line_count() > 0;
}

// The two images are as large as the screen, or as the window when it is larger; made at the first
// paint, which also settles the start-up view now that the window's size is known.
bool MapView::PrepareImages() {
  if (width() <= 0 || height() <= 0) return false;
  QSize size = screen() ? screen()->size() : QSize();
  size = size.expandedTo(this->size());
  if (background_image_.isNull() || background_image_.width() < size.width() ||
      background_image_.height() < size.height()) {
    background_image_ = QImage(size, QImage::Format_RGB32);
    map_image_ = QImage(size, QImage::Format_RGB32);
    background_image_.fill(ToQColor(background_));
    map_image_.fill(ToQColor(background_));
    viewport_.full_redraw = true;
  }
  if (!startup_applied_) {
    startup_applied_ = true;
    viewport_.SetClientSize(width(), height());
    viewport_.ApplyStartupView(Extent());
  }
  return true;
}

void MapView::paintEvent(QPaintEvent* event) {
  if (!PrepareImages()) return;
  switch (redraws_held_ ? PaintAction::CopyImage : DecidePaint(viewport_.full_redraw, vector_redraw_)) {
    case PaintAction::FullRedraw:
      FullRedraw();
      break;
    case PaintAction::VectorRedraw:
      DrawVectorPass(clock_.last_was_fast());
      vector_redraw_ = false;
      ++vector_redraws_;
      break;
    case PaintAction::CopyImage:
      break;
  }
  QPainter painter(this);
  const QRect client = rect();
  if (pan_shift_) {
    // The map as it was, shifted; the strips it uncovers show the background colour.
    painter.fillRect(client, ToQColor(background_));
    painter.drawImage(QPoint(pan_shift_->x, pan_shift_->y), map_image_, client);
  } else {
    PaintOverlay(painter, event->rect());
  }
  if (band_) {
    painter.setPen(QPen(ToQColor(Inverted(background_)), 2, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(ToQRect(*band_));
  }
}

// The map image, and over it what the editing shows, composed off the window so that nothing flickers.
void MapView::PaintOverlay(QPainter& painter, const QRect& area) {
  const EditOverlay overlay = editor_ ? editor_->Overlay() : EditOverlay();
  if (overlay.empty()) {
    painter.drawImage(area.topLeft(), map_image_, area);
    return;
  }
  if (overlay_image_.size() != map_image_.size())
    overlay_image_ = QImage(map_image_.size(), QImage::Format_RGB32);
  {
    QPainter copy(&overlay_image_);
    copy.setCompositionMode(QPainter::CompositionMode_Source);
    copy.drawImage(area.topLeft(), map_image_, area);
  }
  {
    QtCanvas canvas(overlay_image_);
    canvas.painter().setClipRect(area);
    DrawEditOverlay(canvas, RenderView::Of(viewport_, false), overlay);
  }
  painter.drawImage(area.topLeft(), overlay_image_, area);
}

void MapView::FullRedraw() {
  const bool fast = clock_.BeginFullRedraw(viewport_.full_quality, RedrawClock::Clock::now());
  viewport_.full_quality = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  viewport_.UpdateExtent();
  {
    QtCanvas canvas(background_image_);
    DrawBackground(canvas, background_, RenderView::Of(viewport_, fast),
                   BackgroundSourcesOf(layers_ ? layers_->background() : nullptr));
  }
  DrawVectorPass(fast);
  vector_redraw_ = false;
  clock_.EndFullRedraw(RedrawClock::Clock::now());
  viewport_.EndFullRedraw();
  // A fast redraw keeps navigation smooth; the view it leaves is drawn again in full quality at the
  // next pointer movement or once the person rests. A drag in progress is drawn in full at its release.
  if (fast && QApplication::mouseButtons() == Qt::NoButton) {
    navigation_.SetQualityRedrawPending();
    settle_timer_.start();
  }
  viewport_.image_released = false;
  ++full_redraws_;
  QApplication::restoreOverrideCursor();
  if (panes_) panes_->SetPaneText(StatusPane::Scale, QString::fromStdString(viewport_.scale_text()));
}

// The map image receives the background, then the layers over it.
void MapView::DrawVectorPass(bool fast) {
  std::memcpy(map_image_.bits(), background_image_.constBits(),
              static_cast<std::size_t>(background_image_.sizeInBytes()));
  if (!layers_) return;
  QtCanvas canvas(map_image_);
  MapOverlays overlays;
  overlays.highlights = &queries_.highlights;
  SetRouteOverlays(overlays, route_);
  DrawVectorLayers(canvas, *layers_, RenderView::Of(viewport_, fast), names_.get(), overlays);
}

void MapView::ShowHit(const HitView& view) {
  ZoomOnBox(viewport_, view.box, view.margin);
  requestFullRedraw();
  if (view.pick_arc) {
    // The editing makes the hit's arc its hot arc, as if the pointer had found it.
    if (editor_ && editor_->SelectArc(*view.pick_arc)) update();
    if (hit_arc_pick_) hit_arc_pick_(*view.pick_arc);
  }
  QPoint pointer;
  switch (view.pointer) {
    case HitView::Pointer::Stays:
      return;
    case HitView::Pointer::WindowCentre:
      pointer = rect().center();
      break;
    case HitView::Pointer::ArcStart: {
      const Point at = viewport_.WorldToPixel(view.arc_start.x, view.arc_start.y);
      pointer = QPoint(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)));
      break;
    }
  }
  QCursor::setPos(mapToGlobal(pointer));
}

void MapView::NoteInput() {
  if (settle_timer_.isActive()) settle_timer_.start();
}

// The person has rested: a view drawn fast is drawn again in full quality, unless a drag goes on or a
// command holds the redraws (then the settling waits for them).
void MapView::Settle() {
  if (redraws_held_ || QApplication::mouseButtons() != Qt::NoButton) {
    settle_timer_.start();
    return;
  }
  if (navigation_.TakePendingQualityRedraw()) repaint();
}

void MapView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The lower-left corner and the scale stay; the window is drawn anew at its new size.
  viewport_.SetClientSize(width(), height());
  update();
}

void MapView::Execute(const NavigationOutcome& outcome) {
  if (outcome.end_previews) {
    if (band_) update(ToQRect(band_->Widened(2)));
    pan_shift_.reset();
    band_.reset();
  }
  if (outcome.repaint) repaint();
  if (outcome.pan_shift) {
    pan_shift_ = outcome.pan_shift;
    update();
  }
  if (outcome.erase_band) update(ToQRect(*outcome.erase_band));
  if (outcome.draw_band) {
    band_ = outcome.draw_band;
    update(ToQRect(band_->Widened(2)));
  }
  if (panes_) panes_->Show(outcome.panes);
  if (outcome.pointer) setCursor(CursorOf(*outcome.pointer));
}

void MapView::Execute(const EditOutcome& outcome) {
  if (outcome.clear_navigation_tool) navigation_.ClearTool();
  if (outcome.full_redraw) {
    requestFullRedraw();
  } else if (outcome.vector_redraw) {
    requestVectorRedraw();
  } else if (outcome.overlay) {
    update();
  }
  if (outcome.warp_pointer)
    QCursor::setPos(mapToGlobal(QPoint(outcome.warp_pointer->x, outcome.warp_pointer->y)));
  if (panes_) panes_->Show(outcome.panes);
  if (outcome.pointer) setCursor(CursorOf(*outcome.pointer));
}

PointerInput MapView::InputOf(const QMouseEvent* event) const {
  const QPoint at = event->position().toPoint();
  return {at.x(), at.y(), (event->buttons() & Qt::LeftButton) != 0, navigation_.tool()};
}

void MapView::mousePressEvent(QMouseEvent* event) {
  NoteInput();
  if (pointer_claim_ && pointer_claim_(event)) return;
  if (event->button() == Qt::LeftButton) {
    if (editor_) {
      const EditOutcome outcome = editor_->LeftPressed(InputOf(event));
      Execute(outcome);
      if (outcome.claimed) return;
    }
    Execute(navigation_.LeftButtonDown());
  } else if (event->button() == Qt::RightButton) {
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    const QAction* chosen = menu->exec(event->globalPosition().toPoint());
    const int id = chosen ? chosen->data().toInt() : 0;
    if (id != 0) RunMenuCommand(id);
  }
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
  NoteInput();
  if (pointer_claim_ && pointer_claim_(event)) return;
  if (navigation_.TakePendingQualityRedraw()) repaint();
  if (editor_) {
    const EditOutcome outcome = editor_->PointerMoved(InputOf(event));
    if (outcome.claimed) return Execute(outcome);
  }
  const QPoint at = event->position().toPoint();
  Execute(navigation_.PointerMoved(at.x(), at.y(), event->buttons() & Qt::LeftButton, Extent()));
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
  NoteInput();
  if (pointer_claim_ && pointer_claim_(event)) return;
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  Execute(navigation_.LeftButtonUp(at.x(), at.y(), clock_.last_was_fast()));
  if (editor_) Execute(editor_->LeftReleased(InputOf(event)));
}

// A double click chooses a path point where the editing wants one; otherwise it is a second press.
void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (pointer_claim_ && pointer_claim_(event)) return;
  if (editor_ && event->button() == Qt::LeftButton) {
    const EditOutcome outcome = editor_->DoubleClicked(InputOf(event));
    Execute(outcome);
    if (outcome.claimed) return;
  }
  mousePressEvent(event);
}

void MapView::wheelEvent(QWheelEvent* event) {
  NoteInput();
  event->accept();
  // Fine-grained wheels and touchpads report parts of a notch: a zoom waits for a whole one.
  wheel_rest_ += event->angleDelta().y();
  if (std::abs(wheel_rest_) < kWheelNotch) return;
  const int delta = wheel_rest_;
  wheel_rest_ = 0;
  Execute(navigation_.Wheel(delta, Extent()));
}

std::unique_ptr<QMenu> MapView::BuildContextMenu() {
  MapMenuState state;
  state.tool = navigation_.tool();
  state.can_go_back = viewport_.history().CanGoBack();
  state.graph_has_arcs = GraphHasArcs();
  if (modes_source_) state.modes = modes_source_();
  if (editor_) {
    state.situation = editor_->situation();
    state.vertex_chosen = editor_->vertex_chosen();
    state.point_chosen = editor_->point_chosen();
    state.can_undo = editor_->history().CanUndo();
    state.can_redo = editor_->history().CanRedo();
  }
  auto menu = std::make_unique<QMenu>(this);
  AddEntries(menu.get(), BuildMapContextMenu(state), [this](int id) { return CanRunFromMenu(id); });
  return menu;
}

// The editing entries need the editing: without a database behind the map they are greyed.
bool MapView::CanRunFromMenu(int id) const {
  const CommandRoute route = RouteOf(id);
  const bool own = route.owner == CommandOwner::Navigation ||
                   (route.owner == CommandOwner::MapWindow && !route.main_table && editor_);
  return route.main_table ? command_handler_ || own : own;
}

void MapView::RunMenuCommand(int id) {
  if (!CanRunFromMenu(id)) return;
  // Through the main window's table, so that its menus and toolbar follow at once.
  if (RouteOf(id).main_table && command_handler_) return command_handler_(id);
  RunCommand(id);
}

}  // namespace viamappa
