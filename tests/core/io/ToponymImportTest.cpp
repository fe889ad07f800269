#include "io/ToponymImport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using ToponymImportTest = testing::RoadNetworkTest;

TEST_F(ToponymImportTest, ToponymsOfTheLoadedKindsWithEitherSeparator) {
  const std::string file = dir_.File("toponimi.txt");
  std::ofstream(file, std::ios::binary)
      << "ID\tNOME\tX\tTIPO\tMINX\tMINY\tMAXX\tMAXY\r\n"
         "1\tMonte Bondone\tx\tMISC\t650000.5\t5100000\t650100,25\t5100050\textra\r\n"
         "2\tCitt\xE0\tx\tCS\t1\t2\t3\t4\n"
         "3\tLago\tx\tmisc\t1\t2\t3\t4\n"
         "4\tCorto\tx\tCS\t1\t2\t3\n"
         "5\tSant\x92"
         "Anna\tx\tCS\t5\t6\t7\t8";
  const ToponymImportCounts counts = ImportToponyms(db(), file, ui_);
  EXPECT_EQ(counts.found, 3);
  EXPECT_EQ(counts.inserted, 3);
  EXPECT_EQ(
      Rows("ID, denom, minx, maxx", "toponimi", "", "ID"),
      (std::vector<std::string>{"0|Monte Bondone|650000.5|650100.25", "1|Città|1|3", "2|Sant’Anna|5|7"}));

  EXPECT_EQ(ImportToponyms(db(), dir_.File("manca.txt"), ui_).found, 0);
  const std::string header_only = dir_.File("vuoto.txt");
  std::ofstream(header_only) << "ID\tNOME\n";
  EXPECT_EQ(ImportToponyms(db(), header_only, ui_).found, 0);
}

TEST(ToponymLineTest, ColumnsNeverSpillIntoEachOther) {
  EXPECT_FALSE(ParseToponymLine("a\tb\tc\td\te\tf\tg"));
  const auto line = ParseToponymLine("\t\t\tCS\t\t\t\t");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->kind, "CS");
  EXPECT_EQ(line->maxy, "");
  const std::string long_name(1000, 'x');
  const auto wide = ParseToponymLine("1\t" + long_name + "\t3\tMISC\t1\t2\t3\t4\t5\t6");
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->name.size(), 1000u);
  EXPECT_EQ(wide->maxy, "4");
}

}  // namespace
}  // namespace viamappa
