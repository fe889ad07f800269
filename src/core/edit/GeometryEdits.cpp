#include "edit/GeometryEdits.h"

#include <ctime>
#include <string_view>

#include "base/NumberText.h"
#include "db/DbQuery.h"
#include "edit/EditTransaction.h"
#include "geom/Distance.h"
#include "geom/GraphRecords.h"
#include "geom/Hundredths.h"

namespace viamappa {

namespace {

Point Rounded(const Point& p) {
  return {RoundToHundredths(p.x), RoundToHundredths(p.y)};
}

std::string TwoDigits(int value) {
  std::string text = FormatInteger(value);
  return text.size() < 2 ? "0" + text : text;
}

// Registers an arc's part with the drag, keeping its geometry from before the drag the first time.
void Register(PendingGeometry& pending, const LayerSet& layers, LineFeature& arc, std::int32_t part,
              bool main) {
  const auto same = [&](const PendingGeometry::ArcPart& known) {
    return known.arc.get() == &arc && known.part == part;
  };
  if (pending.main && same(*pending.main)) return;
  for (const PendingGeometry::ArcPart& known : pending.others)
    if (same(known)) return;
  PendingGeometry::ArcPart entry{FeatureRef<LineFeature>(layers, &arc), part, arc.polylines[part]};
  if (main && !pending.main) {
    pending.main = std::move(entry);
  } else {
    pending.others.push_back(std::move(entry));
  }
}

void RegisterNode(PendingGeometry& pending, const LayerSet& layers, PointFeature& node) {
  for (const PendingGeometry::NodeMove& known : pending.nodes)
    if (known.node.get() == &node) return;
  pending.nodes.push_back({FeatureRef<PointFeature>(layers, &node), node.point});
}

// The foot of the point on the nearest part of the arc, the first part on a tie.
struct FootOnArc : FootOnPolyline {
  std::int32_t part = 0;
};
std::optional<FootOnArc> NearestFootOnArc(const LineFeature& arc, const Point& p) {
  std::optional<FootOnArc> best;
  for (std::size_t part = 0; part < arc.polylines.size(); ++part) {
    const std::optional<FootOnPolyline> foot = NearestFoot(arc.polylines[part], p.x, p.y);
    if (foot && (!best || foot->distance < best->distance))
      best = FootOnArc{*foot, static_cast<std::int32_t>(part)};
  }
  return best;
}

}  // namespace

std::string TodayText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return TwoDigits(local.tm_mday) + "/" + TwoDigits(local.tm_mon + 1) + "/" +
         FormatInteger(local.tm_year + 1900);
}

std::optional<std::pair<PointArray, PointArray>> SplitPoints(const PointArray& line, std::int32_t j,
                                                             const Point& f) {
  const std::int32_t n = line.count();
  if (j < 1 || j >= n) return std::nullopt;
  const std::vector<Point>& p = line.points();
  std::int32_t at_vertex = -1;
  if (f == p[j - 1]) at_vertex = j - 1;
  if (f == p[j]) at_vertex = j;
  std::vector<Point> first, second;
  if (at_vertex >= 0) {
    // At a vertex the cut leaves no zero-length segment; at an end it leaves no piece at all.
    if (at_vertex == 0 || at_vertex == n - 1) return std::nullopt;
    first.assign(p.begin(), p.begin() + at_vertex + 1);
    second.assign(p.begin() + at_vertex, p.end());
  } else {
    first.assign(p.begin(), p.begin() + j);
    first.push_back(f);
    second.push_back(f);
    second.insert(second.end(), p.begin() + j, p.end());
  }
  return std::pair{PointArray(std::move(first)), PointArray(std::move(second))};
}

std::vector<Point> DistinctTracedPoints(const std::vector<Point>& traced) {
  std::vector<Point> points;
  for (const Point& p : traced)
    if (points.empty() || !(points.back() == p)) points.push_back(p);
  return points;
}

// One edit's rows in one transaction. Changes of the caches made on the way are undone when the rows
// cannot be stored; nodes leave the cache only once the rows are stored.
class GeometryEdits::Session {
 public:
  explicit Session(GeometryEdits& edits)
      : connection_(edits.connection_),
        caches_(edits.caches_),
        transaction_(edits.connection_),
        archi_(edits.connection_),
        geoarchi_(edits.connection_),
        nodi_(edits.connection_),
        today_(edits.today_()) {
    ok_ = transaction_.active() && archi_.IsOpen() && geoarchi_.IsOpen() && nodi_.IsOpen();
  }

