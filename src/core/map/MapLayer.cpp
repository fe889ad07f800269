#include "map/MapLayer.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <cmath>
#include <iterator>
#include <limits>

namespace viamappa {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

using IndexPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using IndexBox = bg::model::box<IndexPoint>;
using IndexEntry = std::pair<IndexBox, std::uint32_t>;
using IndexTree = bgi::rtree<IndexEntry, bgi::rstar<16>>;

IndexBox ToIndexBox(const Box& box) {
  return IndexBox(IndexPoint(box.minx, box.miny), IndexPoint(box.maxx, box.maxy));
}

// Whether an index box stands for an entry of the tree: the empty box marks a feature it does not hold.
bool Entered(const IndexBox& box) {
  return box.min_corner().get<0>() <= box.max_corner().get<0>();
}

Box PointBox(const Point& p) {
  return Box::Of(p.x, p.y, p.x, p.y);
}

Box AreaBounds(const AreaFeature& feature) {
  Box box;
  for (const AreaPart& part : feature.parts) box.Widen(part.outer.box());
  return box;
}

// The slots of the entries meeting a box, in the order the features were added.
std::vector<std::uint32_t> Query(const IndexTree& tree, const Box& box) {
  std::vector<IndexEntry> hits;
  tree.query(bgi::intersects(ToIndexBox(box)), std::back_inserter(hits));
  std::vector<std::uint32_t> slots;
  slots.reserve(hits.size());
  for (const IndexEntry& hit : hits) slots.push_back(hit.second);
  std::sort(slots.begin(), slots.end());
  return slots;
}

template <typename Features, typename Id>
std::vector<std::uint32_t> SortedById(const Features& features, Id id) {
  std::vector<std::uint32_t> order(features.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  // Layers are mostly loaded in identifier order already: then there is nothing to sort.
  bool sorted = true;
  for (auto it = features.begin(), previous = it; sorted && it != features.end(); previous = it++)
    sorted = it == previous || id(*previous) <= id(*it);
  if (!sorted) {
    std::vector<std::int32_t> ids;
    ids.reserve(features.size());
    for (const auto& feature : features) ids.push_back(id(feature));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return ids[a] < ids[b]; });
  }
  return order;
}

template <typename Features>
auto* FindById(Features& features, const std::vector<std::uint32_t>& order, std::int32_t id) {
  auto it = std::lower_bound(order.begin(), order.end(), id, [&](std::uint32_t slot, std::int32_t wanted) {
    return features[slot].id < wanted;
  });
  using Feature = std::remove_reference_t<decltype(features[0])>;
  const auto alive = [](const Feature& f) {
    if constexpr (requires(Feature g) { g.alive; }) return f.alive;
    return true;
  };
  for (; it != order.end() && features[*it].id == id; ++it)
    if (alive(features[*it])) return &features[*it];
  // Features added by editing since the last rebuild sit after the sorted ones: a few, scanned.
  for (std::size_t slot = order.size(); slot < features.size(); ++slot)
    if (features[slot].id == id && alive(features[slot])) return &features[slot];
  return static_cast<Feature*>(nullptr);
}

}  // namespace

Box LineFeature::Bounds() const {
  Box box;
  for (const PointArray& line : polylines) box.Widen(line.box());
  return box;
}

// The three trees with the box each feature was entered with, so that a moved feature can be taken
// out. Areas are few and never move: their tree is rebuilt when asked after a change.
struct MapLayer::SpatialIndex {
  IndexTree areas;
  bool areas_stale = true;
  IndexTree lines;
  std::vector<IndexBox> line_boxes;
  IndexTree points;
  std::vector<IndexBox> point_boxes;
};

MapLayer::MapLayer(LayerDefinition definition) : definition_(std::move(definition)) {}

MapLayer::~MapLayer() = default;

AreaFeature& MapLayer::AddAreaFeature(std::int32_t id) {
  areas_.push_back({id, {}});
  if (spatial_) spatial_->areas_stale = true;
  return areas_.back();
}

LineFeature& MapLayer::AddLineFeature(std::int32_t id) {
  lines_.push_back({id, {}, static_cast<std::uint32_t>(lines_.size()), true});
  ++line_alive_;
  if (spatial_) spatial_->line_boxes.push_back(ToIndexBox(Box()));
  return lines_.back();
}

