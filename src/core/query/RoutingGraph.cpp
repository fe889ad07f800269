#include "query/RoutingGraph.h"

#include <algorithm>
#include <string>
#include <utility>

#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "geom/Measures.h"

namespace viamappa {

namespace {

// The length of every arc of the cache, by identifier; an identifier held twice keeps its first feature,
// as a lookup in the cache would find it.
std::vector<std::pair<std::int32_t, double>> CachedLengths(const MapLayer& arcs) {
  std::vector<std::pair<std::int32_t, double>> lengths;
  lengths.reserve(arcs.line_count());
  arcs.ForEachLine([&](const LineFeature& feature) {
    if (feature.polylines.empty()) return;
    double length = 0;
    for (const PointArray& line : feature.polylines) length += Length(line);
    lengths.emplace_back(feature.id, length);
  });
  // The cache holds its arcs in identifier order, except those added by editing since it was loaded.
  const auto by_id = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (!std::is_sorted(lengths.begin(), lengths.end(), by_id))
    std::stable_sort(lengths.begin(), lengths.end(), by_id);
  return lengths;
}

// Node identifiers to node indexes: a table indexed by identifier when the identifiers are dense
// enough, else a binary search.
class NodeLookup {
 public:
  explicit NodeLookup(const std::vector<std::int32_t>& ids) : ids_(ids) {
    if (ids.empty() || ids.front() < 0) return;
    const std::int64_t largest = ids.back();
    if (largest > 4 * static_cast<std::int64_t>(ids.size()) + 1024) return;
    dense_.assign(static_cast<std::size_t>(largest) + 1, kNoNode);
    for (std::size_t i = 0; i < ids.size(); ++i)
      dense_[static_cast<std::size_t>(ids[i])] = static_cast<NodeIndex>(i);
  }

  NodeIndex Find(std::int32_t id) const {
    if (!dense_.empty()) {
      return id >= 0 && static_cast<std::size_t>(id) < dense_.size() ? dense_[static_cast<std::size_t>(id)]
                                                                     : kNoNode;
    }
    const auto it = std::lower_bound(ids_.begin(), ids_.end(), id);
    return it != ids_.end() && *it == id ? static_cast<NodeIndex>(it - ids_.begin()) : kNoNode;
  }

 private:
  const std::vector<std::int32_t>& ids_;
  std::vector<NodeIndex> dense_;
};

}  // namespace

void RoutingGraph::Clear() {
  node_ids_ = {};
  node_points_ = {};
  arcs_ = {};
  first_step_ = {};
  steps_ = {};
  largest_node_id_ = 0;
  skips_ = {};
  stale_ = false;
  ++generation_;
}

void RoutingGraph::Build(DbConnection& connection, const MapLayer& cached_arcs) {
  Clear();

  {
    DbQuery query(connection);
    query.SetSelect(NodeSelectList());
    query.SetFrom(kNodeTable);
    query.SetOrderBy(node_field::kId);
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      NodeRecord node;
      if (!ReadNodeRecord(query, 0, node)) continue;
      node_ids_.push_back(node.id);
      node_points_.push_back({node.coord_x, node.coord_y});
    }
  }
  if (!std::is_sorted(node_ids_.begin(), node_ids_.end())) {
    std::vector<std::size_t> order(node_ids_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return node_ids_[a] < node_ids_[b]; });
    std::vector<std::int32_t> ids(order.size());
    std::vector<Point> points(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
      ids[i] = node_ids_[order[i]];
      points[i] = node_points_[order[i]];
    }
    node_ids_ = std::move(ids);
    node_points_ = std::move(points);
  }
  if (!node_ids_.empty()) largest_node_id_ = node_ids_.back();
  const NodeLookup nodes(node_ids_);

  const std::vector<std::pair<std::int32_t, double>> lengths = CachedLengths(cached_arcs);
  {
    DbQuery query(connection);
    query.SetSelect(std::string(arc_field::kId) + ", " + std::string(arc_field::kStartNode) + ", " +
                    std::string(arc_field::kEndNode));
    query.SetFrom(kArcTable);
    query.SetOrderBy(arc_field::kId);
    std::size_t next_length = 0;
    for (bool row = query.Open(); row; row = query.MoveNext()) {
      std::int32_t id = 0, from = 0, to = 0;
      if (!query.GetLong(0, id)) continue;
      RoutingArc arc;
      arc.id = id;
      arc.from = query.GetLong(1, from) ? nodes.Find(from) : kNoNode;
      arc.to = query.GetLong(2, to) ? nodes.Find(to) : kNoNode;
      // Rows and cached lengths come in the same order: a merge finds each arc's length.
      while (next_length < lengths.size() && lengths[next_length].first < id) ++next_length;
      const bool cached = next_length < lengths.size() && lengths[next_length].first == id;
      if (arc.from == kNoNode || arc.to == kNoNode) {
        ++skips_.missing_node;
      } else if (!cached) {
        ++skips_.missing_geometry;
      } else {
        arc.length = lengths[next_length].second;
        arcs_.push_back(arc);
      }
    }
  }
  const auto by_id = [](const RoutingArc& a, const RoutingArc& b) { return a.id < b.id; };
  if (!std::is_sorted(arcs_.begin(), arcs_.end(), by_id)) std::stable_sort(arcs_.begin(), arcs_.end(), by_id);

  // Two ways per arc, one from each end, in the order of the arcs; a closed arc gives none.
  const std::size_t node_total = node_ids_.size();
  first_step_.assign(node_total + 1, 0);
  for (const RoutingArc& arc : arcs_) {
    if (arc.from == arc.to) continue;
    ++first_step_[static_cast<std::size_t>(arc.from) + 1];
    ++first_step_[static_cast<std::size_t>(arc.to) + 1];
  }
  for (std::size_t i = 0; i < node_total; ++i) first_step_[i + 1] += first_step_[i];
  steps_.resize(first_step_[node_total]);
  std::vector<std::uint32_t> cursor(first_step_.begin(), first_step_.end() - 1);
  for (std::size_t i = 0; i < arcs_.size(); ++i) {
    const RoutingArc& arc = arcs_[i];
    if (arc.from == arc.to) continue;
    const ArcIndex index = static_cast<ArcIndex>(i);
    steps_[cursor[static_cast<std::size_t>(arc.from)]++] = {arc.to, index, arc.length};
    steps_[cursor[static_cast<std::size_t>(arc.to)]++] = {arc.from, index, arc.length};
  }
}

NodeIndex RoutingGraph::FindNode(std::int32_t id) const {
  const auto it = std::lower_bound(node_ids_.begin(), node_ids_.end(), id);
  return it != node_ids_.end() && *it == id ? static_cast<NodeIndex>(it - node_ids_.begin()) : kNoNode;
}

ArcIndex RoutingGraph::FindArc(std::int32_t id) const {
  const auto it = std::lower_bound(arcs_.begin(), arcs_.end(), id,
                                   [](const RoutingArc& arc, std::int32_t v) { return arc.id < v; });
  return it != arcs_.end() && it->id == id ? static_cast<ArcIndex>(it - arcs_.begin()) : kNoArc;
}

}  // namespace viamappa
