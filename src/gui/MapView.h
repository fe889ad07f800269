// The map window: shows the map data at the current view through two off-screen images (the
// background, and the map drawn over it), lets the person move around with the mouse, the wheel, the
// keys and the context menu, and edit the graph with the mouse and the editing keys. The rules live in
// the core (MapNavigation, MapEditor, the renderer); the window carries out what they answer and paints
// the editing overlay over the kept map image.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/CommandTable.h"
#include "app/Settings.h"
#include "edit/MapEditor.h"
#include "map/DeviceMetrics.h"
#include "map/MapNavigation.h"
#include "map/MapRenderer.h"
#include "map/RedrawClock.h"
#include "map/Viewport.h"
#include "query/HitView.h"
#include "query/MapQueries.h"
#include "query/RouteSession.h"
#include "ui/Canvas.h"

class QMenu;

namespace viamappa {

class DbConnection;
class LayerSet;
class StatusBar;

class MapView : public QWidget {
  Q_OBJECT
 public:
  // Shows layers (may be null: only the background is drawn) at the saved view. connection, when
  // given, supplies the street names and must outlive the window; panes, when given, receives the
  // status texts.
  MapView(LayerSet* layers, DbConnection* connection, const SavedMapView& saved, DeviceMetrics metrics,
          StatusBar* panes, QWidget* parent = nullptr);
  ~MapView() override;

  // Hands over other map data (or none); the next paint draws them. The window never keeps anything of
  // the layer set it is given except this pointer.
  void SetLayers(LayerSet* layers);
  LayerSet* layers() const { return layers_; }

  // Runs a command the map window carries out itself: the tools (40001, 40002, 40004), the home view
  // (40003), the previous view (5111), the zooms and moves of the keys (5501 to 5516), the editing
  // commands (5114, 5115, 5122 to 5124, 5517 to 5523) and the undo and redo of edits (5524, 5525) while
  // the editing works. False for any other id.
  bool RunCommand(int id);

  // The map is drawn anew, background and layers, before returning.
  void requestFullRedraw();
  // The layers are drawn anew over the kept background (after an edit), of full quality, before
  // returning.
  void requestVectorRedraw();

  // While redraws are held (a command on another thread uses the database that the street names read),
  // every paint shows the map image as last drawn and the redraws asked for wait; they are made at the
  // first paint after the hold.
  void HoldRedraws(bool hold);

  // How long the person must leave mouse and keys alone before a view drawn fast is drawn again in full.
  static constexpr int kSettleMs = 500;
  bool redraws_held() const { return redraws_held_; }

  // Commands of the main window's table chosen in the context menu (the modes, the toponym search, the
  // tools) go to this handler; without one the window runs its own and greys the others.
  void SetCommandHandler(std::function<void(int)> handler) { command_handler_ = std::move(handler); }
  // Where the mode flags shown in the context menu come from.
  void SetModesSource(std::function<MapModes()> source) { modes_source_ = std::move(source); }
  // The editing modes see each mouse press, movement and release first; an event they take goes no
  // further. Without a claim every event is the navigation's.
  void SetPointerClaim(std::function<bool(QMouseEvent*)> claim) { pointer_claim_ = std::move(claim); }

  // What the editing tells the rest of the program (path points, routing graph, stored edits). The
  // editing works over map data with a database behind them; editor() is null otherwise.
  void SetEditorHooks(EditorHooks hooks);
  MapEditor* editor() const { return editor_.get(); }
  // The mode flags changed: the editing leaves its picked vertex and snap behind.
  void ModesChanged();
  // A command of the main window has ended: when it wrote rows, the edits made before it can no longer
  // be undone or redone.
  void ForgetEditsChangedBehind();
  // The highlight set drawn over the arcs and the fragment of the last toponym search.
  MapQueries& queries() { return queries_; }
  const MapQueries& queries() const { return queries_; }
  // Brings an accepted hit of the toponym search into view: the view zoomed on its box with its margin
  // and drawn anew, then the hit's arc picked and the system pointer moved where the hit asks.
  void ShowHit(const HitView& view);
  // The shortest path between the points the route modes chose, with its markers.
  const RouteSession& route() const { return route_; }
  // A batch command changed the graph: the next path is computed over a graph built anew.
  void RoutingGraphStale() { route_.MarkGraphStale(); }

  // Who else is told of the arc a single-arc hit picks (the editing makes it its hot arc).
  void SetHitArcPick(std::function<void(std::int32_t)> pick) { hit_arc_pick_ = std::move(pick); }

  NavigationTool tool() const { return navigation_.tool(); }
  const Viewport& viewport() const { return viewport_; }
  Viewport& viewport() { return viewport_; }
  SavedMapView Saved() const { return viewport_.Saved(); }

  // The context menu of this moment, as a right click shows it.
  std::unique_ptr<QMenu> BuildContextMenu();

  // How many full redraws and vector redraws the window has made, and the map image as last drawn (for
  // checks).
  int full_redraw_count() const { return full_redraws_; }
  // Whether the last full redraw was fast (detail cut while the person moves around quickly).
  bool last_redraw_fast() const { return clock_.last_was_fast(); }
  int vector_redraw_count() const { return vector_redraws_; }
  const QImage& map_image() const { return map_image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool PrepareImages();
  // Input reached the map window: the settling waits for the person to rest again.
  void NoteInput();
  void Settle();
  void FullRedraw();
  void DrawVectorPass(bool fast);
  void Execute(const NavigationOutcome& outcome);
  void Execute(const EditOutcome& outcome);
  void RebuildEditor();
  // The route modes chose a point: it becomes the start marker, or the end marker and the path is
  // computed. False when nothing was marked (no arcs, or the graph could not be built).
  bool MarkRouteStart(const RoutePoint& point);
  bool MarkRouteEnd(const RoutePoint& point);
  PointerInput InputOf(const QMouseEvent* event) const;
  void PaintOverlay(QPainter& painter, const QRect& area);
  void RunMenuCommand(int id);
  bool CanRunFromMenu(int id) const;
  bool GraphHasArcs() const;
  Box Extent() const;

  LayerSet* layers_;
  DbConnection* connection_;
  std::unique_ptr<StreetNameSource> names_;
  StatusBar* panes_;
  Viewport viewport_;
  MapNavigation navigation_;
  RedrawClock clock_;
  QImage background_image_;
  QImage map_image_;
  Colour background_ = kWhite;
  bool vector_redraw_ = false;
  bool redraws_held_ = false;
  // Fires once the person has left mouse and keys alone for a while after a fast redraw: the resting view
  // is then drawn in full quality.
  QTimer settle_timer_;
  bool startup_applied_ = false;
  std::optional<PixelPoint> pan_shift_;  // the map image shown shifted while a pan drag is under way
  std::optional<WindowRect> band_;       // the rubber band of the area selection
  int wheel_rest_ = 0;                   // wheel turning not yet a whole notch
  int full_redraws_ = 0;
  int vector_redraws_ = 0;
  std::function<void(int)> command_handler_;
  std::function<MapModes()> modes_source_;
  std::function<bool(QMouseEvent*)> pointer_claim_;
  // The editing goes before the data it works on: it is rebuilt with every new layer set.
  std::unique_ptr<EditDialogs> edit_dialogs_;
  EditorHooks editor_hooks_;
  std::unique_ptr<MapEditor> editor_;
  QImage overlay_image_;  // the map image with the editing overlay, as painted
  MapQueries queries_;
  std::function<void(std::int32_t)> hit_arc_pick_;
  RouteSession route_;
};

}  // namespace viamappa