PointFeature& MapLayer::AddPointFeature(std::int32_t id, double x, double y) {
  points_.push_back({id, {x, y}, {}, static_cast<std::uint32_t>(points_.size()), true});
  ++point_alive_;
  if (spatial_) {
    const IndexBox box = ToIndexBox(PointBox({x, y}));
    spatial_->point_boxes.push_back(box);
    spatial_->points.insert({box, static_cast<std::uint32_t>(points_.size() - 1)});
  }
  return points_.back();
}

void MapLayer::AddPart(AreaFeature& feature, PointArray ring) {
  feature.parts.push_back({std::move(ring), {}});
  if (spatial_) spatial_->areas_stale = true;
}

void MapLayer::AddExclusion(AreaPart& part, PointArray ring) {
  part.exclusions.push_back(std::move(ring));
}

void MapLayer::AddPolyline(LineFeature& feature, PointArray polyline) {
  feature.polylines.push_back(std::move(polyline));
  Moved(feature);
}

namespace {

// The slot of a feature of this layer; -1 for a feature of another layer.
template <typename Features, typename Feature>
std::int64_t SlotOf(const Features& features, const Feature& feature) {
  if (feature.slot >= features.size() || &features[feature.slot] != &feature) return -1;
  return feature.slot;
}

}  // namespace

void MapLayer::Moved(const LineFeature& feature) {
  if (!spatial_) return;
  const std::int64_t slot = SlotOf(lines_, feature);
  if (slot < 0) return;
  IndexBox& entered = spatial_->line_boxes[slot];
  // Only an entry the tree holds is removed: the empty box of one it never held would send the search
  // through the whole tree.
  if (Entered(entered)) spatial_->lines.remove(IndexEntry{entered, static_cast<std::uint32_t>(slot)});
  const Box bounds = feature.Bounds();
  entered = ToIndexBox(feature.alive ? bounds : Box());
  if (Entered(entered)) spatial_->lines.insert({entered, static_cast<std::uint32_t>(slot)});
}

void MapLayer::Moved(const PointFeature& feature) {
  if (!spatial_) return;
  const std::int64_t slot = SlotOf(points_, feature);
  if (slot < 0) return;
  IndexBox& entered = spatial_->point_boxes[slot];
  if (Entered(entered)) spatial_->points.remove(IndexEntry{entered, static_cast<std::uint32_t>(slot)});
  entered = ToIndexBox(feature.alive ? PointBox(feature.point) : Box());
  if (Entered(entered)) spatial_->points.insert({entered, static_cast<std::uint32_t>(slot)});
}

bool MapLayer::RemoveLineFeature(const LineFeature& feature) {
  const std::int64_t slot = SlotOf(lines_, feature);
  if (slot < 0 || !lines_[slot].alive) return false;
  LineFeature& removed = lines_[slot];
  removed.alive = false;
  Moved(removed);
  removed.polylines.clear();
  removed.polylines.shrink_to_fit();
  --line_alive_;
  return true;
}

bool MapLayer::RemovePointFeature(const PointFeature& feature) {
  const std::int64_t slot = SlotOf(points_, feature);
  if (slot < 0 || !points_[slot].alive) return false;
  PointFeature& removed = points_[slot];
  removed.alive = false;
  Moved(removed);
  removed.text.clear();
  --point_alive_;
  return true;
}

LineFeature* MapLayer::ReviveLineFeature(std::uint32_t slot, std::int32_t id) {
  if (slot >= lines_.size() || lines_[slot].alive || lines_[slot].id != id) return nullptr;
  LineFeature& revived = lines_[slot];
  revived.alive = true;
  ++line_alive_;
  return &revived;
}

PointFeature* MapLayer::RevivePointFeature(std::uint32_t slot, std::int32_t id, double x, double y) {
  if (slot >= points_.size() || points_[slot].alive || points_[slot].id != id) return nullptr;
  PointFeature& revived = points_[slot];
  revived.alive = true;
  revived.point = {x, y};
  ++point_alive_;
  Moved(revived);
  return &revived;
}

