#include "edit/GraphValidation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>
#include <unordered_map>

#include "db/DbQuery.h"
#include "edit/ArcRowRemoval.h"
#include "geom/BoxIndex.h"
#include "geom/GraphRecords.h"
#include "geom/Hundredths.h"
#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"

namespace viamappa {

namespace {

using conflation::PointHash;

struct ArcData {
  std::int32_t id = 0;
  std::int32_t start = 0;  // nodini
  std::int32_t end = 0;    // nodfin
  std::int32_t comune = 0;
  bool unnamed = false;
  bool readable = false;
  std::size_t first = 0;  // of its points in the shared array
  std::size_t count = 0;
  Box box;
};

struct NodeData {
  std::int32_t id = 0;
  Point at;
  int ends = 0;  // arc ends that name it
};

// The graph as read: every arc in identifier order with its points in one array, every node.
struct GraphData {
  std::vector<ArcData> arcs;
  std::vector<Point> points;
  std::vector<NodeData> nodes;
  std::unordered_map<std::int32_t, std::size_t> node_index;

  std::span<const Point> PointsOf(const ArcData& arc) const {
    return std::span(points).subspan(arc.first, arc.count);
  }
  NodeData* Node(std::int32_t id) {
    const auto it = node_index.find(id);
    return it == node_index.end() ? nullptr : &nodes[it->second];
  }
};

std::string Qualified(std::string_view table, std::string_view field) {
  return std::string(table) + "." + std::string(field);
}

bool ReadArcs(DbConnection& connection, ProgressDisplay& progress, GraphData& graph) {
  progress.SetPhase("Lettura Archi del Grafo Stradale");
  const std::optional<long long> total = CountRows(connection, kArcTable);
  if (!total) return false;
  DbQuery query(connection);
  query.SetSelect(Qualified(kArcTable, arc_field::kId) + ", " + Qualified(kArcTable, arc_field::kStartNode) +
                  ", " + Qualified(kArcTable, arc_field::kEndNode) + ", " +
                  Qualified(kArcTable, arc_field::kName) + ", " +
                  Qualified(kArcTable, arc_field::kMunicipality) + ", " +
                  Qualified(kArcGeometryTable, polyline_field::kId) + ", " +
                  Qualified(kArcGeometryTable, polyline_field::kCount) + ", " +
                  Qualified(kArcGeometryTable, polyline_field::kCoordinates));
  query.SetFrom(std::string(kArcTable) + " LEFT JOIN " + std::string(kArcGeometryTable) + " ON " +
                Qualified(kArcTable, arc_field::kId) + " = " +
                Qualified(kArcGeometryTable, polyline_field::kId));
  query.SetOrderBy(Qualified(kArcTable, arc_field::kId));
  graph.arcs.reserve(static_cast<std::size_t>(*total));
  std::string name;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    ArcData arc;
    std::int32_t polyline = 0, count = 0;
    query.GetLong(0, arc.id);
    query.GetLong(1, arc.start);
    query.GetLong(2, arc.end);
    name.clear();
    query.GetText(3, name);
    arc.unnamed = name.find_first_not_of(' ') == std::string::npos;
    query.GetShort(4, arc.comune);
    std::string_view bytes;
    if (query.GetLong(5, polyline) && query.GetShort(6, count) && count > 0 &&
        query.GetBinaryView(7, bytes) && bytes.size() == static_cast<std::size_t>(count) * sizeof(Point)) {
      arc.readable = true;
      arc.first = graph.points.size();
      arc.count = static_cast<std::size_t>(count);
      graph.points.resize(arc.first + arc.count);
      std::memcpy(graph.points.data() + arc.first, bytes.data(), bytes.size());
      for (const Point& p : graph.PointsOf(arc)) arc.box.Widen(p);
    }
    graph.arcs.push_back(arc);
    progress.SetProgress(static_cast<long long>(graph.arcs.size()), *total);
  }
  return static_cast<long long>(graph.arcs.size()) == *total;
}

bool ReadNodes(DbConnection& connection, ProgressDisplay& progress, GraphData& graph) {
  progress.SetPhase("Lettura Nodi del Grafo Stradale");
  const std::optional<long long> total = CountRows(connection, kNodeTable);
  if (!total) return false;
  DbQuery query(connection);
  query.SetSelect(NodeSelectList());
  query.SetFrom(kNodeTable);
  query.SetOrderBy(std::string(node_field::kId));
  graph.nodes.reserve(static_cast<std::size_t>(*total));
  NodeRecord record;
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    ReadNodeRecord(query, 0, record);
    graph.node_index.emplace(record.id, graph.nodes.size());
    graph.nodes.push_back({record.id, {record.coord_x, record.coord_y}, 0});
    progress.SetProgress(static_cast<long long>(graph.nodes.size()), *total);
  }
  if (static_cast<long long>(graph.nodes.size()) != *total) return false;
  for (const ArcData& arc : graph.arcs) {
    for (const std::int32_t node : {arc.start, arc.end}) {
      if (NodeData* data = graph.Node(node)) ++data->ends;
    }
  }
  return true;
}

