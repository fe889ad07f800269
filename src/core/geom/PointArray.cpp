#include "geom/PointArray.h"

#include <algorithm>

namespace viamappa {

void PointArray::SetPoint(std::int32_t i, double x, double y) {
  if (i < 0 || i >= count()) return;
  points_[i] = {x, y};
  box_.Widen(x, y);
}

bool PointArray::GetPoint(std::int32_t i, double& x, double& y) const {
  if (i < 0 || i >= count()) return false;
  x = points_[i].x;
  y = points_[i].y;
  return true;
}

void PointArray::InsertPoint(std::int32_t i, double x, double y) {
  if (i < 0 || i > count()) return;
  points_.insert(points_.begin() + i, Point{x, y});
  box_.Widen(x, y);
}

void PointArray::RecomputeBox() {
  box_ = Box();
  for (const Point& p : points_) box_.Widen(p);
}

void PointArray::Reverse() {
  std::reverse(points_.begin(), points_.end());
}

bool PointArray::IsClosed() const {
  return !points_.empty() && points_.front() == points_.back();
}

}  // namespace viamappa
