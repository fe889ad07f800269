#include "io/ToponymImport.h"

#include <gtest/gtest.h>

#include <filesystem>
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

  const std::string header_only = dir_.File("intestazione.txt");
  std::ofstream(header_only) << "ID\tNOME\n";
  EXPECT_EQ(ImportToponyms(db(), header_only, ui_).found, 0);
}

// A file that cannot be read stores nothing and is named; lines left out are counted by why; a UTF-8
// file says so with its byte-order mark, and lines may end with a lone CR.
TEST_F(ToponymImportTest, LinesLeftOutAreCountedAndUnreadableFilesStoreNothing) {
  std::filesystem::create_directory(dir_.File("cartella.txt"));
  std::ofstream(dir_.File("vuoto.txt")) << "";
  for (const auto& [name, said] : {std::pair{"manca.txt", "manca.txt non esiste"},
                                   {"cartella.txt", "cartella.txt non indica un file"},
                                   {"vuoto.txt", "vuoto.txt è vuoto"}}) {
    EXPECT_TRUE(ImportToponyms(db(), dir_.File(name), ui_).report.failed()) << name;
    EXPECT_NE(ui_.last_message().text.find(said), std::string::npos) << ui_.last_message().text;
  }
  const std::string file = dir_.File("utf8.txt");
  std::ofstream(file, std::ios::binary) << "\xEF\xBB\xBFID\tNOME\r"
                                           "1\tCittà\tx\tCS\t1\t2\t3\t4\r"
                                           "2\tCorto\tx\tCS\t1\t2\r"
                                           "3\tLago\tx\tmisc\t1\t2\t3\t4\r"
                                           "4\tRovescio\tx\tMISC\t5\t2\t3\t4\r";
  const ToponymImportCounts counts = ImportToponyms(db(), file, ui_);
  EXPECT_EQ(counts.inserted, 1);
  EXPECT_EQ(Rows("denom", "toponimi"), std::vector<std::string>{"Città"});
  EXPECT_EQ(counts.report.SummaryLines("ignorate", "righe"),
            "\nignorate 3 righe: 1 con meno di 8 colonne, 1 di tipo diverso da MISC e CS, 1 con il riquadro "
            "rovesciato");
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
