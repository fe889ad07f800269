// Spatial indexes that find the few boxes or points near a place among many, so that a batch command
// meets only neighbours. Each entry carries a position in the caller's list; queries answer the
// positions in ascending order, so that the caller visits candidates in the order of its own list.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/Box.h"

namespace viamappa {

// A fixed set of boxes, built at once.
class BoxIndex {
 public:
  BoxIndex();
  // Entry i is boxes[i]; empty boxes are left out.
  explicit BoxIndex(const std::vector<Box>& boxes);
  ~BoxIndex();
  BoxIndex(BoxIndex&&) noexcept;
  BoxIndex& operator=(BoxIndex&&) noexcept;

  // The positions of the boxes that meet the box (edges included), ascending, into out.
  void Query(const Box& box, std::vector<std::int32_t>& out) const;

 private:
  struct Tree;
  std::unique_ptr<Tree> tree_;
};

// Points that may be added at any time; a position may be given to several points.
class PointIndex {
 public:
  PointIndex();
  // Entry i is points[i], built at once.
  explicit PointIndex(const std::vector<Point>& points);
  ~PointIndex();
  PointIndex(PointIndex&&) noexcept;
  PointIndex& operator=(PointIndex&&) noexcept;

  void Insert(const Point& point, std::int32_t position);

  // The positions of the points inside the box (edges included), ascending and without repeats.
  void Query(const Box& box, std::vector<std::int32_t>& out) const;

 private:
  struct Tree;
  std::unique_ptr<Tree> tree_;
};

// The box grown by margin on every side.
inline Box Grown(const Box& box, double margin) {
  return Box::Of(box.minx - margin, box.miny - margin, box.maxx + margin, box.maxy + margin);
}

}  // namespace viamappa