  bool ok() const { return ok_; }
  GraphChange& change() { return change_; }

  // Stores the rows and answers the change; on failure undoes the cache changes and answers nothing.
  GraphChange Finish() {
    if (ok_ && transaction_.Commit()) {
      for (PointFeature* node : leaving_nodes_) caches_.RemoveNode(*node);
      if (change_.routing_graph_stale) caches_.RoutingGraphStale();
      return std::move(change_);
    }
    for (auto step = undo_.rbegin(); step != undo_.rend(); ++step) (*step)();
    return {};
  }

  // ---- the caches, undoable

  void SetPart(LineFeature& arc, std::int32_t part, PointArray line) {
    undo_.push_back([this, &arc, part, old = arc.polylines[part]] {
      arc.polylines[part] = old;
      caches_.ArcMoved(arc);
    });
    arc.polylines[part] = std::move(line);
    caches_.ArcMoved(arc);
    GraphChange::Note(change_.arcs_moved, arc.id);
  }

  void AddArc(std::int32_t id, PointArray line) {
    LineFeature* arc = caches_.AddArc(id, std::move(line));
    if (arc) undo_.push_back([this, arc] { caches_.arcs()->RemoveLineFeature(*arc); });
    GraphChange::Note(change_.arcs_added, id);
  }

  // ---- rows

  bool Fail() { return ok_ = false; }

  // Writes over the arc's row, the last one sought, only the fields that differ.
  bool RewriteArc(const ArcRecord& before, const ArcRecord& after) {
    if (!archi_.RewriteChanged(before, after)) return Fail();
    change_.Arc(after.id, before, after);
    return true;
  }

  std::int32_t NewId(std::string_view table) {
    const std::optional<std::int32_t> largest = LargestId(connection_, table);
    return largest ? *largest + 1 : 0;
  }

  // Rewrites an arc's polyline; an arc without its row is skipped.
  bool SavePolyline(std::int32_t id, const PointArray& line) {
    if (!ok_) return false;
    if (!geoarchi_.Seek(id)) return true;
    PointArray before;
    const bool readable = geoarchi_.Read(before);
    if (!geoarchi_.Rewrite(line)) return Fail();
    change_.Polyline(id, readable ? std::optional(before) : std::nullopt, line);
    change_.complete = change_.complete && readable;
    return true;
  }

  bool MarkModified(std::int32_t id) {
    if (!ok_) return false;
    ArcRecord before;
    if (!archi_.Seek(id) || !archi_.Read(before)) return true;
    ArcRecord after = before;
    after.modifica = true;
    after.datmod = today_;
    return RewriteArc(before, after);
  }

  // The node at the point's two-decimal position: the last of the cache there.
  std::optional<std::int32_t> NodeAt(const Point& at) const {
    const std::vector<PointFeature*> found = caches_.NodesAt(Rounded(at));
    if (found.empty()) return std::nullopt;
    return found.back()->id;
  }

  std::optional<std::int32_t> FindOrCreateNode(const Point& at) {
    if (!ok_) return std::nullopt;
    if (const std::optional<std::int32_t> id = NodeAt(at)) return id;
    const Point p = Rounded(at);
    const NodeRecord node{NewId(kNodeTable), p.x, p.y};
    if (!nodi_.Add(node)) {
      Fail();
      return std::nullopt;
    }
    change_.Node(node.id, std::nullopt, node);
    if (PointFeature* feature = caches_.AddNode(node.id, p))
      undo_.push_back([this, feature] { caches_.RemoveNode(*feature); });
    GraphChange::Note(change_.nodes_added, node.id);
    change_.routing_graph_stale = true;
    return node.id;
  }

  bool WriteNode(PointFeature& node) {
    if (!ok_) return false;
    NodeRecord before;
    if (!nodi_.Seek(node.id) || !nodi_.Read(before)) return true;
    const Point p = Rounded(node.point);
    if (!nodi_.Move(p.x, p.y)) return Fail();
    change_.Node(node.id, before, NodeRecord{node.id, p.x, p.y});
    GraphChange::Note(change_.nodes_moved, node.id);
    return true;
  }

  // Node positions first, then each arc's polyline with its modified mark.
  bool WritePending(const PendingGeometry& pending) {
    for (const PendingGeometry::NodeMove& move : pending.nodes)
      if (PointFeature* node = move.node.get()) WriteNode(*node);
    const auto write = [&](const PendingGeometry::ArcPart& entry) {
      LineFeature* arc = entry.arc.get();
      if (!arc || entry.part >= static_cast<std::int32_t>(arc->polylines.size())) return;
      caches_.ArcMoved(*arc);
      SavePolyline(arc->id, arc->polylines[entry.part]);
      MarkModified(arc->id);
      GraphChange::Note(change_.arcs_moved, arc->id);
    };
    if (pending.main) write(*pending.main);
    for (const PendingGeometry::ArcPart& entry : pending.others) write(entry);
    if (!pending.empty()) change_.routing_graph_stale = true;
    return ok_;
  }

