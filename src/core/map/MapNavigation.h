// Moving around the map: the three mouse tools (pan by dragging, zoom by dragging up and down, zoom
// to a dragged rectangle), the wheel, the zoom and move keys, the home and previous views. The
// navigation works on the viewport and answers what the window must then do (repaint, show a preview,
// change the pointer, write the status panes), so that the window only carries it out.
#pragma once

#include <optional>
#include <string>

#include "base/Box.h"
#include "map/MapModes.h"
#include "map/Viewport.h"
#include "ui/StatusPanes.h"

namespace viamappa {

// The pointer shapes of the map window: normal, pan drag and zoom drag.
enum class PointerShape { Normal, Pan, Zoom };

struct PixelPoint {
  int x = -1;
  int y = -1;

  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A rectangle of window pixels with its edges included, left <= right and top <= bottom.
struct WindowRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  // The rectangle spanned by two corners in any order.
  static WindowRect Spanning(PixelPoint a, PixelPoint b);
  WindowRect Widened(int pixels) const {
    return {left - pixels, top - pixels, right + pixels, bottom + pixels};
  }

  friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// What the window must do after a navigation step, in this order: repaint at once (a full redraw when
// the viewport asks for one), show or end the drag previews, write the panes that are given, set the
// pointer shape.
struct NavigationOutcome {
  bool handled = false;  // the step was the navigation's (a command it knows, an event it took)
  bool repaint = false;  // repaint at once
  std::optional<PixelPoint> pan_shift;   // show the kept map image shifted by (x, y), nothing redrawn
  std::optional<WindowRect> erase_band;  // copy this back from the map image (the old rubber band)
  std::optional<WindowRect> draw_band;   // the rubber band of the area selection now
  bool end_previews = false;             // the drag is over: no shifted image, no rubber band
  StatusTexts panes;                     // the status panes to write; unset ones stay as they are
  std::optional<PointerShape> pointer;
};

// The status texts of the tools, as the panes show them.
std::string_view ToolName(NavigationTool tool);

class MapNavigation {
 public:
  // Works on viewport, which must outlive it. The zoom tool is selected at the start.
  explicit MapNavigation(Viewport& viewport) : viewport_(viewport) {}

  NavigationTool tool() const { return tool_; }
  // The editing modes take the tools away while they are on.
  void ClearTool() { tool_ = NavigationTool::None; }

  // The anchor of the drag under way; (-1, -1) outside drags.
  PixelPoint anchor() const { return anchor_.value_or(PixelPoint{}); }
  bool quality_redraw_pending() const { return quality_pending_; }

  // The name pane 0 shows while the pointer moves: "Modo Navigazione" unless an editing mode says
  // otherwise.
  void SetModeName(std::string name) { mode_name_ = std::move(name); }

  // Runs a command of the map window: the tools (40001, 40002, 40004), the home view (40003), the
  // previous view (5111), the zooms and moves of the keys (5501 to 5516). Any other id is not handled.
  NavigationOutcome Command(int id, const Box& extent);

  // The left button went down: the pointer shows the drag of the pan or the zoom tool.
  NavigationOutcome LeftButtonDown();

  // To be asked before each pointer movement: true, once, when a key or menu zoom or move, or a fast
  // redraw, left a full-quality redraw pending; the viewport then asks for it and the window repaints at
  // once.
  bool TakePendingQualityRedraw();

  // A fast redraw has shown the current view with its detail cut: the view waits for a full-quality
  // redraw, at the next pointer movement or when the person rests.
  void SetQualityRedrawPending() { quality_pending_ = true; }

  // The pointer moved to (x, y), with the left button held or not. A drag records its anchor at its
  // first movement, then previews the pan, zooms by steps or draws the rubber band; a movement without
  // a drag shows the mode, the scale and the world position under the pointer.
  NavigationOutcome PointerMoved(int x, int y, bool left_button, const Box& extent);

  // The left button was released at (x, y): a drag that moved off its anchor changes the view by its
  // tool. last_redraw_fast: the last full redraw was fast, so the next one is asked of full quality.
  NavigationOutcome LeftButtonUp(int x, int y, bool last_redraw_fast);

  // The wheel turned; only the zoom tool takes it: toward the person (negative) zooms out by two, away
  // zooms in by two.
  NavigationOutcome Wheel(int delta, const Box& extent);

 private:
  NavigationOutcome SelectTool(NavigationTool tool);
  NavigationOutcome Rescale(double factor);
  NavigationOutcome Move(double east, double north);
  NavigationOutcome HomeView(const Box& extent);
  NavigationOutcome PreviousView();
  NavigationOutcome DragMoved(PixelPoint at);
  void WriteDragPanes(NavigationOutcome& outcome, NavigationTool tool) const;

  Viewport& viewport_;
  NavigationTool tool_ = NavigationTool::Zoom;
  std::optional<PixelPoint> anchor_;
  std::optional<WindowRect> band_;  // the rubber band drawn last
  bool quality_pending_ = false;
  std::string mode_name_ = "Modo Navigazione";
};

}  // namespace viamappa
