// The road graph as the shortest path searches it: the nodes of nodi in identifier order, the arcs of
// archi with the lengths of their polylines in the arcs cache, and each node's neighbours in compact
// arrays (CSR), every entry with its own arc. Built from the database and the map data, and rebuilt
// once an edit has marked it stale.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/Box.h"
#include "db/DbConnection.h"
#include "map/MapLayer.h"

namespace viamappa {

// A node's place in the graph: its position in identifier order.
using NodeIndex = std::int32_t;
inline constexpr NodeIndex kNoNode = -1;

// An arc's place in the graph: its position in identifier order among the arcs kept.
using ArcIndex = std::int32_t;
inline constexpr ArcIndex kNoArc = -1;

struct RoutingArc {
  std::int32_t id = 0;
  NodeIndex from = kNoNode;  // nodini
  NodeIndex to = kNoNode;    // nodfin
  double length = 0;         // of its polylines in the arcs cache
};

// One way out of a node: to the neighbour along one arc.
struct RoutingStep {
  NodeIndex neighbour = kNoNode;
  ArcIndex arc = kNoArc;
  double length = 0;
};

// What a build left out.
struct RoutingGraphSkips {
  std::int64_t missing_node = 0;      // arcs whose nodini or nodfin is not a row of nodi
  std::int64_t missing_geometry = 0;  // arcs without a polyline in the arcs cache
};

class RoutingGraph {
 public:
  // Reads nodi and archi through connection (each in identifier order) and takes each arc's length
  // from its polylines in the arcs layer. Arcs without a polyline there, or whose end node is not a
  // row of nodi, are left out and counted. A closed arc is kept as an arc but never makes a node its
  // own neighbour. Clears the stale mark. A table that cannot be read is shown by the access layer and
  // gives what was read of it.
  void Build(DbConnection& connection, const MapLayer& arcs);

  // Drops everything built, freeing its memory.
  void Clear();

  // No node: nothing built yet, or nothing to build from.
  bool empty() const { return node_ids_.empty(); }

  // An edit changed the arcs or the nodes: the graph must be built again before it is searched.
  bool stale() const { return stale_; }
  void MarkStale() { stale_ = true; }

  // Changes with every build, so that a search knows when its arrays no longer fit.
  std::uint64_t generation() const { return generation_; }

  std::int32_t node_count() const { return static_cast<std::int32_t>(node_ids_.size()); }
  std::int32_t arc_count() const { return static_cast<std::int32_t>(arcs_.size()); }
  std::int32_t largest_node_id() const { return largest_node_id_; }
  const RoutingGraphSkips& skips() const { return skips_; }

  std::int32_t NodeId(NodeIndex node) const { return node_ids_[node]; }
  const Point& NodePoint(NodeIndex node) const { return node_points_[node]; }
  const RoutingArc& Arc(ArcIndex arc) const { return arcs_[arc]; }

  // Binary searches by identifier: kNoNode and kNoArc when the graph has no such node or arc.
  NodeIndex FindNode(std::int32_t id) const;
  ArcIndex FindArc(std::int32_t id) const;

  // The ways out of a node, in the order the arcs were read.
  std::span<const RoutingStep> Steps(NodeIndex node) const {
    return {steps_.data() + first_step_[node], steps_.data() + first_step_[node + 1]};
  }

  // Asks the processor to fetch where a node's ways out start, and the ways themselves, ahead of use.
  void PrefetchStart(NodeIndex node) const { __builtin_prefetch(first_step_.data() + node); }
  void PrefetchSteps(NodeIndex node) const { __builtin_prefetch(steps_.data() + first_step_[node]); }

 private:
  std::vector<std::int32_t> node_ids_;  // ascending
  std::vector<Point> node_points_;
  std::vector<RoutingArc> arcs_;           // ascending identifiers
  std::vector<std::uint32_t> first_step_;  // per node, and one past the last
  std::vector<RoutingStep> steps_;
  std::int32_t largest_node_id_ = 0;
  RoutingGraphSkips skips_;
  bool stale_ = false;
  std::uint64_t generation_ = 0;
};

}  // namespace viamappa
