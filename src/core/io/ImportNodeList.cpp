#include "io/ImportNodeList.h"

#include <bit>

#include "io/Hundredths.h"

namespace viamappa {

std::size_t ImportNodeList::PointHash::operator()(const Point& p) const {
  const std::uint64_t a = std::bit_cast<std::uint64_t>(p.x + 0.0);  // +0.0 makes -0.0 hash as 0.0
  const std::uint64_t b = std::bit_cast<std::uint64_t>(p.y + 0.0);
  return static_cast<std::size_t>((a * 0x9E3779B97F4A7C15ULL) ^
                                  (b + 0x632BE59BD9B4E019ULL + (a << 6) + (a >> 2)));
}

std::int32_t ImportNodeList::Find(double x, double y) const {
  const auto it = by_point_.find(Point{RoundToHundredths(x), RoundToHundredths(y)});
  return it == by_point_.end() ? -1 : it->second;
}

std::int32_t ImportNodeList::Add(double x, double y) {
  const Point rounded{RoundToHundredths(x), RoundToHundredths(y)};
  const auto [it, created] = by_point_.try_emplace(rounded, static_cast<std::int32_t>(nodes_.size()));
  if (created) nodes_.push_back({it->second, rounded});
  return it->second;
}

}  // namespace viamappa
