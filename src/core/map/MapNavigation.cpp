#include "map/MapNavigation.h"

#include <algorithm>

#include "map/CommandIds.h"

namespace viamappa {

namespace {

constexpr const char* kBlank = " ";

// How far a rubber band is copied back beyond its own edges when it is erased.
constexpr int kBandMargin = 10;

// The four panes of a status: mode, scale, prompt, and a blank note.
void SetPanes(NavigationOutcome& outcome, std::string_view name, const std::string& scale,
              std::string_view prompt) {
  outcome.panes.Set(StatusPane::Mode, std::string(name));
  outcome.panes.Set(StatusPane::Scale, scale);
  outcome.panes.Set(StatusPane::Prompt, std::string(prompt));
  outcome.panes.Set(StatusPane::Note, kBlank);
}

}  // namespace

WindowRect WindowRect::Spanning(PixelPoint a, PixelPoint b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

std::string_view ToolName(NavigationTool tool) {
  switch (tool) {
    case NavigationTool::Pan:
      return "Spostamento Mappa";
    case NavigationTool::Zoom:
      return "Zoom Scala";
    case NavigationTool::AreaSelection:
      return "Selezione Area Evidenziata";
    case NavigationTool::None:
      break;
  }
  return {};
}

NavigationOutcome MapNavigation::Command(int id, const Box& extent) {
  switch (id) {
    case cmd::kPan:
      return SelectTool(NavigationTool::Pan);
    case cmd::kZoom:
      return SelectTool(NavigationTool::Zoom);
    case cmd::kAreaSelection:
      return SelectTool(NavigationTool::AreaSelection);
    case cmd::kHomeView:
      return HomeView(extent);
    case cmd::kPreviousView:
      return PreviousView();
    case cmd::kZoomInTwice:
      return Rescale(0.5);
    case cmd::kZoomInFourTimes:
      return Rescale(0.25);
    case cmd::kZoomOutTwice:
      return Rescale(2.0);
    case cmd::kZoomOutFourTimes:
      return Rescale(4.0);
    case cmd::kMoveWest:
      return Move(-0.125, 0);
    case cmd::kMoveWestFar:
      return Move(-0.75, 0);
    case cmd::kMoveEast:
      return Move(0.125, 0);
    case cmd::kMoveEastFar:
      return Move(0.75, 0);
    case cmd::kMoveNorth:
      return Move(0, 0.125);
    case cmd::kMoveNorthFar:
      return Move(0, 0.75);
    case cmd::kMoveSouth:
      return Move(0, -0.125);
    case cmd::kMoveSouthFar:
      return Move(0, -0.75);
    case cmd::kMoveNorthWest:
      return Move(-0.125, 0.125);
    case cmd::kMoveNorthEast:
      return Move(0.125, 0.125);
    case cmd::kMoveSouthWest:
      return Move(-0.125, -0.125);
    case cmd::kMoveSouthEast:
      return Move(0.125, -0.125);
    default:
      return {};
  }
}

NavigationOutcome MapNavigation::SelectTool(NavigationTool tool) {
  tool_ = tool;
  NavigationOutcome outcome;
  outcome.handled = true;
  SetPanes(outcome, kBlank, viewport_.scale_text(), ToolName(tool));
  return outcome;
}

// The centre is the middle of the window's extent; the scale changes around it.
NavigationOutcome MapNavigation::Rescale(double factor) {
  viewport_.UpdateExtent();
  const double cx = (viewport_.x0() + viewport_.x1()) / 2;
  const double cy = (viewport_.y0() + viewport_.y1()) / 2;
  viewport_.Rescale(factor);
  viewport_.CentreOn(cx, cy);
  viewport_.full_redraw = true;
  quality_pending_ = true;
  NavigationOutcome outcome;
  outcome.handled = true;
  outcome.repaint = true;
  return outcome;
}

// Fractions of the window's width east and of its height north.
NavigationOutcome MapNavigation::Move(double east, double north) {
  viewport_.UpdateExtent();
  viewport_.MoveBy(east * (viewport_.x1() - viewport_.x0()), north * (viewport_.y1() - viewport_.y0()));
  quality_pending_ = true;
  NavigationOutcome outcome;
  outcome.handled = true;
  outcome.repaint = true;
  return outcome;
}

NavigationOutcome MapNavigation::HomeView(const Box& extent) {
  viewport_.Home(extent);
  NavigationOutcome outcome;
  outcome.handled = true;
  outcome.repaint = true;
  SetPanes(outcome, kBlank, viewport_.scale_text(), "Ripristina centratura e scala");
  return outcome;
}

NavigationOutcome MapNavigation::PreviousView() {
  NavigationOutcome outcome;
  outcome.handled = true;
  if (!viewport_.PreviousView()) return outcome;
  outcome.repaint = true;
  outcome.panes.Set(StatusPane::Scale, viewport_.scale_text());
  outcome.panes.Set(StatusPane::Prompt, PositionText(viewport_.x0(), viewport_.y0()));
  outcome.pointer = PointerShape::Normal;
  return outcome;
}

NavigationOutcome MapNavigation::LeftButtonDown() {
  NavigationOutcome outcome;
  outcome.handled = true;
  if (tool_ == NavigationTool::Pan) outcome.pointer = PointerShape::Pan;
  if (tool_ == NavigationTool::Zoom) outcome.pointer = PointerShape::Zoom;
  return outcome;
}

bool MapNavigation::TakePendingQualityRedraw() {
  if (!quality_pending_) return false;
  quality_pending_ = false;
  viewport_.full_redraw = true;
  viewport_.full_quality = true;
  return true;
}

NavigationOutcome MapNavigation::PointerMoved(int x, int y, bool left_button, const Box& extent) {
  if (left_button && tool_ != NavigationTool::None) return DragMoved({x, y});
  NavigationOutcome outcome;
  outcome.handled = true;
  outcome.panes.Set(StatusPane::Mode, mode_name_);
  if (extent.IsEmpty()) {
    outcome.panes.Set(StatusPane::Scale, kBlank);
    outcome.panes.Set(StatusPane::Prompt, "Mappa Vuota");
  } else {
    const Point world = viewport_.PixelToWorld(x, y);
    outcome.panes.Set(StatusPane::Scale, viewport_.scale_text());
    outcome.panes.Set(StatusPane::Prompt, PositionText(world.x, world.y));
  }
  return outcome;
}

NavigationOutcome MapNavigation::DragMoved(PixelPoint at) {
  NavigationOutcome outcome;
  outcome.handled = true;
  if (!anchor_) anchor_ = at;
  const PixelPoint anchor = *anchor_;
  switch (tool_) {
    case NavigationTool::Pan:
      outcome.pan_shift = PixelPoint{at.x - anchor.x, at.y - anchor.y};
      break;
    case NavigationTool::Zoom:
      // Each pixel up zooms in by a step, each pixel down out; the next movement starts afresh.
      if (at.y != anchor.y) {
        viewport_.ZoomSteps(anchor.y, at.y);
        anchor_.reset();
        outcome.repaint = true;
      }
      break;
    case NavigationTool::AreaSelection:
      if (band_) outcome.erase_band = band_->Widened(kBandMargin);
      band_ = WindowRect::Spanning(anchor, at);
      outcome.draw_band = band_;
      break;
    case NavigationTool::None:
      break;
  }
  WriteDragPanes(outcome, tool_);
  return outcome;
}

void MapNavigation::WriteDragPanes(NavigationOutcome& outcome, NavigationTool tool) const {
  const std::string& scale = viewport_.scale_text();
  switch (tool) {
    case NavigationTool::Pan:
      return SetPanes(outcome, "Spostamento", scale, "Trascina la mappa nel punto voluto");
    case NavigationTool::Zoom:
      return SetPanes(outcome, "Zoom", scale, "Nord=Zoom(+)    Sud=Zoom(-)");
    case NavigationTool::AreaSelection:
      return SetPanes(outcome, "Selezione", scale, "Delimita l'area che desideri ingrandire");
    case NavigationTool::None:
      return;
  }
}

NavigationOutcome MapNavigation::LeftButtonUp(int x, int y, bool last_redraw_fast) {
  NavigationOutcome outcome;
  outcome.handled = true;
  const PixelPoint at{x, y};
  if (anchor_ && at != *anchor_) {
    const PixelPoint anchor = *anchor_;
    switch (tool_) {
      case NavigationTool::AreaSelection:
        viewport_.ZoomToPixelRect(anchor.x, anchor.y, at.x, at.y);
        break;
      case NavigationTool::Zoom:
        viewport_.ZoomSteps(anchor.y, at.y);
        break;
      case NavigationTool::Pan:
        viewport_.PanByPixels(anchor.x, anchor.y, at.x, at.y);
        break;
      case NavigationTool::None:
        break;
    }
    // The kept image shows the view before the drag: the new view is drawn, whatever the last redraw
    // was.
    if (tool_ != NavigationTool::None) viewport_.full_redraw = true;
  }
  anchor_.reset();
  band_.reset();
  if (last_redraw_fast) {
    viewport_.full_quality = true;
    viewport_.full_redraw = true;
  }
  outcome.repaint = true;
  outcome.end_previews = true;
  outcome.pointer = PointerShape::Normal;
  return outcome;
}

NavigationOutcome MapNavigation::Wheel(int delta, const Box& extent) {
  if (tool_ != NavigationTool::Zoom || delta == 0) return {};
  return Command(delta < 0 ? cmd::kZoomOutTwice : cmd::kZoomInTwice, extent);
}

}  // namespace viamappa
