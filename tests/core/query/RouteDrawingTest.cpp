#include "query/RouteDrawing.h"

#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"

namespace viamappa {
namespace {

using testing::DrawCall;
using testing::RecordingCanvas;
using Kind = DrawCall::Kind;

// 1000 x 800 pixels over (0, 0) .. (1000, 800): one pixel is one metre, rows counted downward.
RenderView View() {
  return testing::WindowView(1, 0);
}

RouteItem Item(std::int32_t arc, std::vector<Point> line, std::optional<std::vector<Point>> cut = {}) {
  RouteItem item;
  item.arc = arc;
  item.line = PointArray(std::move(line));
  if (cut) item.cut = PointArray(std::move(*cut));
  return item;
}

TEST(RouteDrawingTest, TheChosenPathUnderTheArcsAndTheMarkersOverThem) {
  RouteResult result;
  // Path 1 is longer: path 2 is drawn, its first arc as far as its piece goes, an arc out of view not at all.
  result.path1.items = {Item(9, {{100, 100}, {900, 100}})};
  result.path2.items = {Item(1, {{100, 200}, {300, 200}}, std::vector<Point>{{150, 200}, {300, 200}}),
                        Item(2, {{300, 200}, {300, 400}}), Item(3, {{5000, 5000}, {5100, 5000}})};
  ASSERT_TRUE(result.path2_chosen());

  RecordingCanvas canvas;
  DrawRoutePath(canvas, View(), result);
  const std::vector<const DrawCall*> lines = canvas.Of(Kind::Polyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]->points, (std::vector<Point>{{150, 600}, {300, 600}}));
  EXPECT_EQ(lines[1]->points, (std::vector<Point>{{300, 600}, {300, 400}}));

  canvas.Forget();
  DrawRouteMarkers(canvas, View(), RoutePoint{{150, 200}, 1}, RoutePoint{{300, 300}, 2});
  const std::vector<const DrawCall*> discs = canvas.Of(Kind::Polygon);
  const std::vector<const DrawCall*> letters = canvas.Of(Kind::CentredText);
  ASSERT_EQ(discs.size(), 2u);
  ASSERT_EQ(letters.size(), 2u);
  EXPECT_EQ(letters[0]->text, "P");
  EXPECT_EQ(letters[0]->points[0], (Point{150, 600}));
  EXPECT_EQ(letters[1]->text, "A");
  EXPECT_EQ(letters[1]->points[0], (Point{300, 500}));

  // A marker beyond the coordinates drawing can take is left out.
  canvas.Forget();
  DrawRouteMarkers(canvas, View(), RoutePoint{{40000, 200}, 1}, std::nullopt);
  EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace viamappa
