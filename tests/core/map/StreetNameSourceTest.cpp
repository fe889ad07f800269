#include "map/StreetNameSource.h"

#include <gtest/gtest.h>

#include <string>

#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using ArcNamesTest = testing::RoadNetworkTest;

TEST_F(ArcNamesTest, ArcNamesComeFromTheArcsTableWithoutTrailingBlanks) {
  {
    testing::NetworkBuilder builder(db());
    for (int node = 1; node <= 3; ++node) ASSERT_TRUE(builder.AddNode(node, node * 10.0, 0));
    ASSERT_TRUE(builder.AddArc(testing::Arc(5, 1, 2, {{0, 0}, {10, 0}}, "Via Verdi   ")));
    ASSERT_TRUE(builder.AddArc(testing::Arc(6, 2, 3, {{10, 0}, {20, 0}}, "")));
  }
  ArcTableNames names(db());
  std::string name;
  ASSERT_TRUE(names.NameOf(5, name));
  EXPECT_EQ(name, "Via Verdi");
  // An arc without a name gives none.
  EXPECT_TRUE(!names.NameOf(6, name) || name.empty());
  EXPECT_FALSE(names.NameOf(99, name));
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
}

}  // namespace
}  // namespace viamappa
