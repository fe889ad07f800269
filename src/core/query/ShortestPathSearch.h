// Dijkstra's search over a routing graph with a binary heap. Each node settled keeps the step that
// settled it (its predecessor and the arc between them), so that a path is walked back along the very
// arcs the search chose. A new search resets only the nodes the last one touched.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "query/RoutingGraph.h"

namespace viamappa {

class ShortestPathSearch {
 public:
  static constexpr double kUnreached = std::numeric_limits<double>::max();

  // Starts a search of graph from source, which is settled at distance 0; every other node is
  // unreached. The graph must stay unchanged while this search is read.
  void Begin(const RoutingGraph& graph, NodeIndex source);

  // Settles nodes in order of distance until target is settled; false when nothing reachable is left
  // first. A later call goes on from where this one stopped.
  bool RunUntil(NodeIndex target);

  // Settles every node the source reaches.
  void RunToAll();

  // Settles node at distance, reached along arc from the arc's other end, without a search step: the
  // direct link of two arcs that share a node. A closed arc never links a node to itself: such a link
  // changes nothing.
  void Link(NodeIndex node, double distance, ArcIndex arc);

  bool Settled(NodeIndex node) const { return arc_[node] != kUnsettled; }
  double Distance(NodeIndex node) const { return distance_[node]; }
  // The arc a settled node was reached along and the node at its other end; kNoArc and kNoNode for the
  // source and a node not settled.
  ArcIndex PredecessorArc(NodeIndex node) const { return arc_[node] >= 0 ? arc_[node] : kNoArc; }
  NodeIndex Predecessor(NodeIndex node) const;

  // How many nodes the current search has reached.
  std::size_t reached() const { return touched_.size(); }

 private:
  // A node waiting to be settled at a distance, with the arc it was reached along; a node may wait more
  // than once, and only its nearest entry counts.
  struct HeapEntry {
    double distance;
    NodeIndex node;
    ArcIndex arc;
  };

  void Reset(const RoutingGraph& graph);
  void Reach(NodeIndex node, double distance);
  void Push(HeapEntry entry);
  HeapEntry Pop();
  // Reaches the neighbours of a node just settled.
  void Follow(NodeIndex node, double from_distance);
  // Settles the nearest node still waiting; false when none waits.
  bool SettleNext();

  const RoutingGraph* graph_ = nullptr;
  std::uint64_t generation_ = 0;
  // Per node; kept apart, so that the distances the search reads most lie close together. A node is
  // settled once it has its arc: kNoArc for the source, kUnsettled until then.
  static constexpr ArcIndex kUnsettled = -2;
  std::vector<double> distance_;
  std::vector<ArcIndex> arc_;
  std::vector<NodeIndex> touched_;  // every node reached since Begin, to reset
  std::vector<HeapEntry> heap_;
  NodeIndex unfollowed_source_ = kNoNode;
};

}  // namespace viamappa
