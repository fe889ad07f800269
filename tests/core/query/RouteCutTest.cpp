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
    Point marker;
    const PointArray& neighbour;
    std::optional<Point> junction;
    Kind kind;
    std::vector<Point> piece;
  };
  const Case cases[] = {
      // The nearest vertex before the marker, and beyond it (left out); from the last point.
      {{12, 0}, kAtFirst, {}, Kind::Piece, {{0, 0}, {10, 0}, {12, 0}}},
      {{18, 0}, kAtFirst, {}, Kind::Piece, {{0, 0}, {10, 0}, {18, 0}}},
      {{12, 0}, kAtLast, {}, Kind::Piece, {{12, 0}, {20, 0}, {30, 0}}},
      // Off the line, where no segment's box holds it: its nearest vertex stays.
      {{12, 3}, kAtLast, {}, Kind::Piece, {{12, 3}, {10, 0}, {20, 0}, {30, 0}}},
      // The marker at the far end, where the route meets it; no end meets the neighbour.
      {{30, 0}, kAtFirst, {}, Kind::Whole, {}},
      {{0, 0}, kAtFirst, {}, Kind::Nothing, {}},
      {{12, 0}, kApart, {}, Kind::Whole, {}},
      // Both ends meet it: the first without a junction, else the junction decides.
      {{12, 0}, kAtBoth, {}, Kind::Piece, {{0, 0}, {10, 0}, {12, 0}}},
      {{12, 0}, kAtBoth, Point{30, 0}, Kind::Piece, {{12, 0}, {20, 0}, {30, 0}}},
      {{30, 0}, kAtBoth, Point{30, 0}, Kind::Nothing, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);  // the case's index
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
