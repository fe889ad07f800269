#include "map/MapRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "map/LayerPainting.h"
#include "map/SymbolLibrary.h"
#include "support/RecordingCanvas.h"

namespace viamappa {
namespace {

using testing::DrawCall;
using testing::RecordingCanvas;
using Kind = DrawCall::Kind;

RenderView View(double resolution, std::int32_t denominator, bool fast = false) {
  return testing::WindowView(resolution, denominator, 0, 0, fast);
}

LayerDefinition Layer(std::string name, FeatureKind kind, std::int32_t minimum = -1,
                      std::int32_t maximum = -1) {
  LayerDefinition definition;
  definition.name = std::move(name);
  definition.kind = kind;
  definition.style.minimum = minimum;
  definition.style.maximum = maximum;
  definition.style.line_colour = 0x0000FF;
  definition.style.line_width = 2;
  return definition;
}

MapLayer& AddLine(LayerSet& layers, LayerDefinition definition, std::vector<Point> points,
                  std::int32_t id = 1) {
  MapLayer& layer = layers.AddLayer(std::move(definition));
  LineFeature& feature = layer.AddLineFeature(id);
  layer.AddPolyline(feature, PointArray(std::move(points)));
  layer.RebuildIndexes();
  return layer;
}

// A point layer labelled with the texts of its features.
MapLayer& AddLabels(LayerSet& layers, std::string name, std::vector<std::pair<Point, std::string>> labels,
                    int font_size = 0) {
  LayerDefinition definition = Layer(std::move(name), FeatureKind::Point);
  definition.label_field = "denom";
  if (font_size) definition.font_size = font_size;
  MapLayer& layer = layers.AddLayer(definition);
  for (std::size_t i = 0; i < labels.size(); ++i)
    layer.AddPointFeature(static_cast<std::int32_t>(i + 1), labels[i].first.x, labels[i].first.y).text =
        labels[i].second;
  layer.RebuildIndexes();
  return layer;
}

class FixedNames : public StreetNameSource {
 public:
  std::map<std::int32_t, std::string> names;
  bool NameOf(std::int32_t id, std::string& name) override {
    const auto it = names.find(id);
    if (it == names.end()) return false;
    name = it->second;
    return true;
  }
};

std::size_t CountOf(const RecordingCanvas& canvas, Kind kind) {
  return canvas.Of(kind).size();
}

RecordingCanvas Draw(const LayerSet& layers, const RenderView& view, StreetNameSource* names = nullptr) {
  RecordingCanvas canvas;
  DrawVectorLayers(canvas, layers, view, names);
  return canvas;
}

TEST(MapRendererTest, VisibilityBoundsAreInclusive) {
  LayerSet layers;
  AddLine(layers, Layer("strade", FeatureKind::Line, 50000, 1000000), {{10, 10}, {20, 20}});
  AddLine(layers, Layer("sempre", FeatureKind::Line), {{10, 10}, {30, 10}}, 2);
  const auto drawn = [&](std::int32_t n) { return CountOf(Draw(layers, View(1.0, n)), Kind::Polyline); };
  const std::pair<std::int32_t, std::size_t> cases[] = {{49999, 1},   {50000, 2}, {1000000, 2},
                                                        {1000001, 1}, {1, 1},     {2147483647, 1}};
  for (const auto& [denominator, lines] : cases) EXPECT_EQ(drawn(denominator), lines) << denominator;

  layers.FindLayer("sempre")->style().visible = false;
  EXPECT_EQ(drawn(60000), 1u);
}

TEST(MapRendererTest, FastRedrawsJudgeAtTenTimesTheScaleAndDrawInGrey) {
  LayerSet layers;
  AddLine(layers, Layer("archi", FeatureKind::Line, -1, 100000), {{10, 10}, {20, 20}});
  const RecordingCanvas full = Draw(layers, View(1.2, 12000));
  ASSERT_EQ(CountOf(full, Kind::Polyline), 1u);
  EXPECT_EQ(full.Of(Kind::Polyline)[0]->pen.colour, 0x0000FFu);

  EXPECT_EQ(CountOf(Draw(layers, View(1.2, 12000, true)), Kind::Polyline), 0u);

  layers.FindLayer("archi")->style().maximum = 120000;
  const RecordingCanvas grey = Draw(layers, View(1.2, 12000, true));
  ASSERT_EQ(CountOf(grey, Kind::Polyline), 1u);
  EXPECT_EQ(grey.Of(Kind::Polyline)[0]->pen.colour, 0x4C4C4Cu);  // 0.3 x 255 of red
}

TEST(MapRendererTest, PassesRunInTheirOrder) {
  LayerSet layers;
  // Created in an order different from the drawing order.
  MapLayer& nodes = layers.AddLayer(Layer("nodi", FeatureKind::Point));
  nodes.AddPointFeature(1, 50, 50);
  nodes.RebuildIndexes();
  AddLabels(layers, "locbig", {{{60, 60}, "Paese"}});
  AddLine(layers, Layer("archi", FeatureKind::Line), {{0, 100}, {200, 100}}, 7);
  AddLine(layers, Layer("toponvie", FeatureKind::Line), {{1, 1}, {2, 2}}, 0);
  MapLayer& areas = layers.AddLayer(Layer("comuni", FeatureKind::Area));
  areas.AddPart(areas.AddAreaFeature(1), PointArray(std::vector<Point>{{5, 5}, {90, 5}, {90, 90}, {5, 5}}));
  areas.RebuildIndexes();

  FixedNames names;
  names.names[7] = "Via Roma";
  const std::vector<PointArray> highlights = {PointArray(std::vector<Point>{{0, 50}, {100, 50}})};
  const auto tag = [](const char* text) {
    return [text](Canvas& canvas, const RenderView&) { canvas.DrawText(0, 0, text, kBlack); };
  };
  MapOverlays overlays{tag("path"), &highlights, tag("markers"), tag("digitising")};

  RecordingCanvas canvas;
  DrawVectorLayers(canvas, layers, View(0.2, 2000), &names, overlays);
  std::vector<std::string> sequence;
  for (const DrawCall& call : canvas.calls()) {
    const bool line = call.kind == Kind::Polyline;
    if (call.kind == Kind::Pixel || (line && call.points.front().y > 790)) continue;  // the name placeholder
    const std::string step = line && call.pen.width == 10           ? "highlight"
                             : line && call.points.front().y == 300 ? "arc"  // 100 m up at r 0.2
                             : line || call.kind == Kind::Polygon   ? "area"
                             : call.kind == Kind::Image             ? "node"
                             : call.kind == Kind::CentredText       ? "label"
                             : call.text == "Via Roma"              ? "name"
                                                                    : call.text;
    if (sequence.empty() || sequence.back() != step) sequence.push_back(step);
  }
  EXPECT_EQ(sequence, (std::vector<std::string>{"area", "path", "highlight", "arc", "node", "label", "name",
                                                "markers", "digitising"}));
}

TEST(MapRendererTest, LabelHeightsFollowTheScaleNotTheFastTest) {
  // A step changes at its bound; layers without steps take their font size, ten metres at least.
  EXPECT_EQ(LabelHeightMetres("locbig", 25000, 100), 180);
  EXPECT_EQ(LabelHeightMetres("locbig", 24999, 100), 100);
  EXPECT_EQ(LabelHeightMetres("altro", 100000, 4), 10);

  LayerSet layers;
  AddLabels(layers, "locsmall", {{{2000, 2000}, "Borgo"}});
  const auto label = [&](const RenderView& view) {
    const RecordingCanvas canvas = Draw(layers, view);
    const auto texts = canvas.Of(Kind::CentredText);
    return texts.empty() ? DrawCall{} : *texts.front();
  };
  EXPECT_DOUBLE_EQ(label(View(10, 100000)).font.height, 50);  // 500 m at 10 m a pixel
  // A fast redraw at 1:40000 tests visibility at 1:400000 but sizes the label for 1:40000.
  EXPECT_DOUBLE_EQ(label(View(4, 40000, true)).font.height, 45);  // 180 m
  // Ten screen units or less are not written.
  EXPECT_TRUE(label(View(50, 500000)).text.empty());
  EXPECT_EQ(label(View(49.9, 499000)).text, "Borgo");

  // A label beyond the sixteen-bit range of screen units is left out, even when its box reaches in.
  LayerSet far;
  AddLabels(far, "cartelli", {{{-50, 0.4}, "Lontano"}}, 1);
  EXPECT_EQ(CountOf(Draw(far, View(0.01, 1)), Kind::CentredText), 1u);   // 5000 screen units west
  EXPECT_EQ(CountOf(Draw(far, View(0.001, 1)), Kind::CentredText), 0u);  // 50000 screen units west
}

class StreetNameTest : public ::testing::Test {
 protected:
  void Arc(std::vector<Point> points, std::string name) {
    layers_ = std::make_unique<LayerSet>();
    AddLine(*layers_, Layer("archi", FeatureKind::Line), std::move(points), 3);
    LayerDefinition names = Layer("toponvie", FeatureKind::Line);
    names.font_face = "Arial";
    names.style.line_colour = 0x408040;
    AddLine(*layers_, names, {{1, 1}, {2, 2}}, 0);
    names_.names[3] = std::move(name);
  }
  std::vector<const DrawCall*> Names(const RenderView& view) {
    canvas_.Forget();
    DrawVectorLayers(canvas_, *layers_, view, &names_);
    return canvas_.Of(Kind::Text);
  }

