// Localization on small hand-made areas: the votes of corners and points, the locality restricted to
// the arc's municipality, the toponyms' four corners, the refusals and the run that stores nothing.
#include "io/Localization.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/NetworkBuilder.h"
#include "support/RoadNetworkDatabase.h"

namespace viamappa {
namespace {

using testing::Arc;
using testing::NetworkBuilder;

// A closed diamond (counter-clockwise) around its centre.
std::vector<Point> Diamond(double cx, double cy, double r) {
  return {{cx, cy - r}, {cx + r, cy}, {cx, cy + r}, {cx - r, cy}, {cx, cy - r}};
}

class LocalizationTest : public testing::RoadNetworkTest {
 protected:
  // Municipalities: 1 Alfa and 2 Beta, squares side by side; 3 Gamma and 4 Delta, diamonds touching at
  // one corner; 5 Epsilon, a square left of Alfa; 6 Zeta and 7 Eta, overlapping diamonds.
  // Localities: 1 of Beta lying inside Alfa, 2 of Alfa inside Alfa.
  void BuildAreas(NetworkBuilder& b) {
    ASSERT_TRUE(b.AddMunicipality(1, "Alfa", "022001", {NetworkBuilder::Square(0, 0, 100)}));
    ASSERT_TRUE(b.AddMunicipality(2, "Beta", "022002", {NetworkBuilder::Square(100, 0, 100)}));
    ASSERT_TRUE(b.AddMunicipality(3, "Gamma", "022003", {Diamond(350, 50, 50)}));
    ASSERT_TRUE(b.AddMunicipality(4, "Delta", "022004", {Diamond(450, 50, 50)}));
    ASSERT_TRUE(b.AddMunicipality(5, "Epsilon", "022005", {NetworkBuilder::Square(-100, 0, 100)}));
    ASSERT_TRUE(b.AddMunicipality(6, "Zeta", "022006", {Diamond(650, 50, 50)}));
    ASSERT_TRUE(b.AddMunicipality(7, "Eta", "022007", {Diamond(720, 50, 50)}));
    ASSERT_TRUE(b.AddLocality(1, "Borgo di Beta", "022002", 10, {NetworkBuilder::Square(5, 5, 30)}));
    ASSERT_TRUE(b.AddLocality(2, "Borgo di Alfa", "022001", 10, {NetworkBuilder::Square(50, 50, 45)}));
  }

  void AddArc(NetworkBuilder& b, std::int32_t id, std::vector<Point> points, std::int32_t comune = 0,
              std::int32_t local = 0) {
    ASSERT_TRUE(b.AddNode(2 * id, points.front().x, points.front().y));
    ASSERT_TRUE(b.AddNode(2 * id + 1, points.back().x, points.back().y));
    testing::ArcRow arc = Arc(id, 2 * id, 2 * id + 1, std::move(points));
    arc.comune = comune;
    arc.local = local;
    ASSERT_TRUE(b.AddArc(arc));
  }