  bool Split(LineFeature& arc, std::int32_t part, std::int32_t segment_end, const Point& f) {
    if (!ok_ || part < 0 || part >= static_cast<std::int32_t>(arc.polylines.size())) return ok_;
    auto halves = SplitPoints(arc.polylines[part], segment_end, f);
    if (!halves) return true;
    const std::optional<std::int32_t> m = FindOrCreateNode(f);
    ArcRecord before;
    if (!m || !archi_.Seek(arc.id) || !archi_.Read(before)) return Fail();
    const std::int32_t a = arc.id;
    SetPart(arc, part, halves->first);
    if (!SavePolyline(a, halves->first)) return false;
    ArcRecord kept = before;
    kept.nodfin = *m;
    kept.modifica = true;
    kept.datmod = today_;
    if (!RewriteArc(before, kept)) return false;

    ArcRecord added = before;
    added.id = NewId(kArcTable);
    added.codele.clear();
    added.nodini = *m;
    added.nodfin = before.nodfin;
    added.modifica = true;
    added.datins = today_;
    added.datmod = today_;
    if (!archi_.Add(added) || !geoarchi_.Add(added.id, halves->second)) return Fail();
    change_.Arc(added.id, std::nullopt, added);
    change_.Polyline(added.id, std::nullopt, halves->second);
    AddArc(added.id, std::move(halves->second));
    change_.routing_graph_stale = true;
    return true;
  }

  // The identifiers of the arcs whose field (nodini or nodfin) holds one of the nodes.
  std::vector<std::int32_t> ArcsReferring(std::string_view field, const std::vector<std::int32_t>& nodes) {
    std::string list;
    for (std::size_t i = 0; i < nodes.size(); ++i) list += i ? ", ?" : "?";
    DbQuery query(connection_);
    query.SetSelect(arc_field::kId);
    query.SetFrom(kArcTable);
    query.SetWhere(std::string(field) + " IN (" + list + ")");
    for (std::size_t i = 0; i < nodes.size(); ++i) query.BindInteger(static_cast<int>(i + 1), nodes[i]);
    std::vector<std::int32_t> ids;
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      std::int32_t id = 0;
      if (query.GetLong(0, id)) ids.push_back(id);
    }
    return ids;
  }

  // The nodes standing at the point become the first of them: the arcs that ended at the others end
  // at it, and the others go.
  bool MergeNodesAt(const Point& at) {
    if (!ok_) return false;
    const std::vector<PointFeature*> found = caches_.NodesAt(Rounded(at));
    if (found.size() < 2) return true;
    const std::int32_t kept = found.front()->id;
    std::vector<std::int32_t> duplicates;
    for (std::size_t i = 1; i < found.size(); ++i)
      if (found[i]->id != kept) duplicates.push_back(found[i]->id);
    if (duplicates.empty()) return true;
    for (const bool start : {true, false}) {
      for (const std::int32_t id :
           ArcsReferring(start ? arc_field::kStartNode : arc_field::kEndNode, duplicates)) {
        ArcRecord before;
        if (!archi_.Seek(id) || !archi_.Read(before)) continue;
        ArcRecord after = before;
        (start ? after.nodini : after.nodfin) = kept;
        if (!RewriteArc(before, after)) return false;
      }
    }
    for (std::size_t i = 1; i < found.size(); ++i) {
      NodeRecord before;
      if (found[i]->id == kept || !nodi_.Seek(found[i]->id) || !nodi_.Read(before)) continue;
      if (!nodi_.Delete()) return Fail();
      change_.Node(before.id, before, std::nullopt);
      GraphChange::Note(change_.nodes_removed, before.id);
      leaving_nodes_.push_back(found[i]);
    }
    change_.routing_graph_stale = true;
    return true;
  }

  bool AddNewArc(const std::vector<Point>& points, const ArcAttributeValues& values) {
    const std::optional<std::int32_t> ni = FindOrCreateNode(points.front());
    const std::optional<std::int32_t> nf = FindOrCreateNode(points.back());
    if (!ni || !nf) return Fail();
    ArcRecord arc;
    arc.id = NewId(kArcTable);
    arc.denom = values.denom;
    arc.alterna = values.alterna;
    arc.classe = values.classe;
    arc.modifica = false;
    arc.aggiunto = true;
    arc.nodini = *ni;
    arc.nodfin = *nf;
    arc.local = 0;
    arc.comune = 0;
    arc.datins = today_;
    arc.datmod = today_;
    PointArray line(points);
    if (!archi_.Add(arc) || !geoarchi_.Add(arc.id, line)) return Fail();
    change_.Arc(arc.id, std::nullopt, arc);
    change_.Polyline(arc.id, std::nullopt, line);
    AddArc(arc.id, std::move(line));
    change_.routing_graph_stale = true;
    return true;
  }

 private:
  DbConnection& connection_;
  GraphCaches& caches_;
  EditTransaction transaction_;
  ArcTable archi_;
  PolylineTable geoarchi_;
  NodeTable nodi_;
  std::string today_;
  bool ok_ = false;
  GraphChange change_;
  std::vector<std::function<void()>> undo_;
  std::vector<PointFeature*> leaving_nodes_;
};