  std::unique_ptr<LayerSet> layers_;
  FixedNames names_;
  RecordingCanvas canvas_;
};

TEST_F(StreetNameTest, ShortArcsGetSmallerNamesWrittenOnlyWhenReadable) {
  Arc({{100, 100}, {148, 100}}, "Via Anna");  // 8 characters, 48 m
  auto written = Names(View(1.6, 16000));     // 5 m is 3.125 screen units
  ASSERT_EQ(written.size(), 1u);
  EXPECT_DOUBLE_EQ(written[0]->font.height, 5 / 1.6);
  EXPECT_EQ(written[0]->colour, 0x408040u);
  EXPECT_TRUE(Names(View(1.7, 17000)).empty());  // 2.94 screen units

  // 19 m for 8 characters is under a quarter of the full height at any scale.
  Arc({{100, 100}, {119, 100}}, "Via Anna");
  EXPECT_TRUE(Names(View(0.1, 1000)).empty());
  // At 1:100000 the full height itself is one screen unit: nothing is written.
  Arc({{100, 100}, {5000, 100}}, "Via Anna");
  EXPECT_TRUE(Names(View(10, 100000)).empty());
}

TEST_F(StreetNameTest, NamesAreCentredAlongTheArcAndNeverUpsideDown) {
  // 200 m, full height 10 m = 20 pixels at r 0.5; 8 characters of 12 pixels = 96 pixels = 48 m.
  Arc({{300, 100}, {100, 100}}, "Via Roma");
  auto written = Names(View(0.5, 5000));
  ASSERT_EQ(written.size(), 1u);
  EXPECT_NEAR(written[0]->points[0].x, (100 + 76) / 0.5, 1e-9);  // (200 - 48) / 2 from the west end
  EXPECT_NEAR(written[0]->font.angle, 0, 1e-9);

  // Rising toward the west: the name reads from the west end, turned clockwise on the screen.
  Arc({{200, 100}, {100, 150}}, "Via Roma");
  written = Names(View(0.5, 5000));
  ASSERT_EQ(written.size(), 1u);
  EXPECT_NEAR(written[0]->font.angle, std::atan2(-50.0, 100.0) * 1800 / M_PI, 1e-9);

  // A bend back to the west: the baseline points west, so the text starts further on and reads east.
  Arc({{100, 100}, {400, 100}, {390, 400}, {120, 400}}, "Via Lunga Sinuosa");
  written = Names(View(0.5, 5000));
  ASSERT_EQ(written.size(), 1u);
  EXPECT_GE(written[0]->font.angle, -900);
  EXPECT_LE(written[0]->font.angle, 900);
}

TEST(MapRendererTest, FillCodesChooseTheHatchOfTheForeColour) {
  for (int code : {-1, 0, 1, -9, 127}) EXPECT_EQ(HatchBrush(code, 1).style, FillStyle::None) << code;

  const auto draw = [](std::int8_t fill) {
    LayerSet layers;
    LayerDefinition definition = Layer("local", FeatureKind::Area);
    definition.style.fill = fill;
    definition.style.fore_colour = 0xFF8000;
    MapLayer& layer = layers.AddLayer(definition);
    layer.AddPart(layer.AddAreaFeature(1),
                  PointArray(std::vector<Point>{{10, 10}, {90, 10}, {90, 90}, {10, 90}, {10, 10}}));
    layer.RebuildIndexes();
    return Draw(layers, View(1, 10000));
  };
  const RecordingCanvas outline = draw(-1);
  EXPECT_EQ(CountOf(outline, Kind::Polygon), 0u);
  EXPECT_EQ(CountOf(outline, Kind::Polyline), 1u);
  const RecordingCanvas hatched = draw(-4);
  ASSERT_EQ(CountOf(hatched, Kind::Polygon), 1u);
  EXPECT_EQ(hatched.Of(Kind::Polygon)[0]->brush.style, FillStyle::DiagonalCross);
  EXPECT_EQ(hatched.calls().back().kind, Kind::Polyline);  // the outline over the hatch
  // Codes that name a library pattern fill with it; 252 (-4) and 255 (-1) name none.
  const Brush brush = draw(13).Of(Kind::Polygon).at(0)->brush;
  EXPECT_EQ(brush.style, FillStyle::Pattern);
  EXPECT_EQ(brush.colour, 0xFF8000u);
  EXPECT_EQ(brush.pattern, SymbolLibrary::Builtin().FindPattern(13)->rows);
  EXPECT_EQ(draw(20).Of(Kind::Polygon).size(), 0u);  // past the last pattern: a code without hatch
}

TEST(MapRendererTest, NodesShowTheirLibrarySymbolThenTheirPixel) {
  const auto draw = [](std::int32_t symbol, bool fast) {
    LayerSet layers;
    LayerDefinition definition = Layer("nodi", FeatureKind::Point);
    definition.style.symbol = symbol;
    definition.style.line_colour = 0;
    MapLayer& layer = layers.AddLayer(definition);
    layer.AddPointFeature(1, 100.2, 200.7);  // pixel (100, 599) at one metre a pixel
    layer.RebuildIndexes();
    return Draw(layers, View(1, 10000, fast));
  };
  for (const bool fast : {false, true}) {
    // Symbol 19: shape 2, the 15 x 15 disc with its hot spot at (7, 7), in blue.
    const RecordingCanvas canvas = draw(19, fast);
    ASSERT_EQ(canvas.calls().size(), 2u);
    const DrawCall& image = canvas.calls()[0];
    ASSERT_EQ(image.kind, Kind::Image);
    EXPECT_EQ(image.points[0], (Point{93, 592}));
    const Symbol& symbol = *SymbolLibrary::Builtin().FindSymbol(19);
    EXPECT_EQ(image.image.serial(), (fast ? symbol.fast_image : symbol.image).serial());
    ASSERT_EQ(canvas.calls()[1].kind, Kind::Pixel);
    EXPECT_EQ(canvas.calls()[1].points[0], (Point{100, 599}));
  }
  // A number the library does not hold leaves the pixel alone.
  const RecordingCanvas unknown = draw(1320, false);
  ASSERT_EQ(unknown.calls().size(), 1u);
  EXPECT_EQ(unknown.calls()[0].kind, Kind::Pixel);
}

TEST(MapRendererTest, PolylinesAreClippedSentInRunsAndMarkedOnlyInFullQuality) {
  const RenderView view = View(1, 10000);
  RecordingCanvas canvas;
  // From far west to far east across the window, with a vertex every 10 m.
  std::vector<Point> long_line;
  for (double x = -100000; x <= 100000; x += 10) long_line.push_back({x, 400});
  DrawPolyline(canvas, view, PointArray(long_line));
  double min_x = 1e300, max_x = -1e300;
  for (const DrawCall* call : canvas.Of(Kind::Polyline)) {
    EXPECT_LE(call->points.size(), kMaxRunPoints);
    for (const Point& p : call->points) {
      min_x = std::min(min_x, p.x);
      max_x = std::max(max_x, p.x);
    }
  }
  EXPECT_GE(min_x, -100 - 1e-9);  // 100 screen units beyond the window at most
  EXPECT_LE(max_x, 1100 + 1e-9);
  EXPECT_LE(min_x, 0);  // and the whole width inside is drawn
  EXPECT_GE(max_x, 1000);

  // 2500 points inside the window: runs of 1000, each starting where the one before ended.
  canvas.Forget();
  std::vector<Point> dense;
  // A zigzag of 0.3 m steps and 5 m swings: every vertex shows.
  for (int i = 0; i < 2500; ++i) dense.push_back({100 + i * 0.3, 100.0 + 5 * (i % 2)});
  DrawPolyline(canvas, view, PointArray(dense));
  const auto runs = canvas.Of(Kind::Polyline);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0]->points.size(), 1000u);
  EXPECT_EQ(runs[1]->points.size(), 1000u);
  EXPECT_EQ(runs[2]->points.size(), 502u);
  EXPECT_EQ(runs[0]->points.back(), runs[1]->points.front());
  EXPECT_EQ(runs[1]->points.back(), runs[2]->points.front());

