// A polyline or a ring: a counted array of points with its bounding box. The points lie in memory as
// in the stored coordinates (X then Y, 16 bytes a point).
#pragma once

#include <cstdint>
#include <vector>

#include "base/Box.h"

namespace viamappa {

class PointArray {
 public:
  PointArray() = default;

  // count points at (0, 0), with an empty box.
  explicit PointArray(std::int32_t count) : points_(count > 0 ? count : 0) {}

  // Adopts points with the box stored beside them (not recomputed).
  PointArray(std::vector<Point> points, const Box& box) : points_(std::move(points)), box_(box) {}

  // Adopts points and computes their box.
  explicit PointArray(std::vector<Point> points) : points_(std::move(points)) { RecomputeBox(); }

  std::int32_t count() const { return static_cast<std::int32_t>(points_.size()); }
  bool empty() const { return points_.empty(); }
  const std::vector<Point>& points() const { return points_; }
  const Point& operator[](std::size_t i) const { return points_[i]; }
  const Point& front() const { return points_.front(); }
  const Point& back() const { return points_.back(); }
  const Box& box() const { return box_; }

  // Stores point i and widens the box to it; ignored unless 0 <= i < count.
  void SetPoint(std::int32_t i, double x, double y);

  // Point i; false when i is out of range.
  bool GetPoint(std::int32_t i, double& x, double& y) const;

  // Inserts a point at i (0 <= i <= count; count appends), shifting the later points, and widens the box.
  // Ignored for any other i.
  void InsertPoint(std::int32_t i, double x, double y);

  // Gives the points away, leaving the array empty (box unchanged).
  std::vector<Point> TakePoints() { return std::move(points_); }

  void RecomputeBox();
  void Reverse();

  // True when the first and the last point are exactly equal.
  bool IsClosed() const;

  // The bytes of the stored coordinates: count x 16, little-endian doubles.
  const void* data() const { return points_.data(); }
  std::size_t byte_size() const { return points_.size() * sizeof(Point); }

 private:
  std::vector<Point> points_;
  Box box_;
};

// One distinct area of an area feature: an outer ring and its exclusion rings (holes), in the order read.
struct AreaPart {
  PointArray outer;
  std::vector<PointArray> exclusions;
};

// An area with an identifier (a municipality, a locality) made of its distinct areas.
struct AreaFeature {
  std::int32_t id = 0;
  std::vector<AreaPart> parts;
};

}  // namespace viamappa
