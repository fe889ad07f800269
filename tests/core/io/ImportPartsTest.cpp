#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "base/NumberText.h"
#include "geom/Hundredths.h"
#include "io/ImportNodeList.h"
#include "io/StreetDirectory.h"
#include "io/ToponymImport.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"
#include "ui/RepeatedMessageFilter.h"

namespace viamappa {
namespace {

using testing::Arc;
using testing::NetworkBuilder;

TEST(HundredthsTest, RoundsAsTwoDecimalsWrittenAndReadBack) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> coordinates(-1e7, 1e7);
  for (int i = 0; i < 200000; ++i) {
    // Random values, and values right at a half of a hundredth where the product is inexact.
    const double value =
        i % 2 ? coordinates(random) : (std::floor(coordinates(random)) + 0.005 + (i % 7) * 0.01);
    ASSERT_EQ(RoundToHundredths(value), ParseDecimal(FormatFixed(value, 2)).value()) << FormatShortest(value);
  }
}

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

TEST_F(DirectoryDatabaseTest, TheDirectoryHoldsEachTypeAndPairOnce) {
  {
    NetworkBuilder build(db());
    ASSERT_TRUE(build.AddNode(1, 0, 0) && build.AddNode(2, 1, 1));
    const char* names[] = {"Via Garibaldi", "VIA GARIBALDI", "STAZIONE",
                           "PIAZZA  DUOMO", "PIAZZA DUOMO",  "VIA ROMA"};
    for (int i = 0; i < 6; ++i) {
      testing::ArcRow arc = Arc(i + 1, 1, 2, {{0, 0}, {1, 1}}, names[i]);
      if (i == 2) arc.alterna = "VIA ROMA";
      ASSERT_TRUE(build.AddArc(arc));
    }
  }
  const StreetDirectoryCounts counts = BuildStreetDirectory(db(), ui_);
  EXPECT_EQ(counts.types, 2);
  EXPECT_EQ(counts.names, 4);
  EXPECT_EQ(Rows("tipo", "tipi").size(), 2u);
  const std::vector<std::string> pairs = Rows("tipo, nome", "nomi");
  EXPECT_EQ(std::count(pairs.begin(), pairs.end(), "PIAZZA| DUOMO"), 1);
  EXPECT_EQ(std::count(pairs.begin(), pairs.end(), "VIA|ROMA"), 1) << "a name and an alternative name, once";
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
}

TEST_F(DirectoryDatabaseTest, NamesComeInTheOrderOfTheirGrouping) {
  const char* names[] = {"Via b", "VIA A",   "via _x",  "VIA Z",   "Via [",  "VIA ÀB", "via àb",
                         "VIA A", "Largo Z", "largo z", "VIA A B", "VIA AB", "VIA a"};
  {
    NetworkBuilder build(db());
    ASSERT_TRUE(build.AddNode(1, 0, 0));
    for (int i = 0; i < 13; ++i) ASSERT_TRUE(build.AddArc(Arc(i + 1, 1, 1, {{0, 0}, {1, 1}}, names[i])));
  }
  // The reference: the engine's own grouping.
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
  BuildStreetDirectory(db(), ui_);
  EXPECT_EQ(Rows("tipo, nome", "nomi"), expected);
}

TEST_F(DirectoryDatabaseTest, ToponymsOfTheLoadedKindsWithEitherSeparator) {
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

TEST(RepeatedMessageFilterTest, ShowsAnErrorOnceAndCountsTheRest) {
  ScriptedUserInterface ui;
  {
    RepeatedMessageFilter filter(ui);
    for (int i = 0; i < 1000; ++i)
      filter.ShowMessage("Errore aggiornamento tavola (local)\n\nrelazione", MessageIcon::Stop);
    filter.ShowMessage("un altro errore", MessageIcon::Warning);
    filter.ShowMessage("Trovate 1000 Località", MessageIcon::Information);
    filter.ShowMessage("un altro errore", MessageIcon::Warning);
  }
  // The summary comes after the count; after it a new batch of repeats begins.
  EXPECT_EQ(testing::Texts(ui),
            (std::vector<std::string>{"Errore aggiornamento tavola (local)\n\nrelazione", "un altro errore",
                                      "Lo stesso errore si è ripetuto altre 999 volte:\n\nErrore "
                                      "aggiornamento tavola (local)\n\nrelazione",
                                      "Trovate 1000 Località", "un altro errore"}));
}

}  // namespace
}  // namespace viamappa
