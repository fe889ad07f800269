#include "query/HighlightCriteria.h"

#include <gtest/gtest.h>

#include "core/query/QueryNetwork.h"
#include "geom/GraphRecords.h"
#include "query/HighlightCriteriaDialog.h"
#include "query/RoadHighlighting.h"

namespace viamappa {
namespace {

using enum HighlightCriterion;

HighlightFlags On(std::initializer_list<HighlightCriterion> criteria) {
  HighlightFlags flags{};
  for (const HighlightCriterion c : criteria) Flag(flags, c) = true;
  return flags;
}

class RoadHighlightingTest : public testing::QueryNetworkTest {
 protected:
  // Gives arcs names, alternative names and flags beside those of the network.
  void Rewrite(std::int32_t id, const std::function<void(ArcRecord&)>& change) {
    ArcTable arcs(db());
    ArcRecord arc;
    ASSERT_TRUE(arcs.Seek(id) && arcs.Read(arc));
    change(arc);
    ASSERT_TRUE(arcs.Rewrite(arc));
  }

  std::vector<std::string> Selected(const HighlightFlags& flags) {
    return Rows("ID", std::string(kArcTable), HighlightCondition(flags), "ID");
  }
};

// The classes chosen are joined by OR, the states by AND.
TEST_F(RoadHighlightingTest, StatesSelectTheirArcs) {
  Rewrite(2, [](ArcRecord& a) { a.denom = " "; });
  Rewrite(3, [](ArcRecord& a) { a.denom.clear(); });
  Rewrite(4, [](ArcRecord& a) { a.denom = "strada senza nome 2"; });
  Rewrite(5, [](ArcRecord& a) { a.alterna = " "; });
  Rewrite(6, [](ArcRecord& a) { a.alterna = "   "; });
  Rewrite(8, [](ArcRecord& a) { a.verifica = a.piazza = true; });
  using Ids = std::vector<std::string>;
  EXPECT_EQ(Selected(On({WithoutName})), (Ids{"2", "3", "4"})) << "a blank, no name, SENZA NOME";
  EXPECT_EQ(Selected(On({AlternativeName})), (Ids{"7"})) << "blank alternative names are none";
  EXPECT_EQ(Selected(On({Verified, ToVerify})), Ids{});
  EXPECT_EQ(Selected(On({Verified, Square, MunicipalRoads})), (Ids{"8"}));
  EXPECT_EQ(CountSelectedArcs(db(), HighlightCondition(On({ProvincialRoads, MunicipalRoads}))), 10);
}

// The dialog's clicks are the view test's, and so is the set drawn; OK there without a criterion means
// no highlighting.
TEST_F(RoadHighlightingTest, ChosenCriteriaFillTheSetWithTheArcsInTheLayer) {
  EXPECT_EQ(HighlightCriteriaDialog().Condition(), std::nullopt);
  std::vector<PointArray> set(3);
  ui_.QueueHighlightCriteria([](HighlightCriteriaDialog& d) {
    d.Toggle(ProvincialRoads);
    return true;
  });
  EXPECT_TRUE(ChooseHighlightedRoads(db(), ui_, layers_, set));
  ASSERT_EQ(set.size(), 3u);
  EXPECT_EQ(set[0].points(), layers_.FindLayer("archi")->FindLineFeature(4)->polylines[0].points());

  // An arc the map data do not hold is left out; nothing left means no highlighting, without a message.
  ASSERT_TRUE(layers_.FindLayer("archi")->RemoveLineFeature(*layers_.FindLayer("archi")->FindLineFeature(4)));
  CollectHighlights(db(), layers_, "ID = 4", set);
  EXPECT_TRUE(set.empty());
  ui_.QueueHighlightCriteria([](HighlightCriteriaDialog& d) {
    d.Toggle(Added);
    return true;
  });
  EXPECT_FALSE(ChooseHighlightedRoads(db(), ui_, layers_, set));
  set.resize(2);
  EXPECT_FALSE(ChooseHighlightedRoads(db(), ui_, layers_, set)) << "Annulla";
  EXPECT_TRUE(set.empty()) << "cleared first";
  EXPECT_TRUE(ui_.messages().empty());
}

}  // namespace
}  // namespace viamappa
