#include "io/StreetDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::Arc;
using testing::NetworkBuilder;

TEST(StreetDirectoryTest, SplittingNames) {
  // Further blanks belong to the name; only a-z change case.
  const std::pair<const char*, const char*> cases[] = {{"Via Garibaldi   ", "VIA|GARIBALDI"},
                                                       {"PIAZZA  DUOMO", "PIAZZA| DUOMO"},
                                                       {"via dell'Università", "VIA|DELL'UNIVERSITà"},
                                                       {"STAZIONE", nullptr},
                                                       {" VIA ROMA", nullptr},
                                                       {"VIA ", nullptr},
                                                       {"", nullptr}};
  for (const auto& [text, split] : cases) {
    StreetName name;
    const bool done = SplitStreetName(text, name);
    EXPECT_EQ(done ? name.type + "|" + name.name : "-", split ? split : "-") << text;
  }
}

using DirectoryDatabaseTest = testing::RoadNetworkTest;

// Each type and pair once, a name and an alternative name alike, in the order of the engine's own
// grouping of the names.
TEST_F(DirectoryDatabaseTest, TheDirectoryHoldsEachTypeAndPairOnceInTheOrderOfTheirGrouping) {
  const char* names[] = {"Via b",  "VIA A",    "via _x",   "VIA Z",         "Via [",       "VIA ÀB",
                         "via àb", "VIA A",    "Largo Z",  "largo z",       "VIA A B",     "VIA AB",
                         "VIA a",  "STAZIONE", "VIA ROMA", "PIAZZA  DUOMO", "PIAZZA DUOMO"};
  {
    NetworkBuilder build(db());
    ASSERT_TRUE(build.AddNode(1, 0, 0));
    for (int i = 0; i < 17; ++i) {
      testing::ArcRow arc = Arc(i + 1, 1, 1, {{0, 0}, {1, 1}}, names[i]);
      if (i == 13) arc.alterna = "VIA ROMA";
      ASSERT_TRUE(build.AddArc(arc));
    }
  }
  std::vector<std::string> expected;
  DbQuery grouped(db());
  grouped.SetSelect("denom");
  grouped.SetFrom("archi");
  grouped.SetGroupBy("denom");
  StreetName split;
  for (bool row = grouped.Open(); row; row = grouped.MoveNext()) {
    std::string text;
    grouped.GetText(0, text);
    if (SplitStreetName(text, split)) expected.push_back(split.type + "|" + split.name);
  }
  expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
  const StreetDirectoryCounts counts = BuildStreetDirectory(db(), ui_);
  EXPECT_EQ(Rows("tipo, nome", "nomi"), expected);
  EXPECT_EQ(counts.names, static_cast<int>(expected.size()));
  EXPECT_EQ(counts.types, 3) << "VIA, LARGO, PIAZZA";
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
}

}  // namespace
}  // namespace viamappa
