#include "query/RouteCut.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace viamappa {
namespace {

using Kind = EndCut::Kind;

// An arc from (0, 0) to (30, 0) with vertices at 10 and 20, and arcs touching its ends.
const PointArray kLine({{0, 0}, {10, 0}, {20, 0}, {30, 0}});
const PointArray kAtFirst({{0, 0}, {0, 50}});
const PointArray kAtLast({{30, 0}, {30, 50}});
const PointArray kAtBoth({{30, 0}, {15, 40}, {0, 0}});  // a parallel arc
const PointArray kApart({{100, 100}, {200, 100}});

TEST(RouteCutTest, AnEndArcIsCutFromWhereTheRouteMeetsItToTheMarker) {
  struct Case {
    const char* what;
    Point marker;
    const PointArray& neighbour;
    std::optional<Point> junction;
    Kind kind;
    std::vector<Point> piece;
  };
  const Case cases[] = {
      {"nearest vertex before the marker", {12, 0}, kAtFirst, {}, Kind::Piece, {{0, 0}, {10, 0}, {12, 0}}},
      {"nearest vertex beyond the marker is left out",
       {18, 0},
       kAtFirst,
       {},
       Kind::Piece,
       {{0, 0}, {10, 0}, {18, 0}}},
      {"from the last point", {12, 0}, kAtLast, {}, Kind::Piece, {{12, 0}, {20, 0}, {30, 0}}},
      {"off the line no segment box holds it: its nearest vertex stays",
       {12, 3},
       kAtLast,
       {},
       Kind::Piece,
       {{12, 3}, {10, 0}, {20, 0}, {30, 0}}},
      {"marker at the far end", {30, 0}, kAtFirst, {}, Kind::Whole, {}},
      {"marker where the route meets it", {0, 0}, kAtFirst, {}, Kind::Nothing, {}},
      {"no end meets the neighbour", {12, 0}, kApart, {}, Kind::Whole, {}},
      {"both ends meet it: the first without a junction",
       {12, 0},
       kAtBoth,
       {},
       Kind::Piece,
       {{0, 0}, {10, 0}, {12, 0}}},
      {"both ends meet it: the junction decides",
       {12, 0},
       kAtBoth,
       Point{30, 0},
       Kind::Piece,
       {{12, 0}, {20, 0}, {30, 0}}},
      {"marker at the junction of both ends", {30, 0}, kAtBoth, Point{30, 0}, Kind::Nothing, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const EndCut cut = CutEndItem(kLine, c.marker, c.neighbour, c.junction);
    EXPECT_EQ(cut.kind, c.kind);
    if (c.kind == Kind::Piece) {
      EXPECT_EQ(cut.piece.points(), c.piece);
    }
  }
}

TEST(RouteCutTest, OneArcIsCutBetweenBothMarkersEitherWay) {
  struct Case {
    Point a, b;
    std::vector<Point> piece;
  };
  const Case cases[] = {
      {{12, 0}, {25, 0}, {{12, 0}, {20, 0}, {25, 0}}},
      {{25, 0}, {12, 0}, {{25, 0}, {20, 0}, {12, 0}}},
      {{8, 0}, {22, 0}, {{8, 0}, {10, 0}, {20, 0}, {22, 0}}},
      {{22, 0}, {8, 0}, {{22, 0}, {20, 0}, {10, 0}, {8, 0}}},
      {{0, 0}, {30, 0}, {{0, 0}, {10, 0}, {20, 0}, {30, 0}}},
      {{0, 0}, {0, 0}, {{0, 0}, {0, 0}}},
  };
  for (const Case& c : cases) EXPECT_EQ(CutBetween(kLine, c.a, c.b).points(), c.piece);
}

}  // namespace
}  // namespace viamappa
