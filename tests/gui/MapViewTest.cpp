#include "gui/MapView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>

#include "MainFrameOverDatabase.h"
#include "background/BackgroundWriter.h"
#include "base/NumberText.h"
#include "gui/QtCanvas.h"
#include "gui/StatusBar.h"
#include "map/BackgroundFile.h"
#include "map/CommandIds.h"
#include "map/LayerSet.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::FindAction;
using testing::Mouse;
using testing::Pointer;

void Drag(QWidget* widget, std::initializer_list<QPoint> path) {
  Mouse(widget, QEvent::MouseButtonPress, *path.begin());
  for (const QPoint& at : path) Mouse(widget, QEvent::MouseMove, at);
}

void Wheel(QWidget* widget, int delta) {
  const QPointF at(10, 10);
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

bool IsWhite(const QImage& image, int x, int y) {
  return image.pixelColor(x, y) == QColor(Qt::white);
}

// A map window of 400 x 300 pixels, one screen unit a pixel, at 1:20000 over two vertical black arcs:
// one near its right edge (pixel column 390) and one just beyond it (column 410).
class MapViewTest : public ::testing::Test {
 protected:
  MapViewTest() : layers_(Box::Of(0, 0, 2000, 2000)) {
    LayerDefinition arcs;
    arcs.name = "archi";
    arcs.kind = FeatureKind::Line;
    arcs.style.line_width = 3;
    MapLayer& layer = layers_.AddLayer(arcs);
    for (const double x : {780.0, 820.0}) {
      LineFeature& arc = layer.AddLineFeature(static_cast<std::int32_t>(x));
      layer.AddPolyline(arc, PointArray({{x, 20}, {x, 580}}));
    }
    layer.RebuildIndexes();
    view_ =
        std::make_unique<MapView>(&layers_, nullptr, SavedMapView{2.0, 0, 0}, DeviceMetrics(10.0), &panes_);
    view_->resize(400, 300);
    view_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
    QApplication::processEvents();
  }

  LayerSet layers_;
  StatusBar panes_;
  std::unique_ptr<MapView> view_;
};

TEST_F(MapViewTest, PanDragShiftsTheKeptImageAndRedrawsOnlyOnRelease) {
  ASSERT_EQ(view_->full_redraw_count(), 1);
  view_->RunCommand(cmd::kPan);
  Drag(view_.get(), {{200, 150}, {185, 150}, {170, 150}});
  EXPECT_EQ(view_->cursor().shape(), Qt::ClosedHandCursor);
  QApplication::processEvents();
  const QImage preview = view_->grab().toImage();
  EXPECT_EQ(view_->full_redraw_count(), 1) << "no layer is drawn during the drag";
  EXPECT_FALSE(IsWhite(preview, 360, 150)) << "the arc moved with the pointer";
  // The strip the image uncovers shows the background, not what the image holds beyond the window.
  for (int x = 371; x < 400; ++x) EXPECT_TRUE(IsWhite(preview, x, 150)) << x;

  Mouse(view_.get(), QEvent::MouseButtonRelease, {170, 150});
  EXPECT_EQ(view_->full_redraw_count(), 2);
  EXPECT_EQ(view_->Saved().origin_x, 60) << "30 pixels west of 2 m each";
  EXPECT_EQ(view_->cursor().shape(), Qt::CrossCursor);
  EXPECT_FALSE(IsWhite(view_->grab().toImage(), 380, 150)) << "the arc beyond the window came in";
}

// A view drawn fast while the person moves around quickly is drawn again in full quality once they rest,
// without moving the pointer; a movement in any tool, the area selection included, brings it at once.
TEST_F(MapViewTest, AViewDrawnFastSettlesInFullQuality) {
  static_assert(MapView::kSettleMs <= 1000, "the resting view is drawn in full within a second");
  view_->RunCommand(cmd::kAreaSelection);
  const auto zoom = [this] {
    Drag(view_.get(), {{50, 50}, {150, 120}});
    Mouse(view_.get(), QEvent::MouseButtonRelease, {150, 120});
  };
  zoom();
  ASSERT_TRUE(view_->last_redraw_fast()) << "a zoom moments after the last redraw is drawn fast";
  const int redraws = view_->full_redraw_count();
  QTimer guard;
  guard.setSingleShot(true);
  guard.start(5000);
  while (view_->full_redraw_count() == redraws && guard.isActive())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EXPECT_EQ(view_->full_redraw_count(), redraws + 1) << "the rest brings one more redraw";
  EXPECT_FALSE(view_->last_redraw_fast());

  zoom();
  ASSERT_TRUE(view_->last_redraw_fast());
  Mouse(view_.get(), QEvent::MouseMove, {60, 60});
  EXPECT_FALSE(view_->last_redraw_fast()) << "a movement in the area selection draws in full at once";
}

TEST_F(MapViewTest, TheRubberBandIsDrawnInTheInvertedBackgroundAndErased) {
  view_->RunCommand(cmd::kAreaSelection);
  Drag(view_.get(), {{50, 50}, {150, 120}});
  EXPECT_EQ(view_->grab().toImage().pixelColor(100, 50), QColor(Qt::black));
  Mouse(view_.get(), QEvent::MouseButtonRelease, {150, 200});
  EXPECT_DOUBLE_EQ(view_->viewport().resolution(), 1.0) << "150 of 300 rows fill the height";
  EXPECT_TRUE(IsWhite(view_->grab().toImage(), 100, 50));
}

TEST_F(MapViewTest, TheWheelZoomsByWholeNotchesOnlyWithTheZoomTool) {
  Wheel(view_.get(), 60);
  EXPECT_DOUBLE_EQ(view_->viewport().resolution(), 2.0);
  Wheel(view_.get(), 60);
  EXPECT_DOUBLE_EQ(view_->viewport().resolution(), 1.0);
  view_->RunCommand(cmd::kPan);
  Wheel(view_.get(), -120);
  EXPECT_DOUBLE_EQ(view_->viewport().resolution(), 1.0);
}

TEST_F(MapViewTest, HeldRedrawsShowTheKeptImageAndComeAfterTheHold) {
  const QImage before = view_->grab().toImage();
  view_->HoldRedraws(true);
  view_->RunCommand(cmd::kMoveEastFar);
  view_->requestFullRedraw();
  view_->requestVectorRedraw();
  EXPECT_EQ(view_->full_redraw_count(), 1);
  EXPECT_EQ(view_->grab().toImage(), before) << "only the kept image";
  view_->HoldRedraws(false);
  QApplication::processEvents();
  EXPECT_EQ(view_->full_redraw_count(), 2) << "the redraws asked for, made once";
  EXPECT_NE(view_->grab().toImage(), before);
}

TEST_F(MapViewTest, ContextMenuGreysWhatCannotRunNow) {
  std::unique_ptr<QMenu> menu = view_->BuildContextMenu();
  EXPECT_FALSE(FindAction(menu.get(), cmd::kPreviousView)->isEnabled()) << "no previous view yet";
  EXPECT_FALSE(FindAction(menu.get(), cmd::kDrawArcMode)->isEnabled()) << "no main window to run it";
  view_->RunCommand(cmd::kZoomInTwice);
  view_->SetCommandHandler([](int) {});
  menu = view_->BuildContextMenu();
  EXPECT_TRUE(FindAction(menu.get(), cmd::kPreviousView)->isEnabled());
  EXPECT_TRUE(FindAction(menu.get(), cmd::kDrawArcMode)->isEnabled()) << "the graph has arcs";
}

// The main window over an empty database whose settings hold a stored view.
class MapWindowInMainFrameTest : public testing::MainFrameOverDatabaseTest {
 protected:
  MapWindowInMainFrameTest() {
    Start("\"MappaScala\"=\"2.5000\"\n\"MappaOrgX\"=\"1000.0000\"\n\"MappaOrgY\"=\"2000.0000\"\n");
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }

  // Arc 1 along these points, from node 1 at the first to node 2 at the last, in the map data.
  void AddArc(const std::vector<Point>& points) {
    {
      testing::NetworkBuilder network(*frame_->state().connection);
      ASSERT_TRUE(network.AddNode(1, points.front().x, points.front().y));
      ASSERT_TRUE(network.AddNode(2, points.back().x, points.back().y));
      ASSERT_TRUE(network.AddArc(testing::Arc(1, 1, 2, points)));
    }
    frame_->RebuildMap();
  }
};

TEST_F(MapWindowInMainFrameTest, TheFirstPaintCreatesTheMapWindowAtTheSavedViewAndExitKeepsIt) {
  ASSERT_NE(frame_->map_data(), nullptr);
  EXPECT_EQ(frame_->map_view(), nullptr) << "not before the window paints";

  MapView* view = ShowMap();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Saved(), (SavedMapView{2.5, 1000, 2000}));
  EXPECT_TRUE(view->hasFocus());

  view->RunCommand(cmd::kMoveEastFar);
  const double x0 = view->Saved().origin_x;
  ui_.QueueAnswer(true);
  frame_->ExecuteCommand(cmd::kExit);
  EXPECT_NE(Config().find("\"MappaScala\"=\"2.5000\""), std::string::npos) << Config();
  EXPECT_NE(Config().find("\"MappaOrgX\"=\"" + FormatFixed(x0, 4) + "\""), std::string::npos) << Config();
}

