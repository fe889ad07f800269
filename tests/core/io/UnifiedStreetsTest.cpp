#include "io/UnifiedStreets.h"

#include <gtest/gtest.h>

#include "ui/ScriptedUserInterface.h"

namespace viamappa::conflation {
namespace {

using Line = std::vector<Point>;

// The joined polylines of one street made of the arcs in order, by the ordered scan and by the index.
std::vector<Line> Joined(const std::vector<Line>& arcs, Search search) {
  ConflationState state;
  state.search = search;
  state.streets.push_back({"", {}});
  for (const Line& line : arcs) {
    PrimaryArc& arc = state.primary.emplace_back();
    arc.own.line = PointArray(line);
    arc.extent = arc.own.line.box();
    state.streets[0].arcs.push_back(static_cast<std::int32_t>(state.primary.size()) - 1);
  }
  ScriptedUserInterface ui;
  ProgressDisplay progress(ui);
  std::vector<Line> pieces;
  for (const StreetPiece& piece : JoinUnifiedStreets(state, progress).pieces)
    pieces.push_back(PiecePolyline(piece, state).points());
  return pieces;
}

TEST(UnifiedStreetsTest, ArcsJoinByTheFirstRuleThatHoldsAndPiecesJoinLaterOnes) {
  const Line a = {{0, 0}, {1, 0}}, b = {{1, 0}, {2, 0}}, c = {{2, 0}, {3, 0}};
  const Line ab = {{0, 0}, {1, 0}, {2, 0}};
  const auto reversed = [](Line line) { return Line(line.rbegin(), line.rend()); };
  const struct {
    std::vector<Line> arcs;
    std::vector<Line> pieces;
  } cases[] = {
      {{a, b}, {ab}},                                   // its first point on the piece's last
      {{a, reversed(b)}, {ab}},                         // its last point there: reversed
      {{b, a}, {ab}},                                   // its last point on the piece's first
      {{b, reversed(a)}, {ab}},                         // its first point there: reversed, before
      {{a, c, b}, {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}},  // the first piece joins the later one
      {{a, c, reversed(b), {{5, 5}, {6, 6}}}, {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}, {{5, 5}, {6, 6}}}},
      // Two pieces meet the arc: the first one takes it.
      {{{{1, 1}, {1, 0}}, {{3, 0}, {3, 1}}, {{1, 0}, {3, 0}}}, {{{1, 1}, {1, 0}, {3, 0}, {3, 1}}}},
      // A piece that grew meets a later piece at that piece's first point.
      {{{{0, 5}, {0, 0}}, {{9, 9}, {8, 8}}, {{0, 0}, {4, 4}}, {{4, 4}, {9, 9}}},
       {{{0, 5}, {0, 0}, {4, 4}, {9, 9}, {8, 8}}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Joined(c.arcs, Search::Scan), c.pieces);
    EXPECT_EQ(Joined(c.arcs, Search::Indexed), c.pieces);
  }
}

// A street joined arc by arc in a long row, alternately drawn forwards and backwards and added from both
// ends, stays one polyline in order.
TEST(UnifiedStreetsTest, ALongRowJoinsIntoOnePolyline) {
  std::vector<Line> arcs;
  Line expected = {{500, 0}};
  for (int i = 0; i < 500; ++i) {
    const Point left{500.0 - i - 1, 0}, right{500.0 + i + 1, 0};
    const Point from_left{500.0 - i, 0}, from_right{500.0 + i, 0};
    arcs.push_back(i % 2 ? Line{left, from_left} : Line{from_left, left});
    arcs.push_back(i % 3 ? Line{from_right, right} : Line{right, from_right});
    expected.insert(expected.begin(), left);
    expected.push_back(right);
  }
  const std::vector<Line> pieces = Joined(arcs, Search::Indexed);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_TRUE(pieces[0] == expected || pieces[0] == Line(expected.rbegin(), expected.rend()));
}

}  // namespace
}  // namespace viamappa::conflation
