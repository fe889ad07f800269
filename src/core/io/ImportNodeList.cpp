#include "io/ImportNodeList.h"

#include <bit>

#include "geom/Hundredths.h"

namespace viamappa {

namespace {

std::uint64_t Mix(const Point& p) {
  // +0.0 turns -0.0 into 0.0, which compares equal to it.
  std::uint64_t h = std::bit_cast<std::uint64_t>(p.x + 0.0) * 0x9E3779B97F4A7C15ULL;
  h ^= std::bit_cast<std::uint64_t>(p.y + 0.0) + 0x632BE59BD9B4E019ULL + (h << 6) + (h >> 2);
  h ^= h >> 29;
  return h * 0xBF58476D1CE4E5B9ULL;
}

}  // namespace

// The slot of the point: the one holding it, or the empty one where it would go.
std::size_t ImportNodeList::Slot(const Point& p) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = Mix(p) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = slots_[slot];
    if (entry == 0 || nodes_[entry - 1].point == p) return slot;
  }
}

void ImportNodeList::Grow() {
  std::vector<std::uint32_t> old = std::move(slots_);
  slots_.assign(old.empty() ? 1024 : old.size() * 2, 0);
  for (std::uint32_t entry : old) {
    if (entry != 0) slots_[Slot(nodes_[entry - 1].point)] = entry;
  }
}

std::int32_t ImportNodeList::Find(double x, double y) const {
  if (slots_.empty()) return -1;
  const std::uint32_t entry = slots_[Slot({RoundToHundredths(x), RoundToHundredths(y)})];
  return entry == 0 ? -1 : nodes_[entry - 1].id;
}

std::int32_t ImportNodeList::Add(double x, double y) {
  // Kept at most half full, so that probes stay short.
  if ((nodes_.size() + 1) * 2 > slots_.size()) Grow();
  const Point rounded{RoundToHundredths(x), RoundToHundredths(y)};
  const std::size_t slot = Slot(rounded);
  if (slots_[slot] != 0) return nodes_[slots_[slot] - 1].id;
  nodes_.push_back({static_cast<std::int32_t>(nodes_.size()), rounded});
  slots_[slot] = static_cast<std::uint32_t>(nodes_.size());
  return nodes_.back().id;
}

}  // namespace viamappa
