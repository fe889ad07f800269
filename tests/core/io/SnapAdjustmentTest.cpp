#include "io/SnapAdjustment.h"

#include <gtest/gtest.h>

namespace viamappa::conflation {
namespace {

// A cut between vertices, on a vertex (from either side of it) and at an end, which makes no piece.
TEST(SnapAdjustmentTest, ACutRepeatsNoPointAndMakesNoEmptyPiece) {
  const std::vector<Point> line = {{0, 0}, {10, 0}, {20, 0}};
  const struct {
    std::int32_t segment;
    Point foot;
    std::vector<Point> kept, piece;  // piece empty: no cut
  } cases[] = {
      {1, {4, 0}, {{0, 0}, {4, 0}}, {{4, 0}, {10, 0}, {20, 0}}},
      {1, {10, 0}, {{0, 0}, {10, 0}}, {{10, 0}, {20, 0}}},
      {2, {10, 0}, {{0, 0}, {10, 0}}, {{10, 0}, {20, 0}}},
      {1, {0, 0}, line, {}},
      {2, {20, 0}, line, {}},
  };
  for (const auto& c : cases) {
    PrimaryArc arc;
    arc.own.line = PointArray(line);
    arc.pieces.push_back({PointArray({{20, 0}, {30, 5}}), {}, {}});
    EXPECT_EQ(CutPart(arc, 0, c.segment, c.foot), !c.piece.empty());
    EXPECT_EQ(arc.own.line.points(), c.kept);
    EXPECT_EQ(arc.own.line.box(), PointArray(c.kept).box());
    EXPECT_EQ(arc.modified, !c.piece.empty());
    // The new piece comes right after the part it was cut from, before the older piece further on.
    ASSERT_EQ(arc.pieces.size(), c.piece.empty() ? 1u : 2u);
    if (!c.piece.empty()) EXPECT_EQ(arc.pieces[0].line.points(), c.piece);
    EXPECT_EQ(arc.pieces.back().line.points(), (std::vector<Point>{{20, 0}, {30, 5}}));
  }
}

}  // namespace
}  // namespace viamappa::conflation
