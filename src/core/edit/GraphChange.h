// What one edit of the road graph changed: every row of archi, geoarchi and nodi it wrote, as it was
// before and as it is after (absent when there was or is no such row), and the features of the arcs
// and nodes caches it added, removed or moved. An undo plays it backwards.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "geom/GraphRecords.h"
#include "geom/PointArray.h"

namespace viamappa {

template <typename Row>
struct RowChange {
  std::int32_t id = 0;
  std::optional<Row> before;
  std::optional<Row> after;
};

struct GraphChange {
  std::vector<RowChange<ArcRecord>> arcs;        // archi
  std::vector<RowChange<PointArray>> polylines;  // geoarchi
  std::vector<RowChange<NodeRecord>> nodes;      // nodi

  // Identifiers of the features of the arcs cache and of the nodes cache.
  std::vector<std::int32_t> arcs_added, arcs_removed, arcs_moved;
  std::vector<std::int32_t> nodes_added, nodes_removed, nodes_moved;

  // The edit changed an arc's geometry, its end nodes or the node set: paths must be computed anew.
  bool routing_graph_stale = false;

  // Nothing was written and no feature changed.
  bool empty() const {
    return arcs.empty() && polylines.empty() && nodes.empty() && arcs_added.empty() && arcs_removed.empty() &&
           arcs_moved.empty() && nodes_added.empty() && nodes_removed.empty() && nodes_moved.empty();
  }

  // Records a row; a row recorded before keeps its first state and takes the new last one.
  void Arc(std::int32_t id, std::optional<ArcRecord> before, std::optional<ArcRecord> after) {
    Record(arcs, id, std::move(before), std::move(after));
  }
  void Polyline(std::int32_t id, std::optional<PointArray> before, std::optional<PointArray> after) {
    Record(polylines, id, std::move(before), std::move(after));
  }
  void Node(std::int32_t id, std::optional<NodeRecord> before, std::optional<NodeRecord> after) {
    Record(nodes, id, std::move(before), std::move(after));
  }

  // Folds a later change into this one, as if both had been one edit.
  void Append(const GraphChange& later) {
    for (const auto& row : later.arcs) Arc(row.id, row.before, row.after);
    for (const auto& row : later.polylines) Polyline(row.id, row.before, row.after);
    for (const auto& row : later.nodes) Node(row.id, row.before, row.after);
    for (const auto& [into, from] : {std::pair{&arcs_added, &later.arcs_added},
                                     {&arcs_removed, &later.arcs_removed},
                                     {&arcs_moved, &later.arcs_moved},
                                     {&nodes_added, &later.nodes_added},
                                     {&nodes_removed, &later.nodes_removed},
                                     {&nodes_moved, &later.nodes_moved}})
      for (const std::int32_t id : *from) Note(*into, id);
    routing_graph_stale = routing_graph_stale || later.routing_graph_stale;
  }

  // Adds an identifier to a feature list once.
  static void Note(std::vector<std::int32_t>& list, std::int32_t id) {
    for (const std::int32_t known : list)
      if (known == id) return;
    list.push_back(id);
  }

 private:
  template <typename Row>
  static void Record(std::vector<RowChange<Row>>& rows, std::int32_t id, std::optional<Row> before,
                     std::optional<Row> after) {
    for (RowChange<Row>& row : rows) {
      if (row.id == id) {
        row.after = std::move(after);
        return;
      }
    }
    rows.push_back({id, std::move(before), std::move(after)});
  }
};

}  // namespace viamappa
