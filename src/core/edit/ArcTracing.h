// Drawing a new arc: it starts at the pointer snapped to the graph, takes a point at each press or
// Enter, shows a rubber band from its last point to the pointer, re-centres the map when the pointer
// nears the window's edge, loses its last point on request, and is finished through the arc attributes
// dialog of a new arc or abandoned. A point snapped inside an existing arc splits that arc at once.
#pragma once

#include "edit/EditDialogs.h"
#include "edit/EditingState.h"

namespace viamappa {

// The pointer re-centres the map within this many pixels of the window's edge.
inline constexpr int kTracingEdgePixels = 25;

class ArcTracing {
 public:
  // Starts a new arc at the pointer (drawing mode, not tracing).
  static void Start(EditContext& c);

  // The tracing step of a pointer move.
  static void Step(EditContext& c, const PointerFrame& pointer);

  // Appends the pointer's point, snapped.
  static void AddPoint(EditContext& c);

  // Removes the last point (never the first).
  static void RemoveLastPoint(EditContext& c);

  // Asks for the new arc's values and stores it; the traced arc goes in every case.
  static void Finish(EditContext& c, EditDialogs& dialogs);

  // Throws the traced arc away, writing nothing.
  static void Abandon(EditContext& c);

  // Where the rubber band starts: the last point's pixel, truncated, kept inside the window.
  static PixelPoint BandAnchor(const Viewport& viewport, const Point& last);

 private:
  static Point SnappedPoint(EditContext& c, bool first_point);
};

}  // namespace viamappa
