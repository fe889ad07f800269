#include "edit/GraphValidation.h"

#include "core/edit/TopologyFixture.h"
#include "edit/GraphValidationReport.h"
#include "edit/ValidationBrowser.h"

namespace viamappa {
namespace {

using namespace viamappa::testing;

// A graph with one finding of each kind, every other arc named and in municipality 1.
class GraphValidationTest : public TopologyTest {
 protected:
  void SetUp() override {
    TopologyTest::SetUp();
    const auto arc = [](std::int32_t id, std::int32_t from, std::int32_t to, std::vector<Point> points,
                        std::string name = "VIA ROMA", std::int32_t comune = 1) {
      ArcRow row = Arc(id, from, to, std::move(points), std::move(name));
      row.comune = comune;
      return row;
    };
    {
      NetworkBuilder build(db());
      ASSERT_TRUE(
          build.AddMunicipality(1, "MEZZOLOMBARDO", "022115", {NetworkBuilder::Square(-10, -10, 5000)}));
    }
    // Arcs 1 and 2 twice between nodes 1 and 2, a point at 4, an end off node 6, node 7 unused, 8 and 15 at
    // one place, free ends near and on arc 1 at 11 and 13.
    const std::vector<NodeRecord> nodes = {
        {1, 0, 0},       {2, 100, 0},      {4, 200, 0},   {5, 300, 0},   {6, 401, 0},   {7, 500, 500},
        {8, 1000, 1000}, {15, 1000, 1000}, {10, 50, 50},  {11, 50, 0.5}, {12, 60, 50},  {13, 60, 0},
        {16, 2000, 0},   {17, 2100, 0},    {18, 3000, 0}, {19, 3100, 0}, {20, 4000, 0}, {21, 4100, 0}};
    Build(
        nodes,
        {arc(1, 1, 2, {{0, 0}, {100, 0}}), arc(2, 1, 2, {{0, 0}, {100, 0}}),
         arc(3, 4, 4, {{200, 0}, {200, 0}}), arc(4, 5, 6, {{300, 0}, {400, 0}}),
         arc(9, 8, 8, {{1000, 1000}, {1010, 1000}, {1010, 1010}, {1000, 1000}}),
         arc(10, 15, 15, {{1000, 1000}, {990, 1000}, {990, 990}, {1000, 1000}}),
         arc(6, 10, 11, {{50, 50}, {50, 0.5}}), arc(7, 12, 13, {{60, 50}, {60, 0}}),
         arc(11, 16, 17, {{2000, 0}, {2100, 0}}), arc(12, 17, 16, {{2100, 0}, {2000, 0}}),
         arc(13, 18, 19, {{3000, 0}, {3100, 0}}, ""), arc(14, 20, 21, {{4000, 0}, {4100, 0}}, "VIA ROMA", 0)},
        {"DELETE FROM geoarchi WHERE ID = 2"});
  }
};

TEST_F(GraphValidationTest, FindsEachKindWhereItIs) {
  const std::optional<GraphValidation> check = ValidateGraph(db(), ui_);
  ASSERT_TRUE(check);
  std::vector<std::string> texts;
  for (const Finding& finding : check->findings) texts.push_back(FindingText(finding));
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Arco 2: geometria illeggibile in 0,00 0,00",
                       "Arco 3: lunghezza nulla in 200,00 0,00",
                       "Arco 4: estremo non sul nodo 6 in 400,00 0,00",
                       "Nodo 7: non usato da nessun arco in 500,00 500,00",
                       "Nodo 15: nella posizione del nodo 8 in 1000,00 1000,00",
                       "Arco 6: estremo libero vicino all'arco 1 (0,50 m) in 50,00 0,50",
                       "Arco 7: estremo libero sull'arco 1 in 60,00 0,00",
                       "Arco 12: stessa geometria dell'arco 11 in 2050,00 0,00",
                       "Arco 13: senza denominazione in 3050,00 0,00",
                       "Arco 14: senza comune in 4050,00 0,00",
                   }));
  for (std::size_t k = 0; k < kFindingKinds; ++k)
    EXPECT_EQ(check->counts[k], 1) << FindingTitle(FindingKind(k));
  const std::vector<std::string> lines = ValidationReportLines(*check);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[6], "estremo_libero;arco;6;50,00;0,50;1;0,50");
  EXPECT_TRUE(ui_.messages().empty()) << ui_.last_message().text;
  // Nothing was changed.
  EXPECT_EQ(Ids("geoarchi").size(), 11u);
  EXPECT_EQ(Nodes().size(), 18u);
}

// The map shows each finding with a margin, at least 100 m across (the window's test goes through them);
// a finding without a place shows nothing, and a choice beyond the last changes nothing.
TEST_F(GraphValidationTest, TheBrowserShowsEachFindingInTurn) {
  std::optional<GraphValidation> check = ValidateGraph(db(), ui_);
  ASSERT_TRUE(check);
  check->findings[0].extent = Box();
  ValidationBrowser browser(std::move(*check));
  EXPECT_FALSE(browser.Next()) << "the first finding has no place";
  EXPECT_EQ(browser.Next(), Box::Of(150, -50, 250, 50));
  EXPECT_EQ(browser.Choose(8), Box::Of(3000 - 10, -60, 3100 + 10, 60));
  EXPECT_FALSE(browser.Choose(10));
  EXPECT_EQ(browser.current(), 8);
}

}  // namespace
}  // namespace viamappa
