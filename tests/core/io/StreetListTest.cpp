// The street list: its three forms, grouping, the file's code page and line ends, and a file that
// cannot be written.
#include "io/StreetList.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Windows1252.h"
#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::NetworkBuilder;

class StreetListTest : public testing::RoadNetworkTest {
 protected:
  void SetUp() override {
    RoadNetworkTest::SetUp();
    NetworkBuilder b(db());
    ASSERT_TRUE(b.AddMunicipality(12, "Alfa", "022012", {NetworkBuilder::Square(0, 0, 10)}));
    ASSERT_TRUE(b.AddMunicipality(13, "Beta", "022013", {NetworkBuilder::Square(20, 0, 10)}));
    ASSERT_TRUE(b.AddLocality(5, "Città", "022012", 100, {NetworkBuilder::Square(0, 0, 5)}));
    ASSERT_TRUE(b.AddLocality(6, "Borgo", "022012", 100, {NetworkBuilder::Square(5, 5, 5)}));
    ASSERT_TRUE(b.AddLocality(7, "Colle", "022013", 100, {NetworkBuilder::Square(20, 0, 5)}));
    struct Street {
      const char* name;
      std::int32_t comune;
      std::int32_t local;
    };
    const Street streets[] = {{"VIA ROMA", 12, 5},    {"VIA ROMA", 12, 5},  {"VIA ROMA", 12, 6},
                              {"PIAZZA ÈRBE", 12, 5}, {"VIA MONTE", 13, 7}, {"STRADA NUOVA", 0, 0}};
    std::int32_t id = 0;
    for (const Street& street : streets) {
      ++id;
      ASSERT_TRUE(b.AddNode(2 * id, id, 0));
      ASSERT_TRUE(b.AddNode(2 * id + 1, id, 1));
      testing::ArcRow arc = testing::Arc(id, 2 * id, 2 * id + 1, {{1.0 * id, 0}, {1.0 * id, 1}}, street.name);
      arc.comune = street.comune;
      arc.local = street.local;
      ASSERT_TRUE(b.AddArc(arc));
    }
  }

  // The file as written, in UTF-8.
  std::string Written(const std::string& path) { return Windows1252ToUtf8(testing::ReadText(path)); }
};

TEST_F(StreetListTest, EachChoiceWritesItsHeadingAndOneLinePerDistinctRow) {
  struct Case {
    const char* what;
    StreetListChoice choice;
    std::int64_t rows;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"one municipality",
       {true, 12, "- Alfa", false, -1, ""},
       3,
       "Comune - Alfa\r\n\r\nStradario\tLocalità\r\nPIAZZA ÈRBE\tCittà\r\nVIA ROMA\tBorgo\r\nVIA "
       "ROMA\tCittà\r\n"},
      {"one locality",
       {false, -1, "", true, 5, "- Città"},
       2,
       "Località - Città\r\n\r\nStradario\r\nPIAZZA ÈRBE\r\nVIA ROMA\r\n"},
      {"everything, with the arcs not yet localized",
       {},
       5,
       "Comune\tLocalità\tStradario\r\n"
       "*** Comune non assegnato ***\t*** Località non assegnata ***\tSTRADA NUOVA\r\n"
       "Alfa\tBorgo\tVIA ROMA\r\nAlfa\tCittà\tPIAZZA ÈRBE\r\nAlfa\tCittà\tVIA ROMA\r\nBeta\tColle\tVIA "
       "MONTE\r\n"},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File("ELENCO_STRADE.txt");
    EXPECT_EQ(WriteStreetList(db(), c.choice, path, ui_), c.rows) << c.what;
    EXPECT_EQ(Written(path), c.text) << c.what;
  }
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
  EXPECT_EQ(testing::ReadText(dir_.File("ELENCO_STRADE.txt")).find("\xc3"), std::string::npos)
      << "accents in Windows-1252, not UTF-8";
}

TEST_F(StreetListTest, AFileThatCannotBeWrittenIsReportedAndAnOldOneKept) {
  const std::string missing = dir_.File("tolta/ELENCO_STRADE.txt");
  EXPECT_EQ(WriteStreetList(db(), {}, missing, ui_), std::nullopt);
  EXPECT_EQ(ui_.last_message().text, "Impossibile creare\n\n" + missing);
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Warning);

  const std::string path = dir_.File("elenco.txt");
  ASSERT_EQ(WriteStreetList(db(), {}, path, ui_), 5);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  if (access(path.c_str(), W_OK) != 0) {
    const std::string before = testing::ReadText(path);
    EXPECT_EQ(WriteStreetList(db(), {true, 13, "- Beta", false, -1, ""}, path, ui_), std::nullopt);
    EXPECT_EQ(testing::ReadText(path), before);
  }
}

}  // namespace
}  // namespace viamappa