  // A line that stays outside the widened window draws nothing.
  canvas.Forget();
  DrawPolyline(canvas, view, PointArray(std::vector<Point>{{-500, -500}, {-200, -150}}));
  EXPECT_TRUE(canvas.calls().empty());

  // Vertex and direction marks only in full quality.
  const PointArray line(std::vector<Point>{{100, 100}, {200, 100}, {200, 200}});
  canvas.Forget();
  DrawPolyline(canvas, View(1, 10000), line, 0x00FF00, true);
  EXPECT_EQ(CountOf(canvas, Kind::FillRectangle), 3u);
  EXPECT_EQ(CountOf(canvas, Kind::Polyline), 1u + 2u);  // the line and an arrow a segment
  // The first arrow points east: its tip is its easternmost point, past the segment's middle.
  const DrawCall& arrow = *canvas.Of(Kind::Polyline)[1];
  EXPECT_GT(arrow.points[1].x, 150);
  EXPECT_GT(arrow.points[1].x, arrow.points[0].x);
  EXPECT_EQ(arrow.pen.colour, 0x00FF00u);

  canvas.Forget();
  DrawPolyline(canvas, View(1, 10000, true), line, 0x00FF00, true);
  EXPECT_EQ(CountOf(canvas, Kind::FillRectangle), 0u);
  EXPECT_EQ(CountOf(canvas, Kind::Polyline), 1u);
}

