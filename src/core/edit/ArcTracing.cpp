#include "edit/ArcTracing.h"

#include <algorithm>
#include <cmath>

#include "edit/HoverGesture.h"
#include "edit/StreetNameValidation.h"

namespace viamappa {

Point ArcTracing::SnappedPoint(EditContext& c, bool first_point) {
  const PointerFrame pointer(c.viewport, c.state.pointer.x, c.state.pointer.y);
  const TracedPointSnap snap = SnapTracedPoint(c.caches, pointer, first_point);
  // The arc is cut exactly where the new point lies, so that the new arc meets the node made there.
  if (snap.split) c.outcome.Stored(c.edits.SplitArc(*snap.split, snap.part, snap.segment_end, snap.point));
  return snap.point;
}

void ArcTracing::Start(EditContext& c) {
  if (!c.modes.draw_arc || c.state.traced) return;
  c.state.traced.emplace();
  c.state.traced->push_back(SnappedPoint(c, true));
  c.state.band_end.reset();
  c.outcome.clear_navigation_tool = true;
  c.outcome.overlay = true;
}

void ArcTracing::AddPoint(EditContext& c) {
  if (!c.state.traced) return;
  const Point p = SnappedPoint(c, false);
  c.state.traced->push_back(p);
  c.outcome.overlay = true;
}

void ArcTracing::RemoveLastPoint(EditContext& c) {
  std::optional<std::vector<Point>>& traced = c.state.traced;
  c.outcome.overlay = true;
  if (!traced || traced->size() < 2) return;
  traced->pop_back();
  const Point& last = traced->back();
  if (!c.viewport.Visible().Contains(last.x, last.y)) {
    c.viewport.CentreOn(last.x, last.y);
    c.viewport.UpdateExtent();
    c.state.band_end.reset();
    c.outcome.full_redraw = true;
  }
}

void ArcTracing::Finish(EditContext& c, EditDialogs& dialogs) {
  if (!c.state.traced) return;
  // The arc stays drawn while its form is open; it goes whatever the answer.
  const std::vector<Point> traced = *c.state.traced;
  c.outcome.overlay = true;
  // The pointer goes back where it was before the form.
  c.outcome.warp_pointer = c.state.pointer;
  if (DistinctTracedPoints(traced).size() < 2) {
    c.state.traced.reset();
    c.state.band_end.reset();
    c.edits.connection().ui().ShowMessage(kTooFewPointsMessage, MessageIcon::Stop);
    return;
  }
  // The attributes dialog of a new arc: identifier 999999, nothing to show, nothing to delete.
  StreetNameValidation validation(c.edits.connection(), dialogs);
  ArcAttributesDialog dialog(ArcAttributesInputs{}, c.edits.connection().ui(),
                             [&](std::string& text) { return validation.Validate(text); });
  const bool accepted = dialogs.RunArcAttributes(dialog) == ArcDialogClose::Ok;
  c.state.traced.reset();
  c.state.band_end.reset();
  GraphChange change;
  if (accepted) change = c.edits.FinishNewArc(traced, dialog.values());
  // What the name checks added to the directory stays, and is part of this edit.
  change.Directory(validation.added());
  c.outcome.Stored(std::move(change));
}

void ArcTracing::Abandon(EditContext& c) {
  c.state.traced.reset();
  c.state.band_end.reset();
  c.outcome.overlay = true;
}

PixelPoint ArcTracing::BandAnchor(const Viewport& viewport, const Point& last) {
  const Point at = viewport.WorldToPixel(last.x, last.y);
  const auto clamp = [](double value, int size) {
    const double whole = std::trunc(value);
    return static_cast<int>(std::clamp(whole, 0.0, static_cast<double>(std::max(size - 1, 0))));
  };
  return {clamp(at.x, viewport.width()), clamp(at.y, viewport.height())};
}

void ArcTracing::Step(EditContext& c, const PointerFrame& pointer) {
  const int w = c.viewport.width();
  const int h = c.viewport.height();
  const int x = pointer.px;
  const int y = pointer.py;
  if (x < kTracingEdgePixels || x > w - kTracingEdgePixels || y < kTracingEdgePixels ||
      y > h - kTracingEdgePixels) {
    c.viewport.CentreOn(pointer.world.x, pointer.world.y);
    c.viewport.UpdateExtent();
    c.state.band_end.reset();
    c.outcome.full_redraw = true;
    c.outcome.warp_pointer = PixelPoint{w / 2, h / 2};
    c.state.pointer = *c.outcome.warp_pointer;
    return;
  }
  HoverGesture::Snap(c, pointer);
  c.state.band_end = PixelPoint{x, y};
  c.outcome.overlay = true;
}

}  // namespace viamappa
