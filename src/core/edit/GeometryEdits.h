// The edits of the road graph's geometry: a vertex deleted, inserted or moved, a node moved with the
// arc ends that meet at it, a dragged vertex attached to another node or arc, an arc split, a new arc
// stored with its end nodes. Each edit that writes does so in one transaction through the graph's
// tables, changes the arcs and nodes caches in place only once its rows are stored, and answers what it
// changed (nothing when it failed or had nothing to do). New identifiers are the largest + 1; dates are
// today's; every coordinate written is rounded to hundredths.
//
// A drag changes the caches only, at every pointer move; its rows (polylines, node positions, the
// arcs' modified flags) are written together when the button is released.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "db/DbConnection.h"
#include "edit/GraphCaches.h"
#include "edit/GraphChange.h"

namespace viamappa {

// Today as the edits write it: "dd/mm/yyyy".
std::string TodayText();

// The arcs and nodes a drag has changed in the caches and not yet written.
struct PendingGeometry {
  struct ArcPart {
    FeatureRef<LineFeature> arc;
    std::int32_t part = 0;
    PointArray original;  // the part before the drag
  };
  struct NodeMove {
    FeatureRef<PointFeature> node;
    Point original;  // where the node stood before the drag
  };

  std::optional<ArcPart> main;                    // the arc whose own vertex moved or was inserted
  std::vector<ArcPart> others;                    // arcs whose end moved with a dragged node, each once
  std::vector<NodeMove> nodes;                    // nodes moved, each once
  std::optional<std::pair<Point, Point>> vertex;  // the dragged vertex: where it started, where it is
  bool inserted = false;                          // the drag began by inserting its vertex

  bool empty() const { return !main && others.empty() && nodes.empty(); }
  void clear() { *this = {}; }
};

// Where a dragged vertex would be attached: a node (no arc) or a point on a segment of an arc.
struct DropTarget {
  Point point;
  FeatureRef<LineFeature> arc;  // none for a node
  std::int32_t part = 0;
  std::int32_t segment_end = 0;  // the index of the end point of the segment the point lies on
};

// The two halves of a polyline cut at F on the segment ending at j (1 .. count-1); F equal to a vertex
// cuts there without repeating it. nullopt when the cut would leave a piece of one point (F is the
// first or the last point) or j is out of range.
std::optional<std::pair<PointArray, PointArray>> SplitPoints(const PointArray& line, std::int32_t j,
                                                             const Point& f);

// The traced points without consecutive repeats; a new arc needs two of them.
std::vector<Point> DistinctTracedPoints(const std::vector<Point>& traced);

// The names and the road class an arc is stored with (a new arc, or one whose attributes changed).
struct ArcAttributeValues {
  std::string denom;
  std::string alterna;
  std::string classe;
};

class GeometryEdits {
 public:
  // Works on the open database and the caches, which must outlive it. today gives the date written.
  GeometryEdits(DbConnection& connection, GraphCaches& caches,
                std::function<std::string()> today = TodayText);

  GraphCaches& caches() { return caches_; }
  DbConnection& connection() { return connection_; }

  // Deletes the interior vertex equal to vertex from the first part (of more than two points) that holds
  // it exactly once; end points are never deleted. Writes the polyline and marks the arc modified.
  GraphChange DeleteVertex(LineFeature& arc, const Point& vertex);

  // Inserts the pointer's world point, rounded, into the segment whose perpendicular foot is nearest,
  // and registers the arc as the drag's main arc. Caches only. The inserted point, or nullopt when no
  // foot falls on a segment.
  std::optional<Point> InsertVertex(PendingGeometry& pending, LineFeature& arc, const Point& pointer);

  // Moves the first vertex equal to from in a part of the arc to to, registering the arc; when it is the
  // part's first or last vertex the node there moves too (MoveNode). Caches only. False when no part
  // holds the vertex.
  bool MoveVertex(PendingGeometry& pending, LineFeature& arc, const Point& from, const Point& to);

  // Moves every arc end and every node standing exactly at from to to, registering them. Caches only.
  void MoveNode(PendingGeometry& pending, const Point& from, const Point& to);

  // Writes what a drag changed: node positions, polylines, the arcs marked modified. The drag is over:
  // pending is emptied; when its rows cannot be stored the caches go back to where the drag began.
  GraphChange SaveDrag(PendingGeometry& pending);

  // Puts the arcs and nodes of a drag back where it began, writing nothing, and empties pending.
  void AbandonDrag(PendingGeometry& pending);

  // Ends a drag over a target: a target point inside an arc splits that arc there; the dragged vertex
  // takes the target point (an interior vertex then splits its arc, an end vertex moves its node); then
  // the drag is written and the nodes left coinciding at the target are merged into the first.
  GraphChange AttachDragged(PendingGeometry& pending, LineFeature& arc, const Point& vertex,
                            const DropTarget& target);

  // Splits the arc at f, a point on the segment ending at segment_end of the part: the arc keeps the
  // first half and ends at the node at f (found or created); a new arc, a copy of its record, takes the
  // second half. Nothing when f is an end of the arc.
  GraphChange SplitArc(LineFeature& arc, std::int32_t part, std::int32_t segment_end, const Point& f);

  // Splits the arc at the foot of the perpendicular from the pointer (rounded) nearest to it.
  GraphChange SplitArcAt(LineFeature& arc, const Point& pointer);

  // Stores a traced arc: its end nodes (found or created), its archi row with the form's values as an
  // added arc, its polyline; it joins the cache. With fewer than two distinct points nothing is written
  // and the person is told.
  GraphChange FinishNewArc(const std::vector<Point>& traced, const ArcAttributeValues& values);

 private:
  class Session;

  DbConnection& connection_;
  GraphCaches& caches_;
  std::function<std::string()> today_;
};

// The message of a traced arc that cannot become an arc.
inline constexpr const char* kTooFewPointsMessage =
    "ATTENZIONE: l'arco stradale tracciato non ha almeno due punti distinti.\n\n"
    "L'arco non è stato registrato.";

}  // namespace viamappa
