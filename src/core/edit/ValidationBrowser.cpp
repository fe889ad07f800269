#include "edit/ValidationBrowser.h"

#include <algorithm>

#include "edit/GraphValidationReport.h"

namespace viamappa {

std::string ValidationBrowser::CountsText() const {
  return ValidationCountLines(validation_);
}

std::string ValidationBrowser::ItemText(int index) const {
  if (index < 0 || index >= size()) return {};
  return FindingText(validation_.findings[static_cast<std::size_t>(index)]);
}

std::optional<Box> ValidationBrowser::Choose(int index) {
  if (index < 0 || index >= size()) return std::nullopt;
  current_ = index;
  const Box& extent = validation_.findings[static_cast<std::size_t>(index)].extent;
  // An arc without a readable polyline and without a start node has no place.
  if (extent.IsEmpty()) return std::nullopt;
  const double cx = (extent.minx + extent.maxx) / 2, cy = (extent.miny + extent.maxy) / 2;
  const double half =
      std::max({(extent.maxx - extent.minx) * 0.6, (extent.maxy - extent.miny) * 0.6, kLeastView / 2});
  return Box::Of(cx - half, cy - half, cx + half, cy + half);
}

}  // namespace viamappa
