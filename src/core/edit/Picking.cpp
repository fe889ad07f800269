#include "edit/Picking.h"

#include <cmath>
#include <string>

#include "db/DbQuery.h"
#include "geom/Distance.h"
#include "geom/GraphRecords.h"
#include "geom/Hundredths.h"

namespace viamappa {

namespace {

double DistanceBetween(const Point& a, const Point& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

Point Rounded(const Point& p) {
  return {RoundToHundredths(p.x), RoundToHundredths(p.y)};
}

// The nearest foot on the segments of the arcs, strictly within the radius of p; the first arc in order
// wins a tie.
struct NearestOnArcs {
  std::optional<FootOnPolyline> foot;
  LineFeature* arc = nullptr;
  std::int32_t part = 0;
};

template <typename Skip>
NearestOnArcs NearestFootOnArcs(const std::vector<LineFeature*>& arcs, const Point& p, double radius,
                                const Box& visible, Skip skip) {
  NearestOnArcs best;
  for (LineFeature* arc : arcs) {
    if (skip(*arc) || !arc->Bounds().Meets(visible)) continue;
    for (std::size_t part = 0; part < arc->polylines.size(); ++part) {
      const std::optional<FootOnPolyline> foot = NearestFoot(arc->polylines[part], p.x, p.y);
      if (!foot || !(foot->distance < radius)) continue;
      if (!best.foot || foot->distance < best.foot->distance) {
        best.foot = foot;
        best.arc = arc;
        best.part = static_cast<std::int32_t>(part);
      }
    }
  }
  return best;
}

// The first end of an arc meeting the window within the radius: arcs in order, in each its parts, the
// first point before the last.
std::optional<SnapHit> ArcEndWithin(const std::vector<LineFeature*>& arcs, const Point& p, double radius,
                                    const Box& visible) {
  for (LineFeature* arc : arcs) {
    if (!arc->Bounds().Meets(visible)) continue;
    for (const PointArray& line : arc->polylines) {
      if (line.empty()) continue;
      if (DistanceBetween(line.front(), p) < radius) return SnapHit{line.front(), arc, arc};
      if (DistanceBetween(line.back(), p) < radius) return SnapHit{line.back(), arc, arc};
    }
  }
  return std::nullopt;
}

// The first node in the window within the radius.
template <typename Skip>
const PointFeature* NodeWithin(const std::vector<PointFeature*>& nodes, const Point& p, double radius,
                               const Box& visible, Skip skip) {
  for (const PointFeature* node : nodes) {
    if (skip(*node) || !visible.Contains(node->point.x, node->point.y)) continue;
    if (DistanceBetween(node->point, p) < radius) return node;
  }
  return nullptr;
}

}  // namespace

PointerFrame::PointerFrame(const Viewport& viewport, int x, int y)
    : px(x),
      py(y),
      u(viewport.metrics().PixelsToScreenUnits(x)),
      v(viewport.metrics().PixelsToScreenUnits(viewport.height() - y)),
      origin{viewport.x0(), viewport.y0()},
      r(viewport.resolution()),
      visible(viewport.Visible()) {
  world = {origin.x + static_cast<double>(u) * r, origin.y + static_cast<double>(v) * r};
  snap_radius = static_cast<double>(viewport.metrics().PixelsToScreenUnits(kSnapPixels)) * r;
}

PointerFrame::PointerFrame(const Point& at, double snap_metres)
    : world(at), origin(at), visible(Box::Of(-1e300, -1e300, 1e300, 1e300)), snap_radius(snap_metres) {}

bool IsNearArc(const LineFeature& arc, const PointerFrame& pointer) {
  for (const PointArray& line : arc.polylines) {
    const double d = DistanceToPolylineWithin(line, pointer.world.x, pointer.world.y, pointer.visible);
    if (d / pointer.r < kArcPickUnits) return true;
  }
  return false;
}

LineFeature* PickArc(const GraphCaches& caches, const PointerFrame& pointer) {
  // An arc within the pick distance has its box within that distance of the pointer.
  const double reach = kArcPickUnits * pointer.r;
  for (LineFeature* arc : caches.ArcsMeeting(BoxAround(pointer.world, reach)))
    if (IsNearArc(*arc, pointer)) return arc;
  return nullptr;
}

std::optional<VertexPick> PickVertex(const LineFeature& arc, const PointerFrame& pointer) {
  for (std::size_t part = 0; part < arc.polylines.size(); ++part) {
    const std::vector<Point>& points = arc.polylines[part].points();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Point units = pointer.ScreenUnitsOf(points[i]);
      const double dx = std::trunc(units.x) - static_cast<double>(pointer.u);
      const double dy = std::trunc(units.y) - static_cast<double>(pointer.v);
      if (std::fabs(dx) < kVertexPickUnits && std::fabs(dy) < kVertexPickUnits) {
        return VertexPick{
            static_cast<std::int32_t>(part),
            static_cast<std::int32_t>(i),
            points[i],
            {units.x - static_cast<double>(pointer.u), units.y - static_cast<double>(pointer.v)}};
      }
    }
  }
  return std::nullopt;
}

std::optional<SnapHit> HoverSnap(const GraphCaches& caches, const PointerFrame& pointer) {
  const double s = pointer.snap_radius;
  const Box near = BoxAround(pointer.world, s);
  const std::vector<LineFeature*> arcs = caches.ArcsMeeting(near);
  if (auto hit = ArcEndWithin(arcs, pointer.world, s, pointer.visible)) return hit;
  const auto keep = [](const auto&) { return false; };
  if (const PointFeature* node =
          NodeWithin(caches.NodesMeeting(near), pointer.world, s, pointer.visible, keep))
    return SnapHit{node->point, nullptr};
  const NearestOnArcs foot = NearestFootOnArcs(arcs, pointer.world, s, pointer.visible, keep);
  if (foot.foot) return SnapHit{foot.foot->foot, nullptr, foot.arc};
  return std::nullopt;
}

TracedPointSnap SnapTracedPoint(const GraphCaches& caches, const PointerFrame& pointer, bool first_point) {
  const Point p = Rounded(pointer.world);
  const double s = pointer.snap_radius;
  const Box near = BoxAround(p, s);
  const std::vector<LineFeature*> arcs = caches.ArcsMeeting(near);
  const auto keep = [](const auto&) { return false; };
  // The start snaps to any arc end, wherever it lies; so do further points once no node is near.
  const Box everywhere = Box::Of(-1e300, -1e300, 1e300, 1e300);
  const auto node = [&]() -> std::optional<TracedPointSnap> {
    if (const PointFeature* n = NodeWithin(caches.NodesMeeting(near), p, s, everywhere, keep))
      return TracedPointSnap{n->point};
    return std::nullopt;
  };
  const auto arc_end = [&]() -> std::optional<TracedPointSnap> {
    if (auto hit = ArcEndWithin(arcs, p, s, everywhere)) return TracedPointSnap{hit->point};
    return std::nullopt;
  };
  if (first_point) {
    if (auto hit = arc_end()) return *hit;
    if (auto hit = node()) return *hit;
  } else {
    if (auto hit = node()) return *hit;
    if (auto hit = arc_end()) return *hit;
  }
  const NearestOnArcs foot = NearestFootOnArcs(arcs, p, s, pointer.visible, keep);
  if (foot.foot)
    return TracedPointSnap{Rounded(foot.foot->foot), foot.arc, foot.part, foot.foot->segment_end};
  return TracedPointSnap{p};
}

DropExclusions FindDropExclusions(DbConnection& connection, const GraphCaches& caches, const LineFeature& arc,
                                  const Point& a, const Point& b) {
  DropExclusions excluded;
  excluded.arcs.insert(arc.id);
  std::vector<std::int32_t> ids;
  for (const Point& end : {a, b}) {
    for (const PointFeature* node : caches.NodesAt(Rounded(end))) {
      if (excluded.nodes.insert(node).second) ids.push_back(node->id);
    }
  }
  if (ids.empty()) return excluded;
  std::string list;
  for (std::size_t i = 0; i < ids.size(); ++i) list += i ? ", ?" : "?";
  DbQuery query(connection);
  query.SetSelect(arc_field::kId);
  query.SetFrom(kArcTable);
  query.SetWhere(std::string(arc_field::kStartNode) + " IN (" + list + ") OR " +
                 std::string(arc_field::kEndNode) + " IN (" + list + ")");
  // The list appears twice: its parameters are numbered again the second time.
  for (std::size_t i = 0; i < ids.size(); ++i) {
    query.BindInteger(static_cast<int>(i + 1), ids[i]);
    query.BindInteger(static_cast<int>(ids.size() + i + 1), ids[i]);
  }
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0;
    if (query.GetLong(0, id)) excluded.arcs.insert(id);
  }
  return excluded;
}

std::optional<DropTarget> FindDropTarget(const GraphCaches& caches, const PointerFrame& pointer,
                                         const Point& q, const DropExclusions& excluded) {
  const double s = pointer.snap_radius;
  const Box near = BoxAround(q, s);
  const auto skip_node = [&](const PointFeature& node) { return excluded.nodes.contains(&node); };
  if (const PointFeature* node = NodeWithin(caches.NodesMeeting(near), q, s, pointer.visible, skip_node)) {
    DropTarget target;
    target.point = node->point;
    return target;
  }
  const auto skip_arc = [&](const LineFeature& arc) { return excluded.arcs.contains(arc.id); };
  const NearestOnArcs foot = NearestFootOnArcs(caches.ArcsMeeting(near), q, s, pointer.visible, skip_arc);
  if (!foot.foot) return std::nullopt;
  DropTarget target;
  target.point = Rounded(foot.foot->foot);
  target.arc = FeatureRef<LineFeature>(caches.layers(), foot.arc);
  target.part = foot.part;
  target.segment_end = foot.foot->segment_end;
  return target;
}

}  // namespace viamappa
