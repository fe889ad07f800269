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

#include "gui/CommandIcons.h"
#include "gui/QtCanvas.h"
#include "gui/StatusBar.h"
#include "map/CommandIds.h"
#include "map/LayerNames.h"
#include "map/LayerSet.h"
#include "map/MapContextMenu.h"
#include "map/RenderView.h"
#include "map/StreetNameSource.h"

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
    : QWidget(parent), layers_(layers), panes_(panes), viewport_(metrics, saved), navigation_(viewport_) {
  setObjectName(QStringLiteral("MapView"));
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  // Every pixel comes from the map image: no background erase before painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(CursorOf(PointerShape::Normal));
  if (connection) names_ = std::make_unique<ArcTableNames>(*connection);
}

MapView::~MapView() = default;

void MapView::SetLayers(LayerSet* layers) {
  layers_ = layers;
  viewport_.full_redraw = true;
  update();
}

bool MapView::RunCommand(int id) {
  if (RouteOf(id).owner != CommandOwner::Navigation) return false;
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
    painter.drawImage(event->rect().topLeft(), map_image_, event->rect());
  }
  if (band_) {
    painter.setPen(QPen(ToQColor(Inverted(background_)), 2, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(ToQRect(*band_));
  }
}

void MapView::FullRedraw() {
  const bool fast = clock_.BeginFullRedraw(viewport_.full_quality, RedrawClock::Clock::now());
  viewport_.full_quality = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  viewport_.UpdateExtent();
  {
    QtCanvas canvas(background_image_);
    DrawBackground(canvas, background_, RenderView::Of(viewport_, fast));
  }
  DrawVectorPass(fast);
  vector_redraw_ = false;
  clock_.EndFullRedraw(RedrawClock::Clock::now());
  viewport_.EndFullRedraw();
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
  DrawVectorLayers(canvas, *layers_, RenderView::Of(viewport_, fast), names_.get(), overlays);
}

void MapView::ShowHit(const HitView& view) {
  ZoomOnBox(viewport_, view.box, view.margin);
  requestFullRedraw();
  if (view.pick_arc && hit_arc_pick_) hit_arc_pick_(*view.pick_arc);
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

void MapView::mousePressEvent(QMouseEvent* event) {
  if (pointer_claim_ && pointer_claim_(event)) return;
  if (event->button() == Qt::LeftButton) {
    Execute(navigation_.LeftButtonDown());
  } else if (event->button() == Qt::RightButton) {
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    const QAction* chosen = menu->exec(event->globalPosition().toPoint());
    const int id = chosen ? chosen->data().toInt() : 0;
    if (id != 0) RunMenuCommand(id);
  }
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
  if (pointer_claim_ && pointer_claim_(event)) return;
  if (navigation_.TakePendingQualityRedraw()) repaint();
  const QPoint at = event->position().toPoint();
  Execute(navigation_.PointerMoved(at.x(), at.y(), event->buttons() & Qt::LeftButton, Extent()));
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
  if (pointer_claim_ && pointer_claim_(event)) return;
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  Execute(navigation_.LeftButtonUp(at.x(), at.y(), clock_.last_was_fast()));
}

void MapView::wheelEvent(QWheelEvent* event) {
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
  auto menu = std::make_unique<QMenu>(this);
  AddEntries(menu.get(), BuildMapContextMenu(state), [this](int id) { return CanRunFromMenu(id); });
  return menu;
}

// The editing entries (arc data, digitising, chosen vertex or point) have no function yet: greyed.
bool MapView::CanRunFromMenu(int id) const {
  const CommandRoute route = RouteOf(id);
  const bool own = route.owner == CommandOwner::Navigation;
  return route.main_table ? command_handler_ || own : own;
}

void MapView::RunMenuCommand(int id) {
  if (!CanRunFromMenu(id)) return;
  // Through the main window's table, so that its menus and toolbar follow at once.
  if (RouteOf(id).main_table && command_handler_) return command_handler_(id);
  RunCommand(id);
}

}  // namespace viamappa