TEST_F(MapWindowInMainFrameTest, MapKeysActOnlyWhileTheMapWindowHasTheFocus) {
  MapView* view = ShowMap();
  ASSERT_NE(view, nullptr);
  auto* other = new QWidget(frame_.get());
  other->setFocusPolicy(Qt::StrongFocus);
  other->show();
  other->setFocus(Qt::OtherFocusReason);
  Key(Qt::Key_PageUp);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(view->viewport().resolution(), 2.5);
  EXPECT_EQ(view->tool(), NavigationTool::Zoom);

  view->setFocus(Qt::OtherFocusReason);
  Key(Qt::Key_PageUp);
  EXPECT_DOUBLE_EQ(view->viewport().resolution(), 1.25);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(view->tool(), NavigationTool::Pan);
  // Ctrl+V belongs to the main window: it acts wherever the focus is.
  other->setFocus(Qt::OtherFocusReason);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_NE(frame_->styling_window(), nullptr);
}

TEST_F(MapWindowInMainFrameTest, AFirstImportMovesAWindowThatShowsNothingToTheWholeMap) {
  MapView* view = ShowMap();
  ASSERT_NE(view, nullptr);
  AddArc({{650000, 5100000}, {651000, 5100500}});
  EXPECT_DOUBLE_EQ(view->viewport().x0(), 650000);
  EXPECT_DOUBLE_EQ(view->viewport().y0(), 5100000);
}

