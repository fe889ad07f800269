#include "io/NewNodes.h"

#include <unordered_map>

namespace viamappa::conflation {

namespace {

class NewNodeList {
 public:
  explicit NewNodeList(std::vector<Point>& nodes) : nodes_(nodes) {}

  // The new node exactly at the point, made now when there is none.
  NodeRef At(const Point& p) {
    const auto [entry, created] = numbers_.try_emplace(p, static_cast<std::int32_t>(nodes_.size()) + 1);
    if (created) nodes_.push_back(p);
    return NodeRef::New(entry->second);
  }

  // The new node exactly at the point, if any.
  NodeRef Find(const Point& p) const {
    const auto found = numbers_.find(p);
    return found == numbers_.end() ? NodeRef() : NodeRef::New(found->second);
  }

 private:
  std::vector<Point>& nodes_;
  std::unordered_map<Point, std::int32_t, PointHash> numbers_;
};

}  // namespace

void DetermineNewNodes(ConflationState& state, ProgressDisplay& progress) {
  progress.SetPhase("Determinazione dei Nodi da generare");
  state.new_nodes.clear();
  NewNodeList nodes(state.new_nodes);
  const auto total = static_cast<long long>(state.secondary.size() + state.primary.size());
  long long done = 0;
  for (SecondaryArc& s : state.secondary) {
    progress.SetProgress(++done, total);
    if (!s.Unmatched()) continue;
    if (!s.start.IsSet()) s.start = nodes.At(s.line.front());
    if (!s.end.IsSet()) s.end = nodes.At(s.line.back());
  }
  for (PrimaryArc& arc : state.primary) {
    progress.SetProgress(++done, total);
    if (!arc.modified) continue;
    const std::size_t parts = arc.PartCount();
    for (std::size_t j = 0; j < parts; ++j) {
      ArcPart& part = arc.Part(j);
      // The arc's own ends keep its nodes unless a new node lies there; a cut point always has one.
      part.start = j == 0 ? nodes.Find(part.line.front()) : nodes.At(part.line.front());
      part.end = j + 1 == parts ? nodes.Find(part.line.back()) : nodes.At(part.line.back());
    }
  }
}

}  // namespace viamappa::conflation
