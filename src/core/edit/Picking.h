// Finding what lies under the pointer: the arc (30 screen units), a vertex of it (15 screen units
// either way), the point the pointer snaps to (15 pixels: an arc end, a node, a foot on a segment) and
// where a dragged vertex would be attached. Candidates come from the spatial indexes, in cache order,
// so that the first in that order still wins as when the whole cache is walked.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_set>

#include "edit/GeometryEdits.h"
#include "edit/GraphCaches.h"
#include "map/Viewport.h"

namespace viamappa {

// The pointer under a viewport: its pixel, its screen units (v measured up from the bottom of the
// window), its world point, and the tolerances in metres.
struct PointerFrame {
  PointerFrame(const Viewport& viewport, int px, int py);
  // A point of the map without a window (the command line): the whole plane counts as visible, and a
  // screen unit is a metre.
  PointerFrame(const Point& at, double snap_metres);

  int px = 0, py = 0;
  std::int64_t u = 0, v = 0;
  Point world;
  Point origin;  // the world point at the window's lower-left corner
  double r = 1;  // metres per screen unit
  Box visible;
  double snap_radius = 0;  // 15 pixels in metres

  // A world point in screen units from the origin, fractional.
  Point ScreenUnitsOf(const Point& p) const { return {(p.x - origin.x) / r, (p.y - origin.y) / r}; }
};

// An arc is picked within this many screen units; a vertex within this many either way; the pointer
// snaps within this many pixels.
inline constexpr double kArcPickUnits = 30;
inline constexpr double kVertexPickUnits = 15;
inline constexpr int kSnapPixels = 15;

// Whether the pointer lies within the pick distance of the arc, through feet of perpendiculars that
// fall on its segments inside the visible window.
bool IsNearArc(const LineFeature& arc, const PointerFrame& pointer);

// The first arc of the cache close enough to pick; null when none.
LineFeature* PickArc(const GraphCaches& caches, const PointerFrame& pointer);

struct VertexPick {
  std::int32_t part = 0;
  std::int32_t index = 0;
  Point vertex;
  Point offset;  // the vertex's screen position less the pointer's, in screen units
};

// The first vertex of the arc, parts and points in order, whose whole screen units lie less than 15
// units from the pointer's in x and in y.
std::optional<VertexPick> PickVertex(const LineFeature& arc, const PointerFrame& pointer);

struct SnapHit {
  Point point;
  LineFeature* end_of = nullptr;  // the arc whose end it is, for a snap to an arc end
  LineFeature* on_arc = nullptr;  // the arc it lies on, for an arc end or a foot; null at a node
};

// The hover snap of the drawing and path modes: an end of an arc meeting the window (arcs in order,
// first point before last), else a node in the window, else the nearest foot on a segment of those
// arcs; each strictly within the snap radius.
std::optional<SnapHit> HoverSnap(const GraphCaches& caches, const PointerFrame& pointer);

// Where a new arc's point goes: the snapped point and, when it lies inside an arc, that arc and the
// segment to split it at.
struct TracedPointSnap {
  Point point;
  LineFeature* split = nullptr;
  std::int32_t part = 0;
  std::int32_t segment_end = 0;
};

// The first point of a new arc (arc ends before nodes) or a further one (nodes before arc ends), then
// the nearest foot on a visible arc (rounded), all strictly within the snap radius; else the pointer's
// point, rounded.
TracedPointSnap SnapTracedPoint(const GraphCaches& caches, const PointerFrame& pointer, bool first_point);

// What the drop-target search leaves out: the nodes at the dragged part's ends and the arcs that meet
// them, which are never a target.
struct DropExclusions {
  std::unordered_set<const PointFeature*> nodes;
  std::unordered_set<std::int32_t> arcs;
};

// The exclusions of a part whose ends are a and b: the nodes there (in the cache) and the arcs whose
// start or end node is one of them (in archi), with the dragged arc itself.
DropExclusions FindDropExclusions(DbConnection& connection, const GraphCaches& caches, const LineFeature& arc,
                                  const Point& a, const Point& b);

// A node in the window within the snap radius of q (the first in order), else the nearest foot, rounded,
// on a segment of an arc meeting the window within the radius.
std::optional<DropTarget> FindDropTarget(const GraphCaches& caches, const PointerFrame& pointer,
                                         const Point& q, const DropExclusions& excluded);

}  // namespace viamappa
