#include "io/AreaVotes.h"

namespace viamappa {

void AreaVotes::Vote(std::int32_t area) {
  for (auto& [voted, count] : votes_) {
    if (voted == area) {
      ++count;
      return;
    }
  }
  votes_.emplace_back(area, 1);
}

std::int32_t AreaVotes::Decide(std::int64_t point_count) {
  const std::pair<std::int32_t, std::int32_t>* best = nullptr;
  for (const auto& vote : votes_) {
    if (!best || vote.second > best->second) best = &vote;
  }
  std::int32_t assigned = 0;
  // The share is taken the other way round (points over votes): an arc of few points needs few
  // corners in the area, and every point that votes in phase II gives at least 100.
  if (best && point_count * 100 / best->second > 90) assigned = best->first;
  votes_.clear();
  return assigned;
}

}  // namespace viamappa