void MapLayer::RebuildIndexes() {
  areas_by_id_ = SortedById(areas_, [](const AreaFeature& f) { return f.id; });
  lines_by_id_ = SortedById(lines_, [](const LineFeature& f) { return f.id; });
  points_by_id_ = SortedById(points_, [](const PointFeature& f) { return f.id; });

  // Packed trees: built in one go from every entry, the fastest to query.
  auto spatial = std::make_unique<SpatialIndex>();
  std::vector<IndexEntry> entries;
  entries.reserve(lines_.size());
  // Room for the features editing adds, so that adding one never copies the boxes of a whole region.
  const auto headroom = [](std::size_t n) { return n + n / 16 + 1024; };
  spatial->line_boxes.reserve(headroom(lines_.size()));
  spatial->line_boxes.resize(lines_.size(), ToIndexBox(Box()));
  std::uint32_t slot = 0;
  for (const LineFeature& line : lines_) {
    // A feature without points has no place to be found at.
    const Box bounds = line.Bounds();
    if (line.alive && !bounds.IsEmpty()) {
      spatial->line_boxes[slot] = ToIndexBox(bounds);
      entries.emplace_back(spatial->line_boxes[slot], slot);
    }
    ++slot;
  }
  spatial->lines = IndexTree(entries.begin(), entries.end());
  entries.clear();
  entries.shrink_to_fit();
  entries.reserve(points_.size());
  spatial->point_boxes.reserve(headroom(points_.size()));
  spatial->point_boxes.resize(points_.size());
  slot = 0;
  for (const PointFeature& point : points_) {
    spatial->point_boxes[slot] = ToIndexBox(point.alive ? PointBox(point.point) : Box());
    if (point.alive) entries.emplace_back(spatial->point_boxes[slot], slot);
    ++slot;
  }
  spatial->points = IndexTree(entries.begin(), entries.end());
  spatial_ = std::move(spatial);
  RebuildAreaIndex();
}

void MapLayer::RebuildAreaIndex() const {
  std::vector<IndexEntry> entries;
  for (std::uint32_t i = 0; i < areas_.size(); ++i) {
    const Box bounds = AreaBounds(areas_[i]);
    if (!bounds.IsEmpty()) entries.emplace_back(ToIndexBox(bounds), i);
  }
  spatial_->areas = IndexTree(entries.begin(), entries.end());
  spatial_->areas_stale = false;
}

AreaFeature* MapLayer::FindAreaFeature(std::int32_t id) {
  return FindById(areas_, areas_by_id_, id);
}
LineFeature* MapLayer::FindLineFeature(std::int32_t id) {
  return FindById(lines_, lines_by_id_, id);
}
PointFeature* MapLayer::FindPointFeature(std::int32_t id) {
  return FindById(points_, points_by_id_, id);
}

bool MapLayer::HasFeatures(FeatureKind kind) const {
  switch (kind) {
    case FeatureKind::Area:
      return !areas_.empty();
    case FeatureKind::Line:
      return line_alive_ > 0;
    case FeatureKind::Point:
      return point_alive_ > 0;
  }
  return false;
}

bool MapLayer::IsVisible(FeatureKind kind, std::int32_t denominator) const {
  if (!HasFeatures(kind)) return false;
  const LayerStyle& s = definition_.style;
  if (s.minimum != -1 && denominator < s.minimum) return false;
  if (s.maximum != -1 && denominator > s.maximum) return false;
  return true;
}

std::vector<const AreaFeature*> MapLayer::AreasMeeting(const Box& box) const {
  std::vector<const AreaFeature*> found;
  if (!spatial_) return found;
  if (spatial_->areas_stale) RebuildAreaIndex();
  for (std::uint32_t slot : Query(spatial_->areas, box)) found.push_back(&areas_[slot]);
  return found;
}

std::vector<const LineFeature*> MapLayer::LinesMeeting(const Box& box) const {
  std::vector<const LineFeature*> found;
  if (!spatial_) return found;
  for (std::uint32_t slot : Query(spatial_->lines, box)) found.push_back(&lines_[slot]);
  return found;
}

std::vector<const PointFeature*> MapLayer::PointsMeeting(const Box& box) const {
  std::vector<const PointFeature*> found;
  if (!spatial_) return found;
  for (std::uint32_t slot : Query(spatial_->points, box)) found.push_back(&points_[slot]);
  return found;
}

}  // namespace viamappa
