// The votes of one sequence of points (an arc's box corners, or the points of its line) for the areas
// that hold them, and the decision that assigns the arc to an area.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "geom/AreaIndex.h"

namespace viamappa {

class AreaVotes {
 public:
  // Each point votes for the first feature of the index, among those accept(position) lets through,
  // that holds it. While the next points lie in the feature that took the previous point's vote, that
  // feature takes their votes without a new search; a point outside it searches the list again.
  template <typename Accept>
  void VotePoints(const AreaIndex& index, std::span<const Point> points, Accept&& accept) {
    const std::vector<AreaFeature>& features = index.features();
    int previous = -1;
    for (const Point& p : points) {
      if (previous < 0 || !PointInFeature(features[previous], p.x, p.y))
        previous = index.FirstHolding(p, accept);
      if (previous >= 0) Vote(features[previous].id);
    }
  }

  // One more vote for the area; a new area joins the list after those already voted.
  void Vote(std::int32_t area);

  // The area with the most votes (on equal counts the one voted first) when point_count x 100 / its
  // votes is greater than 90; 0 when it is not, or when nobody voted. The votes are emptied.
  std::int32_t Decide(std::int64_t point_count);

  // Pairs (area, votes) in the order of each area's first vote.
  const std::vector<std::pair<std::int32_t, std::int32_t>>& votes() const { return votes_; }

 private:
  std::vector<std::pair<std::int32_t, std::int32_t>> votes_;
};

}  // namespace viamappa