TEST_F(MapWindowInMainFrameTest, ReconnectingKeepsTheViewAndDisconnectingDropsIt) {
  MapView* view = ShowMap();
  ASSERT_NE(view, nullptr);
  view->RunCommand(cmd::kZoomOutTwice);
  const SavedMapView moved = view->Saved();

  // Connecting again drops the window, keeping its view for the next one.
  ui_.QueueFile(database_);
  frame_->ExecuteCommand(cmd::kConnectDatabase);
  EXPECT_EQ(frame_->map_view(), nullptr);
  EXPECT_EQ(frame_->settings().view, moved);
  view = ShowMap();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Saved(), moved);

  // Disconnecting throws window and data away.
  ui_.QueueAnswer(true);
  frame_->ExecuteCommand(cmd::kDisconnectDatabase);
  EXPECT_EQ(frame_->map_view(), nullptr);
  EXPECT_EQ(frame_->map_data(), nullptr);
  EXPECT_FALSE(frame_->Status(cmd::kPan).enabled);
}

// In the drag mode a vertex follows the pointer over the kept image, and the release writes it and
// redraws the layers once.
TEST_F(MapWindowInMainFrameTest, ADraggedVertexRepaintsOnlyTheOverlayUntilTheRelease) {
  AddArc({{1100, 2100}, {1200, 2150}, {1300, 2100}});
  MapView* view = ShowMap();
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->editor(), nullptr);
  frame_->ExecuteCommand(cmd::kDragMode);
  EXPECT_EQ(view->tool(), NavigationTool::Zoom) << "the zoom tool stays: a held vertex wins over it";

  // Just inside the bend: beyond it no perpendicular falls on either segment, and the arc is not picked.
  Pointer(view, QEvent::MouseMove, {1199.5, 2149});
  ASSERT_TRUE(view->editor()->state().hot_vertex);
  EXPECT_EQ(frame_->Panes()->PaneText(StatusPane::Mode), QStringLiteral("Modo Trascinamento"));
  const double resolution = view->viewport().resolution();
  const int full = view->full_redraw_count();
  const int vector = view->vector_redraw_count();
  Pointer(view, QEvent::MouseButtonPress, {1199.5, 2149}, true);
  Pointer(view, QEvent::MouseMove, {1210, 2170}, true);
  Pointer(view, QEvent::MouseMove, {1220, 2190}, true);
  QApplication::processEvents();
  EXPECT_EQ(view->full_redraw_count(), full);
  EXPECT_EQ(view->vector_redraw_count(), vector) << "no layer is drawn during the drag";
  EXPECT_DOUBLE_EQ(view->viewport().resolution(), resolution) << "the zoom tool did not take the drag";
  Pointer(view, QEvent::MouseButtonRelease, {1220, 2190});
  EXPECT_GE(view->vector_redraw_count() + view->full_redraw_count(), vector + full + 1);
  EXPECT_EQ(testing::Rows(*frame_->state().connection, "punti", "geoarchi", "ID = 1 AND maxy > 2189"),
            std::vector<std::string>{"3"})
      << "the vertex followed the pointer 40 m up";

  // Back in the navigation, the context menu over the arc offers its data.
  frame_->ExecuteCommand(cmd::kDragMode);
  const PointArray& moved = view->editor()->caches().FindArc(1)->polylines[0];
  Pointer(view, QEvent::MouseMove, {(moved[0].x + moved[1].x) / 2, (moved[0].y + moved[1].y) / 2});
  std::unique_ptr<QMenu> menu = view->BuildContextMenu();
  ASSERT_NE(FindAction(menu.get(), cmd::kEditArcData), nullptr);
  EXPECT_TRUE(FindAction(menu.get(), cmd::kEditArcData)->isEnabled());
}

