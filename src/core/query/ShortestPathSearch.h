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

  // Settles node at distance, reached from predecessor along arc, without a search step: the direct
  // link of two arcs that share a node. A node is never linked to itself: such a link changes nothing.
  void Link(NodeIndex node, double distance, NodeIndex predecessor, ArcIndex arc);

  bool Settled(NodeIndex node) const { return settled_[node] != 0; }
  double Distance(NodeIndex node) const { return state_[node].distance; }
  // kNoNode and kNoArc for the source and an unreached node.
  NodeIndex Predecessor(NodeIndex node) const { return state_[node].predecessor; }
  ArcIndex PredecessorArc(NodeIndex node) const { return state_[node].arc; }

  // How many nodes the current search has reached.
  std::size_t reached() const { return touched_.size(); }

 private:
  struct NodeState {
    double distance = kUnreached;
    NodeIndex predecessor = kNoNode;
    ArcIndex arc = kNoArc;
  };
  struct HeapEntry {
    double distance;
    NodeIndex node;
  };

  void Reset(const RoutingGraph& graph);
  void Reach(NodeIndex node, double distance, NodeIndex predecessor, ArcIndex arc);
  void Push(HeapEntry entry);
  HeapEntry Pop();
  // Reaches the neighbours of a node just settled.
  void Follow(NodeIndex node, double from_distance);
  // Settles the nearest node still waiting; false when none waits.
  bool SettleNext();

  const RoutingGraph* graph_ = nullptr;
  std::uint64_t generation_ = 0;
  std::vector<NodeState> state_;
  std::vector<std::uint8_t> settled_;
  std::vector<NodeIndex> touched_;  // every node reached since Begin, to reset
  std::vector<HeapEntry> heap_;     // a node may wait more than once; only its nearest entry counts
  NodeIndex unfollowed_source_ = kNoNode;
};

}  // namespace viamappa