TEST(MapRendererTest, AreasAreCutToTheWindowWithTheirTolerance) {
  LayerSet layers;
  LayerDefinition definition = Layer("comuni", FeatureKind::Area);
  definition.style.fill = -3;
  MapLayer& layer = layers.AddLayer(definition);
  AreaFeature& feature = layer.AddAreaFeature(1);
  // Much larger than the window, with a hole inside it.
  layer.AddPart(feature, PointArray(std::vector<Point>{
                             {-5000, -5000}, {5000, -5000}, {5000, 5000}, {-5000, 5000}, {-5000, -5000}}));
  layer.AddExclusion(feature.parts.back(), PointArray(std::vector<Point>{
                                               {400, 300}, {400, 500}, {600, 500}, {600, 300}, {400, 300}}));
  layer.RebuildIndexes();
  const RecordingCanvas canvas = Draw(layers, View(1, 10000));
  const auto polygons = canvas.Of(Kind::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  ASSERT_EQ(polygons[0]->rings.size(), 2u);  // the outer ring and its hole
  for (const Point& p : polygons[0]->rings[0]) {
    // Twice the tolerance of 10 screen units around the window, never more.
    EXPECT_GE(p.x, -20 - 1e-9);
    EXPECT_LE(p.x, 1020 + 1e-9);
    EXPECT_GE(p.y, -20 - 1e-9);
    EXPECT_LE(p.y, 820 + 1e-9);
  }
  EXPECT_EQ(CountOf(canvas, Kind::Polyline), 2u);  // both rings outlined
}

}  // namespace
}  // namespace viamappa
