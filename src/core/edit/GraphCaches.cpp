#include "edit/GraphCaches.h"

#include "map/LayerNames.h"

namespace viamappa {

GraphCaches::GraphCaches(LayerSet& layers, GraphEditHooks hooks)
    : layers_(layers),
      arcs_(layers.FindLayer(kArcLayer)),
      nodes_(layers.FindLayer(kNodeLayer)),
      hooks_(std::move(hooks)) {}

LineFeature* GraphCaches::FindArc(std::int32_t id) const {
  return arcs_ ? arcs_->FindLineFeature(id) : nullptr;
}

PointFeature* GraphCaches::FindNode(std::int32_t id) const {
  return nodes_ ? nodes_->FindPointFeature(id) : nullptr;
}

// The layers are ours to change: the queries answer read-only features only because drawing uses them.
std::vector<LineFeature*> GraphCaches::ArcsMeeting(const Box& box) const {
  std::vector<LineFeature*> found;
  if (!arcs_) return found;
  for (const LineFeature* f : arcs_->LinesMeeting(box)) found.push_back(const_cast<LineFeature*>(f));
  return found;
}

std::vector<PointFeature*> GraphCaches::NodesMeeting(const Box& box) const {
  std::vector<PointFeature*> found;
  if (!nodes_) return found;
  for (const PointFeature* f : nodes_->PointsMeeting(box)) found.push_back(const_cast<PointFeature*>(f));
  return found;
}

std::vector<PointFeature*> GraphCaches::NodesAt(const Point& at) const {
  std::vector<PointFeature*> found = NodesMeeting(PointBox(at));
  std::erase_if(found, [&](const PointFeature* f) { return !(f->point == at); });
  return found;
}

LineFeature* GraphCaches::AddArc(std::int32_t id, PointArray line) {
  if (!arcs_) return nullptr;
  LineFeature& arc = arcs_->AddLineFeature(id);
  layers_.extent.Widen(line.box());
  arcs_->AddPolyline(arc, std::move(line));
  return &arc;
}

void GraphCaches::ArcMoved(LineFeature& arc) {
  if (!arcs_) return;
  for (PointArray& line : arc.polylines) {
    line.RecomputeBox();
    layers_.extent.Widen(line.box());
  }
  arcs_->Moved(arc);
}

void GraphCaches::RemoveArc(LineFeature& arc) {
  if (!arcs_) return;
  if (hooks_.arc_leaving_caches) hooks_.arc_leaving_caches(arc.id);
  if (arcs_->RemoveLineFeature(arc)) removed_arcs_[arc.id] = arc.slot;
}

PointFeature* GraphCaches::AddNode(std::int32_t id, const Point& at) {
  if (!nodes_) return nullptr;
  layers_.extent.Widen(at);
  return &nodes_->AddPointFeature(id, at.x, at.y);
}

void GraphCaches::MoveNode(PointFeature& node, const Point& to) {
  if (!nodes_) return;
  node.point = to;
  layers_.extent.Widen(to);
  nodes_->Moved(node);
}

void GraphCaches::RemoveNode(PointFeature& node) {
  if (nodes_ && nodes_->RemovePointFeature(node)) removed_nodes_[node.id] = node.slot;
}

namespace {

std::optional<std::uint32_t> SlotIn(const std::unordered_map<std::int32_t, std::uint32_t>& slots,
                                    std::int32_t id) {
  const auto found = slots.find(id);
  if (found == slots.end()) return std::nullopt;
  return found->second;
}

}  // namespace

std::optional<std::uint32_t> GraphCaches::RemovedArcSlot(std::int32_t id) const {
  return SlotIn(removed_arcs_, id);
}

std::optional<std::uint32_t> GraphCaches::RemovedNodeSlot(std::int32_t id) const {
  return SlotIn(removed_nodes_, id);
}

LineFeature* GraphCaches::RestoreArc(std::int32_t id, PointArray line, std::optional<std::uint32_t> slot) {
  if (!arcs_) return nullptr;
  LineFeature* arc = slot ? arcs_->ReviveLineFeature(*slot, id) : nullptr;
  if (!arc) return AddArc(id, std::move(line));
  layers_.extent.Widen(line.box());
  arcs_->AddPolyline(*arc, std::move(line));
  return arc;
}

PointFeature* GraphCaches::RestoreNode(std::int32_t id, const Point& at, std::optional<std::uint32_t> slot) {
  if (!nodes_) return nullptr;
  PointFeature* node = slot ? nodes_->RevivePointFeature(*slot, id, at.x, at.y) : nullptr;
  if (!node) return AddNode(id, at);
  layers_.extent.Widen(at);
  return node;
}

void GraphCaches::RoutingGraphStale() const {
  if (hooks_.routing_graph_stale) hooks_.routing_graph_stale();
}

}  // namespace viamappa