// The background chosen is drawn under the layers at every full redraw; a file that goes away leaves
// the map drawn without it and says so after the paint.
TEST_F(MapWindowInMainFrameTest, TheChosenBackgroundIsDrawnUntilItsFileGoes) {
  const std::string orthophoto = dir_.File("sfondo.sfw");
  {
    background::BackgroundWriter writer(BackgroundFormat::Orthophoto, {});
    ASSERT_TRUE(writer.Open(orthophoto));
    RasterImage image;
    image.Create(256, 256, 8);
    image.palette[0] = 0x2040C0;
    ASSERT_TRUE(writer.AddRaster({1, "tutto", -1, -1, Box::Of(0, 0, 10000, 10000)}, image));
    ASSERT_TRUE(writer.Finish(Box::Of(0, 0, 10000, 10000)));
  }
  ui_.QueueFile(orthophoto);
  frame_->ExecuteCommand(cmd::kChooseBackground);
  ASSERT_NE(frame_->map_data(), nullptr);
  ASSERT_NE(frame_->map_data()->background(), nullptr);
  EXPECT_EQ(frame_->map_data()->extent, Box::Of(0, 0, 10000, 10000));
  MapView* view = ShowMap();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->map_image().pixelColor(100, 100), ToQColor(0x2040C0));

  std::filesystem::remove(orthophoto);
  ui_.ClearMessages();
  // Of full quality: a fast redraw would leave the rasters out anyway.
  view->viewport().full_quality = true;
  view->requestFullRedraw();
  EXPECT_TRUE(IsWhite(view->map_image(), 100, 100));
  EXPECT_TRUE(ui_.messages().empty()) << "not inside the paint";
  QApplication::processEvents();
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.last_message().text, kBackgroundReadErrorMessage);
}

}  // namespace
}  // namespace viamappa
