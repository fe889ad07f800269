#include "io/ImportNodeList.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

TEST(ImportNodeListTest, TheFirstNodeAtARoundedPointWins) {
  ImportNodeList nodes;
  EXPECT_EQ(nodes.Add(100.004, 50), 0) << "the first node is 0";
  EXPECT_EQ(nodes.Add(99.996, 50.001), 0) << "the same point after rounding";
  EXPECT_EQ(nodes.Add(100.006, 50), 1) << "a hundredth apart";
  EXPECT_EQ(nodes.Find(100.01, 50.0), 1);
  EXPECT_EQ(nodes.Find(1, 1), -1);
  ASSERT_EQ(nodes.nodes().size(), 2u);
  EXPECT_EQ(nodes.nodes()[1].point, (Point{100.01, 50.0}));
  EXPECT_EQ(nodes.Add(-0.0, 0.0), nodes.Add(0.0, -0.0)) << "minus zero is zero";
}

}  // namespace
}  // namespace viamappa
