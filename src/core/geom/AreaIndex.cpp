#include "geom/AreaIndex.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>

namespace viamappa {

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using IndexPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using IndexBox = bg::model::box<IndexPoint>;
using IndexEntry = std::pair<IndexBox, std::uint64_t>;

bool IsFinite(const Box& box) {
  return std::isfinite(box.minx) && std::isfinite(box.miny) && std::isfinite(box.maxx) &&
         std::isfinite(box.maxy);
}

}  // namespace

struct AreaIndex::Tree {
  bgi::rtree<IndexEntry, bgi::rstar<16>> rtree;
};

AreaIndex::AreaIndex(const std::vector<AreaFeature>& features) : features_(features) {
  std::vector<IndexEntry> entries;
  for (std::size_t f = 0; f < features.size(); ++f) {
    for (std::size_t p = 0; p < features[f].parts.size(); ++p) {
      const std::uint64_t key = (static_cast<std::uint64_t>(f) << 32) | p;
      // The point-in-ring test begins with the outer ring's box as it is stored: the index holds that box.
      const Box& box = features[f].parts[p].outer.box();
      if (!IsFinite(box)) {
        unboxed_.push_back(key);
      } else if (!box.IsEmpty()) {
        entries.emplace_back(IndexBox({box.minx, box.miny}, {box.maxx, box.maxy}), key);
      }
      // An inverted box holds no point: the part can never be found.
    }
  }
  tree_ = std::make_unique<Tree>(Tree{{entries.begin(), entries.end()}});
}

AreaIndex::~AreaIndex() = default;

void AreaIndex::Candidates(const Point& p) const {
  candidates_.clear();
  const IndexPoint point(p.x, p.y);
  // Boxes hold the points of their edges, as the ring's box test does.
  tree_->rtree.query(bgi::intersects(point),
                     boost::make_function_output_iterator(
                         [this](const IndexEntry& entry) { candidates_.push_back(entry.second); }));
  candidates_.insert(candidates_.end(), unboxed_.begin(), unboxed_.end());
  std::sort(candidates_.begin(), candidates_.end());
}

void AreaIndex::Candidates(const Box& box) const {
  candidates_.assign(unboxed_.begin(), unboxed_.end());
  if (box.IsEmpty()) return;
  tree_->rtree.query(bgi::intersects(IndexBox({box.minx, box.miny}, {box.maxx, box.maxy})),
                     boost::make_function_output_iterator(
                         [this](const IndexEntry& entry) { candidates_.push_back(entry.second); }));
}

}  // namespace viamappa
