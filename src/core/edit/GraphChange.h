// What one edit of the road graph changed: every row of archi, geoarchi and nodi it wrote, as it was
// before and as it is after (absent when there was or is no such row), the rows the street directory
// gained while the edit's names were checked, and the features of the arcs and nodes caches it added,
// removed or moved. An undo plays it backwards.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
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

// What kind of edit a change is, as the person would name it.
enum class EditKind {
  None,
  VertexMoved,
  VertexInserted,
  VertexDeleted,
  NodeMoved,
  VertexAttached,
  ArcSplit,
  ArcAdded,
  ArcRenamed,
  ArcMarkedDeleted,
  ArcRemoved,
  DirectoryExtended,  // only the street directory gained rows (the names' dialog was then cancelled)
};

// A row the street directory gained: a street type of tipi (no name), or a pair of type and name of
// nomi.
struct DirectoryRow {
  std::string type;
  std::optional<std::string> name;

  bool operator==(const DirectoryRow&) const = default;
};

struct GraphChange {
  EditKind kind = EditKind::None;
  // A drag: where the dragged vertex started and where it was let go.
  std::optional<std::pair<Point, Point>> dragged_vertex;
  // False when a row was rewritten or deleted that could not be read first: what it held is unknown,
  // so the change cannot be taken back.
  bool complete = true;

  std::vector<RowChange<ArcRecord>> arcs;        // archi
  std::vector<RowChange<PointArray>> polylines;  // geoarchi
  std::vector<RowChange<NodeRecord>> nodes;      // nodi
  std::vector<DirectoryRow> directory_added;     // tipi and nomi, in the order added

  // Identifiers of the features of the arcs cache and of the nodes cache.
  std::vector<std::int32_t> arcs_added, arcs_removed, arcs_moved;
  std::vector<std::int32_t> nodes_added, nodes_removed, nodes_moved;

  // The edit changed an arc's geometry, its end nodes or the node set: paths must be computed anew.
  bool routing_graph_stale = false;

  // Nothing was written and no feature changed.
  bool empty() const {
    return arcs.empty() && polylines.empty() && nodes.empty() && directory_added.empty() &&
           arcs_added.empty() && arcs_removed.empty() && arcs_moved.empty() && nodes_added.empty() &&
           nodes_removed.empty() && nodes_moved.empty();
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

  // Takes in the rows the street directory gained while the edit's names were checked.
  void Directory(const std::vector<DirectoryRow>& added) {
    directory_added.insert(directory_added.end(), added.begin(), added.end());
    if (kind == EditKind::None && !directory_added.empty()) kind = EditKind::DirectoryExtended;
  }

  // Folds a later change into this one, as if both had been one edit: it keeps its own kind (or takes
  // the later one's) and a drag runs from the first start to the last end.
  void Append(const GraphChange& later) {
    if (kind == EditKind::None) kind = later.kind;
    if (later.dragged_vertex) {
      dragged_vertex = dragged_vertex ? std::pair{dragged_vertex->first, later.dragged_vertex->second}
                                      : later.dragged_vertex;
    }
    complete = complete && later.complete;
    directory_added.insert(directory_added.end(), later.directory_added.begin(), later.directory_added.end());
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
