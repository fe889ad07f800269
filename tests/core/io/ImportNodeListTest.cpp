#include "io/ImportNodeList.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

// Points a hundredth apart are the graph import's test; here the rounded point found and minus zero.
TEST(ImportNodeListTest, TheFirstNodeAtARoundedPointWins) {
  ImportNodeList nodes;
  EXPECT_EQ(nodes.Add(100.004, 50), 0);
  EXPECT_EQ(nodes.Find(100.0, 50.0), 0);
  EXPECT_EQ(nodes.Find(1, 1), -1);
  EXPECT_EQ(nodes.Add(-0.0, 0.0), nodes.Add(0.0, -0.0)) << "minus zero is zero";
}

}  // namespace
}  // namespace viamappa