bool SamePlace(const Point& a, const Point& b) {
  return RoundToHundredths(a.x) == RoundToHundredths(b.x) && RoundToHundredths(a.y) == RoundToHundredths(b.y);
}

Point Rounded(const Point& p) {
  return {RoundToHundredths(p.x), RoundToHundredths(p.y)};
}

// The point halfway along a polyline; its first point when it has no length.
Point Halfway(std::span<const Point> points) {
  double length = 0;
  for (std::size_t i = 1; i < points.size(); ++i)
    length += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
  double rest = length / 2;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const double step = std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    if (step > 0 && rest <= step) {
      const double t = rest / step;
      return {points[i - 1].x + (points[i].x - points[i - 1].x) * t,
              points[i - 1].y + (points[i].y - points[i - 1].y) * t};
    }
    rest -= step;
  }
  return points.empty() ? Point{} : points.front();
}

double DistanceToSegments(std::span<const Point> points, const Point& p) {
  double best = std::hypot(points.front().x - p.x, points.front().y - p.y);
  for (std::size_t i = 1; i < points.size(); ++i) {
    const Point& a = points[i - 1];
    const Point& b = points[i];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double squared = dx * dx + dy * dy;
    double t = squared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / squared : 0;
    t = std::clamp(t, 0.0, 1.0);
    best = std::min(best, std::hypot(a.x + dx * t - p.x, a.y + dy * t - p.y));
  }
  return best;
}

std::uint64_t SequenceHash(std::span<const Point> points, bool reversed) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  const PointHash point_hash;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point& p = points[reversed ? points.size() - 1 - i : i];
    hash = (hash ^ point_hash(p)) * 0x100000001B3ULL;
  }
  return hash;
}

bool SameSequence(std::span<const Point> a, std::span<const Point> b) {
  if (a.size() != b.size()) return false;
  return std::equal(a.begin(), a.end(), b.begin()) || std::equal(a.begin(), a.end(), b.rbegin());
}

class Checker {
 public:
  Checker(GraphData& graph, GraphValidation& out) : graph_(graph), out_(out) {}

  void CheckArcsAndNodes(ProgressDisplay& progress) {
    progress.SetPhase("Verifica Archi e Nodi");
    const long long total = static_cast<long long>(graph_.arcs.size() + graph_.nodes.size());
    long long done = 0;
    for (const ArcData& arc : graph_.arcs) {
      progress.SetProgress(++done, total);
      const std::span<const Point> points = graph_.PointsOf(arc);
      const Point middle = Halfway(points);
      if (!arc.readable) {
        const NodeData* start = graph_.Node(arc.start);
        const Point at = start ? start->at : Point{};
        Add(FindingKind::DamagedGeometry, false, arc.id, 0, at,
            start ? Box::Of(at.x, at.y, at.x, at.y) : Box());
      } else {
        if (std::all_of(points.begin(), points.end(), [&](const Point& p) { return p == points.front(); }))
          Add(FindingKind::ZeroLength, false, arc.id, 0, points.front(), arc.box);
        CheckEnd(arc, arc.start, points.front());
        CheckEnd(arc, arc.end, points.back());
      }
      if (arc.unnamed) Add(FindingKind::Unnamed, false, arc.id, 0, middle, arc.box);
      if (arc.comune <= 0) Add(FindingKind::NoMunicipality, false, arc.id, 0, middle, arc.box);
    }
    std::unordered_map<Point, std::int32_t, PointHash> first_at;
    for (const NodeData& node : graph_.nodes) {
      progress.SetProgress(++done, total);
      const Box point = Box::Of(node.at.x, node.at.y, node.at.x, node.at.y);
      if (node.ends == 0) Add(FindingKind::UnusedNode, true, node.id, 0, node.at, point);
      const auto [it, first] = first_at.try_emplace(Rounded(node.at), node.id);
      if (!first) Add(FindingKind::SharedPosition, true, node.id, it->second, node.at, point);
    }
  }

