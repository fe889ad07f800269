#include "query/RouteSession.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/query/RouteTestNetwork.h"
#include "ui/RouteResultDialog.h"

namespace viamappa {
namespace {

using testing::Arc;
using testing::On;

// Three arcs in a row, the first two of one street in one locality, and a long way round the middle one.
class RouteSessionTest : public testing::RouteNetworkTest {
 protected:
  void SetUp() override {
    RouteNetworkTest::SetUp();
    {
      testing::NetworkBuilder build(db());
      const std::vector<Point> square = testing::NetworkBuilder::Square(0, 0, 10);
      ASSERT_TRUE(build.AddMunicipality(1, "Mezzovalle", "022001", {square}));
      ASSERT_TRUE(build.AddLocality(7, "Borgo Alto", "022001", 800, {square}));
    }
    testing::ArcRow first = Arc(1, 1, 2, {{1000, 1000}, {1100, 1000}}, "VIA ROMA   ");
    testing::ArcRow second = Arc(2, 2, 3, {{1100, 1000}, {1200, 1000}}, "VIA ROMA");
    first.local = second.local = 7;
    Network({{1, 1000, 1000}, {2, 1100, 1000}, {3, 1200, 1000}, {4, 1300, 1000}},
            {first, second, Arc(3, 3, 4, {{1200, 1000}, {1300, 1000}}, "VIA VERDI"),
             Arc(4, 2, 3, {{1100, 1000}, {1150, 1200}, {1200, 1000}}, "VIA LUNGA")});
    nowhere_ = Rows("denom", "local", "ID = 0").at(0);
  }

  void Route() {
    session_.SetStart(sources(), On(1, 1050, 1000), ui_);
    session_.SetEndAndCompute(sources(), On(3, 1250, 1000), ui_);
  }

  std::vector<std::int32_t> Chosen() const {
    return session_.result() ? ArcsOf(session_.result()->Chosen()) : std::vector<std::int32_t>{};
  }

  RouteSession session_;
  std::string nowhere_;  // the locality of arcs that have none
};

TEST_F(RouteSessionTest, TheResultIsListedStreetByStreetAndSavedWithSalva) {
  const std::string file = dir_.File("percorso.txt");
  ui_.QueueRouteChoice(RouteDialogChoice::Save);
  ui_.QueueFile(file);
  int redraws = 0;
  session_.SetStart(sources(), On(1, 1050, 1000), ui_);
  session_.SetEndAndCompute(sources(), On(3, 1250, 1000), ui_, [&] { ++redraws; });
  EXPECT_EQ(redraws, 1) << "the end marker is drawn once";
  ASSERT_EQ(ui_.route_dialogs().size(), 1u);
  EXPECT_EQ(
      ui_.route_dialogs()[0],
      (std::vector<std::string>{"Il percorso minimo identificato misura 0.20 Km",
                                "Km  0.15 - VIA ROMA - Borgo Alto", "Km  0.20 - VIA VERDI - " + nowhere_}));
  EXPECT_NE(testing::ReadText(file).find("Km  0.20 - VIA VERDI"), std::string::npos);

  // OK saves nothing; a point the snap did not find sets no end and computes nothing.
  std::filesystem::remove(file);
  Route();
  EXPECT_FALSE(std::filesystem::exists(file));
  session_.SetEndAndCompute(sources(), std::nullopt, ui_);
  EXPECT_FALSE(session_.end() || session_.result());
  EXPECT_TRUE(session_.start());
  EXPECT_EQ(ui_.route_dialogs().size(), 2u);
}

TEST_F(RouteSessionTest, AnEditBetweenTwoComputationsIsSeenByTheSecond) {
  Route();
  ASSERT_EQ(Chosen(), (std::vector<std::int32_t>{1, 2, 3}));

  // Arc 2 is deleted as the editing deletes it: the caches tell first, then the rows go.
  session_.ArcLeavingCaches(4);
  EXPECT_TRUE(session_.result()) << "the route does not run along arc 4";
  session_.ArcLeavingCaches(2);
  EXPECT_FALSE(session_.result());
  ASSERT_TRUE(arcs().RemoveLineFeature(*arcs().FindLineFeature(2)));
  std::string error;
  ASSERT_TRUE(db().engine()->Execute(
      "DELETE FROM geoarchi WHERE ID = 2; DELETE FROM orgarchi WHERE ID = 2; DELETE FROM archi WHERE ID = 2",
      error))
      << error;
  session_.MarkGraphStale();
  session_.SetEndAndCompute(sources(), On(3, 1250, 1000), ui_);
  EXPECT_EQ(Chosen(), (std::vector<std::int32_t>{1, 4, 3}));
  EXPECT_NEAR(session_.result()->Chosen().TotalLength(), 100 + 2 * std::hypot(50, 200), 1e-9);

  // The start arc leaves: the start keeps its point on no arc, and the next computation fails.
  session_.ArcLeavingCaches(1);
  EXPECT_FALSE(session_.start()->arc);
  ui_.ClearMessages();
  session_.SetEndAndCompute(sources(), On(3, 1250, 1000), ui_);
  EXPECT_FALSE(session_.result());
  EXPECT_EQ(ui_.last_message().text, kNoRouteMessage);
  EXPECT_TRUE(session_.end()) << "the end marker stays after a failure";

  // New map data: everything computed on the old is forgotten.
  Route();
  session_.LayersRebuilt();
  EXPECT_FALSE(session_.start() || session_.end() || session_.result() || session_.graph_built());
}

}  // namespace
}  // namespace viamappa
