#include "query/ShortestPathSearch.h"

namespace viamappa {

void ShortestPathSearch::Reset(const RoutingGraph& graph) {
  const std::size_t nodes = static_cast<std::size_t>(graph.node_count());
  if (graph_ != &graph || generation_ != graph.generation() || distance_.size() != nodes) {
    distance_.assign(nodes, kUnreached);
    arc_.assign(nodes, kUnsettled);
    graph_ = &graph;
    generation_ = graph.generation();
  } else {
    for (const NodeIndex node : touched_) {
      const std::size_t n = static_cast<std::size_t>(node);
      distance_[n] = kUnreached;
      arc_[n] = kUnsettled;
    }
  }
  touched_.clear();
  heap_.clear();
  unfollowed_source_ = kNoNode;
}

void ShortestPathSearch::Reach(NodeIndex node, double distance) {
  double& known = distance_[static_cast<std::size_t>(node)];
  if (known == kUnreached) touched_.push_back(node);
  known = distance;
}

void ShortestPathSearch::Begin(const RoutingGraph& graph, NodeIndex source) {
  Reset(graph);
  if (source < 0 || source >= graph.node_count()) return;
  // The source is settled now; its ways out are followed by the first step, so that a direct link
  // made before any step finds no other node reached.
  Reach(source, 0);
  arc_[static_cast<std::size_t>(source)] = kNoArc;
  unfollowed_source_ = source;
}

void ShortestPathSearch::Link(NodeIndex node, double distance, ArcIndex arc) {
  if (!graph_ || node < 0 || node >= graph_->node_count() || arc < 0 || arc >= graph_->arc_count()) return;
  const RoutingArc& along = graph_->Arc(arc);
  if (along.from == along.to || (along.from != node && along.to != node)) return;
  Reach(node, distance);
  arc_[static_cast<std::size_t>(node)] = arc;
}

NodeIndex ShortestPathSearch::Predecessor(NodeIndex node) const {
  const ArcIndex arc = PredecessorArc(node);
  if (arc == kNoArc) return kNoNode;
  const RoutingArc& along = graph_->Arc(arc);
  return along.from == node ? along.to : along.from;
}

void ShortestPathSearch::Push(HeapEntry entry) {
  // Sift up with a hole: each parent moves down once instead of swapping.
  std::size_t hole = heap_.size();
  heap_.push_back(entry);
  while (hole > 0) {
    const std::size_t parent = (hole - 1) / 2;
    if (!(entry.distance < heap_[parent].distance)) break;
    heap_[hole] = heap_[parent];
    hole = parent;
  }
  heap_[hole] = entry;
}

ShortestPathSearch::HeapEntry ShortestPathSearch::Pop() {
  const HeapEntry top = heap_.front();
  const HeapEntry last = heap_.back();
  heap_.pop_back();
  const std::size_t size = heap_.size();
  if (size == 0) return top;
  // The hole left at the top goes down along the smaller children to the bottom, then the last entry
  // rises from there: it belongs near the bottom, so this compares about half as often as sifting it
  // down from the top.
  std::size_t hole = 0;
  for (std::size_t child = 1; child < size; child = 2 * hole + 1) {
    if (child + 1 < size && heap_[child + 1].distance < heap_[child].distance) ++child;
    heap_[hole] = heap_[child];
    hole = child;
  }
  while (hole > 0) {
    const std::size_t parent = (hole - 1) / 2;
    if (!(last.distance < heap_[parent].distance)) break;
    heap_[hole] = heap_[parent];
    hole = parent;
  }
  heap_[hole] = last;
  return top;
}

void ShortestPathSearch::Follow(NodeIndex node, double from_distance) {
  for (const RoutingStep& step : graph_->Steps(node)) {
    const double distance = from_distance + step.length;
    if (distance < distance_[static_cast<std::size_t>(step.neighbour)]) {
      Reach(step.neighbour, distance);
      Push({distance, step.neighbour, step.arc});
      graph_->PrefetchStart(step.neighbour);
    }
  }
}

bool ShortestPathSearch::SettleNext() {
  if (unfollowed_source_ != kNoNode) {
    Follow(unfollowed_source_, 0);
    unfollowed_source_ = kNoNode;
  }
  while (!heap_.empty()) {
    const HeapEntry entry = Pop();
    ArcIndex& arc = arc_[static_cast<std::size_t>(entry.node)];
    if (arc != kUnsettled) continue;  // an older, longer entry of a node settled already
    arc = entry.arc;
    // The nearest node still waiting is most likely the next to settle: its ways out load meanwhile.
    if (!heap_.empty()) graph_->PrefetchSteps(heap_.front().node);
    Follow(entry.node, entry.distance);
    return true;
  }
  return false;
}

bool ShortestPathSearch::RunUntil(NodeIndex target) {
  if (!graph_ || target < 0 || target >= graph_->node_count()) return false;
  while (arc_[static_cast<std::size_t>(target)] == kUnsettled) {
    if (!SettleNext()) return false;
  }
  return true;
}

void ShortestPathSearch::RunToAll() {
  if (!graph_) return;
  while (SettleNext()) {
  }
}

}  // namespace viamappa