  void FindUndershoots(ProgressDisplay& progress) {
    progress.SetPhase("Ricerca Estremi liberi");
    std::vector<Box> boxes;
    boxes.reserve(graph_.arcs.size());
    for (const ArcData& arc : graph_.arcs) boxes.push_back(arc.readable ? arc.box : Box());
    const BoxIndex index(boxes);
    std::vector<std::int32_t> candidates;
    const auto total = static_cast<long long>(graph_.arcs.size());
    for (std::size_t i = 0; i < graph_.arcs.size(); ++i) {
      progress.SetProgress(static_cast<long long>(i) + 1, total);
      const ArcData& arc = graph_.arcs[i];
      if (!arc.readable) continue;
      const std::span<const Point> points = graph_.PointsOf(arc);
      for (const auto& [node, at] :
           {std::pair{arc.start, points.front()}, std::pair{arc.end, points.back()}}) {
        const NodeData* data = graph_.Node(node);
        if (!data || data->ends != 1) continue;
        index.Query(Grown(Box::Of(at.x, at.y, at.x, at.y), kUndershootMetres), candidates);
        double nearest = kUndershootMetres;
        std::optional<std::int32_t> other;
        for (const std::int32_t j : candidates) {
          if (static_cast<std::size_t>(j) == i) continue;
          const ArcData& near = graph_.arcs[static_cast<std::size_t>(j)];
          const double distance = DistanceToSegments(graph_.PointsOf(near), at);
          if (distance < nearest || (!other && distance == nearest)) {
            nearest = distance;
            other = near.id;
          }
        }
        if (!other) continue;
        Add(nearest < kTouchMetres ? FindingKind::EndOnArc : FindingKind::Undershoot, false, arc.id, *other,
            at, Box::Of(at.x, at.y, at.x, at.y));
        out_.findings.back().distance = nearest;
      }
    }
  }

  void FindDuplicates(ProgressDisplay& progress) {
    progress.SetPhase("Ricerca Geometrie duplicate");
    std::vector<std::pair<std::uint64_t, std::size_t>> keys;
    keys.reserve(graph_.arcs.size());
    for (std::size_t i = 0; i < graph_.arcs.size(); ++i) {
      const ArcData& arc = graph_.arcs[i];
      if (!arc.readable) continue;
      const std::span<const Point> points = graph_.PointsOf(arc);
      keys.emplace_back(std::min(SequenceHash(points, false), SequenceHash(points, true)), i);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<std::pair<std::size_t, std::int32_t>> duplicates;  // arc, the arc it duplicates
    for (std::size_t run = 0; run < keys.size();) {
      std::size_t end = run + 1;
      while (end < keys.size() && keys[end].first == keys[run].first) ++end;
      for (std::size_t k = run + 1; k < end; ++k) {
        const ArcData& arc = graph_.arcs[keys[k].second];
        for (std::size_t earlier = run; earlier < k; ++earlier) {
          const ArcData& first = graph_.arcs[keys[earlier].second];
          if (SameSequence(graph_.PointsOf(arc), graph_.PointsOf(first))) {
            duplicates.emplace_back(keys[k].second, first.id);
            break;
          }
        }
      }
      progress.SetProgress(static_cast<long long>(end), static_cast<long long>(keys.size()));
      run = end;
    }
    std::sort(duplicates.begin(), duplicates.end());
    for (const auto& [i, other] : duplicates) {
      const ArcData& arc = graph_.arcs[i];
      Add(FindingKind::DuplicateGeometry, false, arc.id, other, Halfway(graph_.PointsOf(arc)), arc.box);
    }
  }

 private:
  void CheckEnd(const ArcData& arc, std::int32_t node, const Point& at) {
    const NodeData* data = graph_.Node(node);
    if (!data || !SamePlace(data->at, at))
      Add(FindingKind::EndOffNode, false, arc.id, node, at, Box::Of(at.x, at.y, at.x, at.y));
  }

  void Add(FindingKind kind, bool node, std::int32_t id, std::int32_t other, const Point& at,
           const Box& extent) {
    out_.findings.push_back({kind, node, id, other, at, extent, 0});
    ++out_.counts[static_cast<std::size_t>(kind)];
  }

  GraphData& graph_;
  GraphValidation& out_;
};

}  // namespace

std::optional<GraphValidation> ValidateGraph(DbConnection& connection, UserInterface& ui) {
  GraphValidation validation;
  {
    ProgressDisplay progress(ui);
    GraphData graph;
    if (!ReadArcs(connection, progress, graph) || !ReadNodes(connection, progress, graph))
      return std::nullopt;
    Checker checker(graph, validation);
    checker.CheckArcsAndNodes(progress);
    checker.FindUndershoots(progress);
    checker.FindDuplicates(progress);
  }
  // Listed by kind; within a kind in the order found (arcs and nodes by identifier).
  std::stable_sort(validation.findings.begin(), validation.findings.end(),
                   [](const Finding& a, const Finding& b) { return a.kind < b.kind; });
  return validation;
}

}  // namespace viamappa
