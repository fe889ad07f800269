// A list of area features searched by point. The answer is always the one a scan of the list in its
// order gives (the first feature that holds the point); an R-tree over the boxes of the parts only
// leaves out the parts whose box cannot hold the point.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/Box.h"
#include "geom/PointArray.h"
#include "geom/PointInPolygon.h"

namespace viamappa {

class AreaIndex {
 public:
  // Indexes the features, which must outlive the index and stay unchanged.
  explicit AreaIndex(const std::vector<AreaFeature>& features);
  ~AreaIndex();
  AreaIndex(const AreaIndex&) = delete;
  AreaIndex& operator=(const AreaIndex&) = delete;

  const std::vector<AreaFeature>& features() const { return features_; }

  // The position in the list of the first feature that accept(position) lets through and that holds
  // the point; -1 when there is none. One search at a time: the index keeps its candidates in between.
  template <typename Accept>
  int FirstHolding(const Point& p, Accept&& accept) const {
    Candidates(p);
    for (const std::uint64_t candidate : candidates_) {
      const int feature = static_cast<int>(candidate >> 32);
      if (!accept(feature)) continue;
      const AreaPart& part = features_[feature].parts[static_cast<std::uint32_t>(candidate)];
      if (PointInPart(part, p.x, p.y)) return feature;
    }
    return -1;
  }
  int FirstHolding(const Point& p) const {
    return FirstHolding(p, [](int) { return true; });
  }

  // False when no part of a feature that accept(position) lets through can hold a point of the box:
  // then no point of it is inside any of them.
  template <typename Accept>
  bool MayHold(const Box& box, Accept&& accept) const {
    Candidates(box);
    for (const std::uint64_t candidate : candidates_) {
      if (accept(static_cast<int>(candidate >> 32))) return true;
    }
    return false;
  }

 private:
  struct Tree;

  // Fills candidates_ with the parts whose outer box holds the point, as (feature << 32 | part),
  // ascending: the order of the scan.
  void Candidates(const Point& p) const;
  // The same for the parts whose outer box meets the box, in no particular order.
  void Candidates(const Box& box) const;

  const std::vector<AreaFeature>& features_;
  std::unique_ptr<Tree> tree_;
  // Parts whose box is not a box of finite numbers: the box test cannot leave them out.
  std::vector<std::uint64_t> unboxed_;
  mutable std::vector<std::uint64_t> candidates_;
};

}  // namespace viamappa
