// The road graph as the map data hold it: the arcs layer ("archi", one line feature per arc) and the
// nodes layer ("nodi", one point feature per node) of a layer set, changed in place by the edits with
// their spatial indexes and the map extent kept in step, and the hooks through which the holders of
// derived data (the routing graph, highlights, searches) hear of the changes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "map/LayerSet.h"

namespace viamappa {

struct GraphEditHooks {
  // An edit changed an arc's geometry, its end nodes or the node set: a routing graph built before is
  // out of date.
  std::function<void()> routing_graph_stale;
  // An arc's feature is about to leave the arcs cache: drop every reference to it.
  std::function<void(std::int32_t arc_id)> arc_leaving_caches;
};

class GraphCaches {
 public:
  // Works on layers, which must outlive it; either layer may be missing (then it holds nothing).
  explicit GraphCaches(LayerSet& layers, GraphEditHooks hooks = {});

  LayerSet& layers() const { return layers_; }
  MapLayer* arcs() const { return arcs_; }
  MapLayer* nodes() const { return nodes_; }
  GraphEditHooks& hooks() { return hooks_; }

  LineFeature* FindArc(std::int32_t id) const;
  PointFeature* FindNode(std::int32_t id) const;

  // The arcs whose box meets the box, and the nodes inside it, in cache order.
  std::vector<LineFeature*> ArcsMeeting(const Box& box) const;
  std::vector<PointFeature*> NodesMeeting(const Box& box) const;

  // The nodes standing exactly at the point, in cache order.
  std::vector<PointFeature*> NodesAt(const Point& at) const;

  // Adds an arc with its polyline at the end of the cache and widens the map extent by it. Null without
  // an arcs layer.
  LineFeature* AddArc(std::int32_t id, PointArray line);
  // Takes note that an arc's polylines changed in place: its place in the index and the extent follow.
  void ArcMoved(LineFeature& arc);
  // Tells the hook, then takes the arc out of the cache.
  void RemoveArc(LineFeature& arc);

  PointFeature* AddNode(std::int32_t id, const Point& at);
  void MoveNode(PointFeature& node, const Point& to);
  void RemoveNode(PointFeature& node);

  // The place in the cache order of the feature with that identifier that left the cache last.
  std::optional<std::uint32_t> RemovedArcSlot(std::int32_t id) const;
  std::optional<std::uint32_t> RemovedNodeSlot(std::int32_t id) const;

  // Puts a feature back that left the cache: into its own place when slot names it, else at the end
  // (as AddArc and AddNode do). Null without the layer.
  LineFeature* RestoreArc(std::int32_t id, PointArray line, std::optional<std::uint32_t> slot);
  PointFeature* RestoreNode(std::int32_t id, const Point& at, std::optional<std::uint32_t> slot);

  // Tells the hook that the routing graph is out of date.
  void RoutingGraphStale() const;

 private:
  LayerSet& layers_;
  MapLayer* arcs_;
  MapLayer* nodes_;
  GraphEditHooks hooks_;
  std::unordered_map<std::int32_t, std::uint32_t> removed_arcs_, removed_nodes_;
};

// The box of one point.
inline Box PointBox(const Point& p) {
  return Box::Of(p.x, p.y, p.x, p.y);
}

// The square of half-side d around a point.
inline Box BoxAround(const Point& p, double d) {
  return Box::Of(p.x - d, p.y - d, p.x + d, p.y + d);
}

}  // namespace viamappa