GeometryEdits::GeometryEdits(DbConnection& connection, GraphCaches& caches,
                             std::function<std::string()> today)
    : connection_(connection), caches_(caches), today_(std::move(today)) {}

GraphChange GeometryEdits::DeleteVertex(LineFeature& arc, const Point& vertex) {
  for (std::size_t part = 0; part < arc.polylines.size(); ++part) {
    const std::vector<Point>& points = arc.polylines[part].points();
    if (points.size() <= 2) continue;
    std::vector<Point> kept{points.front()};
    for (std::size_t i = 1; i + 1 < points.size(); ++i)
      if (!(points[i] == vertex)) kept.push_back(points[i]);
    kept.push_back(points.back());
    // A vertex held twice would take two points with it: that part is not the one.
    if (kept.size() + 1 != points.size()) continue;
    Session session(*this);
    PointArray line(std::move(kept));
    session.SetPart(arc, static_cast<std::int32_t>(part), line);
    session.SavePolyline(arc.id, line);
    session.MarkModified(arc.id);
    session.change().routing_graph_stale = true;
    session.change().kind = EditKind::VertexDeleted;
    return session.Finish();
  }
  return {};
}

std::optional<Point> GeometryEdits::InsertVertex(PendingGeometry& pending, LineFeature& arc,
                                                 const Point& pointer) {
  const Point p = Rounded(pointer);
  const std::optional<FootOnArc> best = NearestFootOnArc(arc, p);
  if (!best) return std::nullopt;
  Register(pending, caches_.layers(), arc, best->part, true);
  pending.inserted = true;
  pending.vertex = {p, p};
  arc.polylines[best->part].InsertPoint(best->segment_end, p.x, p.y);
  caches_.ArcMoved(arc);
  return p;
}

bool GeometryEdits::MoveVertex(PendingGeometry& pending, LineFeature& arc, const Point& from,
                               const Point& to) {
  for (std::size_t part = 0; part < arc.polylines.size(); ++part) {
    PointArray& line = arc.polylines[part];
    const std::vector<Point>& points = line.points();
    std::int32_t i = 0;
    while (i < line.count() && !(points[i] == from)) ++i;
    if (i == line.count()) continue;
    Register(pending, caches_.layers(), arc, static_cast<std::int32_t>(part), true);
    pending.vertex = {pending.vertex ? pending.vertex->first : from, to};
    line.SetPoint(i, to.x, to.y);
    caches_.ArcMoved(arc);
    if (i == 0 || i == line.count() - 1) MoveNode(pending, from, to);
    return true;
  }
  return false;
}

void GeometryEdits::MoveNode(PendingGeometry& pending, const Point& from, const Point& to) {
  // A stored box is rounded to hundredths: a hundredth around the point reaches every arc ending there.
  for (LineFeature* arc : caches_.ArcsMeeting(BoxAround(from, 0.01))) {
    bool moved = false;
    for (std::size_t part = 0; part < arc->polylines.size(); ++part) {
      PointArray& line = arc->polylines[part];
      if (line.empty()) continue;
      const bool at_first = line.front() == from;
      const bool at_last = line.back() == from;
      if (!at_first && !at_last) continue;
      Register(pending, caches_.layers(), *arc, static_cast<std::int32_t>(part), false);
      if (at_first) line.SetPoint(0, to.x, to.y);
      if (at_last) line.SetPoint(line.count() - 1, to.x, to.y);
      moved = true;
    }
    if (moved) caches_.ArcMoved(*arc);
  }
  for (PointFeature* node : caches_.NodesAt(from)) {
    RegisterNode(pending, caches_.layers(), *node);
    caches_.MoveNode(*node, to);
  }
}

