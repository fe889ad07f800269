#include "geom/BoxIndex.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <iterator>

namespace viamappa {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

using IndexPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using IndexBox = bg::model::box<IndexPoint>;

IndexBox ToIndexBox(const Box& box) {
  return IndexBox(IndexPoint(box.minx, box.miny), IndexPoint(box.maxx, box.maxy));
}

template <typename Entry>
void Positions(std::vector<Entry>& hits, std::vector<std::int32_t>& out) {
  out.clear();
  out.reserve(hits.size());
  for (const Entry& hit : hits) out.push_back(hit.second);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

}  // namespace

struct BoxIndex::Tree {
  using Entry = std::pair<IndexBox, std::int32_t>;
  // Packed at construction: the whole set is known, and a packed tree answers fastest.
  bgi::rtree<Entry, bgi::quadratic<16>> rtree;
  mutable std::vector<Entry> hits;
};

BoxIndex::BoxIndex() = default;
BoxIndex::~BoxIndex() = default;
BoxIndex::BoxIndex(BoxIndex&&) noexcept = default;
BoxIndex& BoxIndex::operator=(BoxIndex&&) noexcept = default;

BoxIndex::BoxIndex(const std::vector<Box>& boxes) : tree_(std::make_unique<Tree>()) {
  std::vector<Tree::Entry> entries;
  entries.reserve(boxes.size());
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (!boxes[i].IsEmpty()) entries.emplace_back(ToIndexBox(boxes[i]), static_cast<std::int32_t>(i));
  }
  tree_->rtree = decltype(tree_->rtree)(entries.begin(), entries.end());
}

void BoxIndex::Query(const Box& box, std::vector<std::int32_t>& out) const {
  out.clear();
  if (!tree_ || box.IsEmpty()) return;
  tree_->hits.clear();
  tree_->rtree.query(bgi::intersects(ToIndexBox(box)), std::back_inserter(tree_->hits));
  Positions(tree_->hits, out);
}

struct PointIndex::Tree {
  using Entry = std::pair<IndexPoint, std::int32_t>;
  bgi::rtree<Entry, bgi::quadratic<16>> rtree;
  mutable std::vector<Entry> hits;
};

PointIndex::PointIndex() : tree_(std::make_unique<Tree>()) {}
PointIndex::~PointIndex() = default;
PointIndex::PointIndex(PointIndex&&) noexcept = default;
PointIndex& PointIndex::operator=(PointIndex&&) noexcept = default;

PointIndex::PointIndex(const std::vector<Point>& points) : tree_(std::make_unique<Tree>()) {
  std::vector<Tree::Entry> entries;
  entries.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i)
    entries.emplace_back(IndexPoint(points[i].x, points[i].y), static_cast<std::int32_t>(i));
  tree_->rtree = decltype(tree_->rtree)(entries.begin(), entries.end());
}

void PointIndex::Insert(const Point& point, std::int32_t position) {
  tree_->rtree.insert({IndexPoint(point.x, point.y), position});
}

void PointIndex::Query(const Box& box, std::vector<std::int32_t>& out) const {
  out.clear();
  if (box.IsEmpty()) return;
  tree_->hits.clear();
  tree_->rtree.query(bgi::intersects(ToIndexBox(box)), std::back_inserter(tree_->hits));
  Positions(tree_->hits, out);
}

}  // namespace viamappa