  std::vector<std::string> Arcs() { return Rows("ID, comune, local", "archi", "", "ID"); }
};

TEST_F(LocalizationTest, ArcsTakeTheAreaOfTheirVotes) {
  struct Case {
    const char* what;
    std::vector<Point> points;
    const char* expected;  // comune|local
  };
  const std::vector<Point> gamma_delta = {{310, 50}, {320, 52}, {330, 48}, {350, 10}, {350, 90},
                                          {380, 50}, {420, 50}, {440, 52}, {460, 48}, {480, 50}};
  const std::vector<Case> cases = {
      {"two points inside Alfa: four corner votes do not pass, two point votes do",
       {{10, 10}, {20, 20}},
       "1|0"},
      {"six points in Gamma and four in Delta, no corner in either", gamma_delta, "3|0"},
      {"outside every municipality", {{1000, 1000}, {1010, 1010}}, "0|0"},
      {"two corners in Epsilon and two in Alfa: the first voted wins", {{-50, 50}, {50, 60}}, "5|0"},
      {"points keep voting for the feature of the previous point while it holds them",
       {{760, 50}, {690, 50}, {685, 45}, {688, 52}, {692, 48}, {720, 5}, {720, 95}},
       "7|0"},
      {"in Alfa and in a locality of Alfa", {{60, 60}, {70, 70}}, "1|2"},
      {"in Alfa but in a locality of Beta", {{10, 10}, {20, 12}, {30, 14}, {32, 30}}, "1|0"},
  };
  {
    NetworkBuilder b(db());
    BuildAreas(b);
    for (std::size_t i = 0; i < cases.size(); ++i)
      AddArc(b, static_cast<std::int32_t>(i + 1), cases[i].points, 2, 1);
  }
  ASSERT_TRUE(LocalizeRoadGraph(db(), ui_));
  const std::vector<std::string> arcs = Arcs();
  ASSERT_EQ(arcs.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(arcs[i], std::to_string(i + 1) + "|" + cases[i].expected) << cases[i].what;
  EXPECT_EQ(ui_.last_message().text, "La localizzazione degli archi del grafo stradale è stata effettuata");
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Information);
  EXPECT_TRUE(IsRoadGraphLocalized(db()));
}

TEST_F(LocalizationTest, MissingDataRefusesAndWritesNothing) {
  const std::string cannot =
      "\n\nPertanto non è possibile procedere alla localizzazione\ndegli archi stradali.";
  EXPECT_FALSE(LocalizeRoadGraph(db(), ui_));
  EXPECT_EQ(ui_.last_message().text, "ATTENZIONE: il grafo stradale non risulta presente." + cannot);
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_FALSE(LocalizeToponyms(db(), ui_));
  EXPECT_EQ(ui_.last_message().text,
            "ATTENZIONE: i toponimi associati alla cartografia non risultano presenti.\n\n"
            "Pertanto non è possibile procedere alla localizzazione\ndei toponimi.");
  {
    NetworkBuilder b(db());
    AddArc(b, 1, {{10, 10}, {20, 20}}, 0, 0);
    ASSERT_TRUE(b.AddToponym(1, "Monte", Box::Of(10, 10, 20, 20)));
  }
  EXPECT_FALSE(LocalizeRoadGraph(db(), ui_));
  EXPECT_EQ(ui_.last_message().text, "ATTENZIONE: i Comuni non risultano presenti." + cannot);
  EXPECT_FALSE(LocalizeToponyms(db(), ui_));
  EXPECT_EQ(ui_.last_message().text, "ATTENZIONE: i Comuni non risultano presenti." + cannot);
  {
    NetworkBuilder b(db());
    ASSERT_TRUE(b.AddMunicipality(1, "Alfa", "022001", {NetworkBuilder::Square(0, 0, 100)}));
  }
  EXPECT_FALSE(LocalizeRoadGraph(db(), ui_));
  EXPECT_EQ(ui_.last_message().text, "ATTENZIONE: le Località non risultano presenti." + cannot);
  EXPECT_EQ(Arcs(), std::vector<std::string>{"1|0|0"}) << "not even the municipality is written";
  EXPECT_FALSE(IsRoadGraphLocalized(db()));
  EXPECT_FALSE(CheckRoadGraphLocalized(db(), ui_)) << "renaming is advised against";
}

TEST_F(LocalizationTest, ToponymsNeedAllFourCornersInOneMunicipality) {
  {
    NetworkBuilder b(db());
    BuildAreas(b);
    ASSERT_TRUE(b.AddToponym(0, "Inside Alfa", Box::Of(10, 10, 30, 20), 2));
    ASSERT_TRUE(b.AddToponym(1, "Across Alfa and Beta", Box::Of(90, 10, 110, 20), 1));
    ASSERT_TRUE(b.AddToponym(2, "Outside", Box::Of(1000, 10, 1010, 20)));
    ASSERT_TRUE(b.AddToponym(3, "In Zeta and Eta", Box::Of(685, 48, 690, 52)));
    ASSERT_TRUE(b.AddToponym(4, "Corners in Gamma and Delta", Box::Of(395, 49, 405, 51)));
  }
  ASSERT_TRUE(LocalizeToponyms(db(), ui_));
  EXPECT_EQ(Rows("ID, comune", "toponimi", "", "ID"),
            (std::vector<std::string>{"0|1", "1|0", "2|0", "3|6", "4|0"}));
  EXPECT_EQ(ui_.last_message().text,
            "La localizzazione dei toponimi associati alla cartografia è stata effettuata");
}

TEST_F(LocalizationTest, ARunReplacesEarlierResultsAndADamagedArcIsLeftOut) {
  {
    NetworkBuilder b(db());
    BuildAreas(b);
    AddArc(b, 1, {{1000, 1000}, {1010, 1010}}, 2, 1);
    AddArc(b, 2, {{60, 60}, {70, 70}});
    AddArc(b, 3, {{60, 60}, {70, 70}}, 2, 1);
  }
  std::string error;
  ASSERT_TRUE(db().engine()->Execute("UPDATE geoarchi SET punti = 3 WHERE ID = 3", error)) << error;
  ASSERT_TRUE(LocalizeRoadGraph(db(), ui_));
  EXPECT_EQ(Arcs(), (std::vector<std::string>{"1|0|0", "2|1|2", "3|2|1"}));
  EXPECT_EQ(testing::Texts(ui_).front(), "Archi: Entità Lineare corrotta 3 !!!");
}

TEST_F(LocalizationTest, AFailedUpdateUndoesTheWholeRegistration) {
  {
    NetworkBuilder b(db());
    BuildAreas(b);
    for (std::int32_t id = 1; id <= 3; ++id) AddArc(b, id, {{60, 60}, {70, 70}});
    ASSERT_TRUE(b.AddToponym(1, "Monte", Box::Of(10, 10, 20, 20)));
    ASSERT_TRUE(b.AddToponym(2, "Colle", Box::Of(10, 10, 20, 20)));
  }
  std::string error;
  ASSERT_TRUE(db().engine()->Execute(
      "CREATE TRIGGER refuse_arc BEFORE UPDATE ON archi WHEN NEW.ID = 3 BEGIN SELECT RAISE(ABORT, 'no'); END;"
      "CREATE TRIGGER refuse_toponym BEFORE UPDATE ON toponimi WHEN NEW.ID = 2 BEGIN SELECT RAISE(ABORT, "
      "'no'); "
      "END;",
      error))
      << error;
  EXPECT_FALSE(LocalizeRoadGraph(db(), ui_));
  EXPECT_EQ(ui_.last_message().icon, MessageIcon::Stop);
  EXPECT_EQ(Arcs(), (std::vector<std::string>{"1|0|0", "2|0|0", "3|0|0"}));
  EXPECT_FALSE(LocalizeToponyms(db(), ui_));
  EXPECT_EQ(Rows("ID, comune", "toponimi", "", "ID"), (std::vector<std::string>{"1|0", "2|0"}));
  // Nothing stays locked: the next change goes through.
  ASSERT_TRUE(db().engine()->Execute("DROP TRIGGER refuse_arc", error)) << error;
  EXPECT_TRUE(LocalizeRoadGraph(db(), ui_));
  EXPECT_EQ(Rows("count(*)", "archi", "comune = 1 AND local = 2"), std::vector<std::string>{"3"});
}

}  // namespace
}  // namespace viamappa