void GeometryEdits::AbandonDrag(PendingGeometry& pending) {
  const auto restore = [&](const PendingGeometry::ArcPart& entry) {
    LineFeature* arc = entry.arc.get();
    if (!arc || entry.part >= static_cast<std::int32_t>(arc->polylines.size())) return;
    arc->polylines[entry.part] = entry.original;
    caches_.ArcMoved(*arc);
  };
  if (pending.main) restore(*pending.main);
  for (const PendingGeometry::ArcPart& entry : pending.others) restore(entry);
  for (const PendingGeometry::NodeMove& move : pending.nodes)
    if (PointFeature* node = move.node.get()) caches_.MoveNode(*node, move.original);
  pending.clear();
}

GraphChange GeometryEdits::SaveDrag(PendingGeometry& pending) {
  if (pending.empty()) return {};
  Session session(*this);
  session.WritePending(pending);
  // An inserted vertex is named by its insertion; a dragged end moves the node there.
  session.change().kind = pending.inserted        ? EditKind::VertexInserted
                          : pending.nodes.empty() ? EditKind::VertexMoved
                                                  : EditKind::NodeMoved;
  session.change().dragged_vertex = pending.vertex;
  GraphChange change = session.Finish();
  if (change.empty()) {
    AbandonDrag(pending);
  } else {
    pending.clear();
  }
  return change;
}

GraphChange GeometryEdits::AttachDragged(PendingGeometry& pending, LineFeature& arc, const Point& vertex,
                                         const DropTarget& target) {
  const Point t = Rounded(target.point);
  Session session(*this);
  if (LineFeature* onto = target.arc.get();
      onto && onto != &arc && target.part < static_cast<std::int32_t>(onto->polylines.size())) {
    const PointArray& line = onto->polylines[target.part];
    if (!line.empty() && !(t == line.front()) && !(t == line.back()))
      session.Split(*onto, target.part, target.segment_end, t);
  }
  for (std::size_t part = 0; part < arc.polylines.size() && session.ok(); ++part) {
    const std::vector<Point>& points = arc.polylines[part].points();
    std::int32_t i = 0;
    const std::int32_t n = static_cast<std::int32_t>(points.size());
    while (i < n && !(points[i] == vertex)) ++i;
    if (i == n) continue;
    Register(pending, caches_.layers(), arc, static_cast<std::int32_t>(part), true);
    PointArray moved = arc.polylines[part];
    moved.SetPoint(i, t.x, t.y);
    session.SetPart(arc, static_cast<std::int32_t>(part), std::move(moved));
    if (i > 0 && i < n - 1) {
      // An interior vertex dropped on the graph cuts its own arc there.
      session.Split(arc, static_cast<std::int32_t>(part), i, t);
    } else {
      MoveNode(pending, vertex, t);
    }
    break;
  }
  session.WritePending(pending);
  session.MergeNodesAt(t);
  session.change().kind = EditKind::VertexAttached;
  GraphChange change = session.Finish();
  if (change.empty()) {
    AbandonDrag(pending);
  } else {
    pending.clear();
  }
  return change;
}

GraphChange GeometryEdits::SplitArc(LineFeature& arc, std::int32_t part, std::int32_t segment_end,
                                    const Point& f) {
  Session session(*this);
  session.Split(arc, part, segment_end, Rounded(f));
  session.change().kind = EditKind::ArcSplit;
  return session.Finish();
}

GraphChange GeometryEdits::SplitArcAt(LineFeature& arc, const Point& pointer) {
  const Point p = Rounded(pointer);
  const std::optional<FootOnArc> best = NearestFootOnArc(arc, p);
  if (!best) return {};
  return SplitArc(arc, best->part, best->segment_end, best->foot);
}

GraphChange GeometryEdits::FinishNewArc(const std::vector<Point>& traced, const ArcAttributeValues& values) {
  std::vector<Point> points = DistinctTracedPoints(traced);
  for (Point& p : points) p = Rounded(p);
  points = DistinctTracedPoints(points);
  if (points.size() < 2) {
    connection_.ui().ShowMessage(kTooFewPointsMessage, MessageIcon::Stop);
    return {};
  }
  Session session(*this);
  session.AddNewArc(points, values);
  session.change().kind = EditKind::ArcAdded;
  return session.Finish();
}

}  // namespace viamappa
