// The decision of an arc's votes: the threshold, ties and the order of first votes.
#include "io/AreaVotes.h"

#include <gtest/gtest.h>

#include <vector>

namespace viamappa {
namespace {

TEST(AreaVotesTest, TheAreaWithMostVotesIsAssignedWhenPointsTimesHundredOverVotesPass90) {
  struct Case {
    const char* what;
    std::vector<std::int32_t> ballots;
    std::int64_t points;
    std::int32_t expected;
  };
  const std::vector<Case> cases = {
      {"four corners of a two-point arc: 2 x 100 / 4 = 50", {7, 7, 7, 7}, 2, 0},
      {"the two points of the same arc: 2 x 100 / 2 = 100", {7, 7}, 2, 7},
      {"four corners of a four-point arc: 4 x 100 / 4 = 100", {7, 7, 7, 7}, 4, 7},
      {"three corners of a three-point arc: 3 x 100 / 3 = 100", {7, 7, 7, 9}, 3, 7},
      {"six of ten points in A, four in B: 10 x 100 / 6", {1, 1, 2, 2, 2, 1, 1, 2, 1, 1}, 10, 1},
      {"equal votes: the area voted first", {9, 4, 4, 9}, 2, 9},
      {"no votes", {}, 5, 0},
      {"an arc without points", {3, 3}, 0, 0},
  };
  for (const Case& c : cases) {
    AreaVotes votes;
    for (std::int32_t area : c.ballots) votes.Vote(area);
    EXPECT_EQ(votes.Decide(c.points), c.expected) << c.what;
    EXPECT_TRUE(votes.votes().empty()) << c.what;
  }
}

}  // namespace
}  // namespace viamappa
