#include "map/BackgroundPainter.h"

#include <gtest/gtest.h>

#include "core/map/BackgroundTestFiles.h"
#include "map/LayerPainting.h"
#include "support/RecordingCanvas.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using testing::DrawCall;
using testing::RecordingCanvas;
using testing::TempDir;
using testing::WindowView;
using Kind = DrawCall::Kind;

// A source that remembers the stretches read from it.
class WatchedSource : public BackgroundSource {
 public:
  explicit WatchedSource(std::string bytes) : bytes_(std::move(bytes)), inner_(MemorySource(bytes_)) {}
  bool ReadAt(std::uint64_t offset, void* out, std::size_t size) override {
    reads.emplace_back(offset, size);
    return inner_->ReadAt(offset, out, size);
  }
  std::uint64_t size() const override { return inner_->size(); }
  bool Unchanged() const override { return true; }

  bool Read(std::uint64_t offset, std::uint64_t size) const {
    for (const auto& [at, length] : reads)
      if (at < offset + size && offset < at + length) return true;
    return false;
  }

  std::vector<std::pair<std::uint64_t, std::size_t>> reads;

 private:
  std::string bytes_;
  std::unique_ptr<BackgroundSource> inner_;
};

class BackgroundPainterTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    const std::string path = testing::WriteSmallCartography(dir_, GetParam(), GetParam());
    ASSERT_FALSE(path.empty());
    auto source = std::make_unique<WatchedSource>(testing::ReadText(path));
    source_ = source.get();
    file_ = BackgroundFile::Open(std::move(source), ui_);
    ASSERT_NE(file_, nullptr);
  }

  RecordingCanvas& Draw(const RenderView& view) {
    canvas_.Forget();
    DrawBackground(canvas_, kWhite, view, BackgroundSourcesOf(file_.get()));
    return canvas_;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const DrawCall* call : canvas_.Of(Kind::Text)) texts.push_back(call->text);
    return texts;
  }

  // The colours of the polylines drawn, in order, each once in a row.
  std::vector<Colour> LineColours() const {
    std::vector<Colour> colours;
    for (const DrawCall* call : canvas_.Of(Kind::Polyline))
      if (colours.empty() || colours.back() != call->pen.colour) colours.push_back(call->pen.colour);
    return colours;
  }

  TempDir dir_;
  ScriptedUserInterface ui_;
  WatchedSource* source_ = nullptr;
  std::unique_ptr<BackgroundFile> file_;
  RecordingCanvas canvas_;
};

TEST_P(BackgroundPainterTest, AreasLinesTextsAndPointsInTheirPassesWithTheirThemes) {
  // 1.25 m a pixel: (x, y) is at pixel (x / 1.25, 800 - y / 1.25).
  Draw(WindowView(1.25, 12500));
  // The area: filled with its hatch, its outer ring and its hole outlined; then the line.
  const auto polygons = canvas_.Of(Kind::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0]->brush.style, FillStyle::DiagonalCross);
  ASSERT_EQ(polygons[0]->rings.size(), 2u);
  EXPECT_EQ(polygons[0]->rings[0].front(), (Point{80, 720}));
  EXPECT_EQ(LineColours(), (std::vector<Colour>{0x0000FF, 0x00FF00}));
  const auto lines = canvas_.Of(Kind::Polyline);
  EXPECT_EQ(lines.back()->points, (std::vector<Point>{{400, 400}, {720, 400}}));
  // The fixed text 12 screen units high, its top left at the point; the text of 5 m is too small here.
  EXPECT_EQ(Texts(), std::vector<std::string>{"Fisso"});
  const DrawCall* text = canvas_.Of(Kind::Text)[0];
  EXPECT_EQ(text->font.height, 12);
  EXPECT_EQ(text->colour, 0x000080u);
  EXPECT_EQ(text->points[0].x, 400);
  EXPECT_NEAR(text->points[0].y, 360 + 0.8 * 12, 1e-9);
  // The point last: its library symbol, then its pixel in its theme's colour.
  const DrawCall& last = canvas_.calls().back();
  EXPECT_EQ(last.kind, Kind::Pixel);
  EXPECT_EQ(last.colour, 0xFF0000u);
  EXPECT_EQ(last.points[0], (Point{560, 240}));
  // The order of the passes: the area's fill first, the point's mark last, the text between.
  std::vector<Kind> order;
  for (const DrawCall& call : canvas_.calls())
    if (call.kind != Kind::Polyline && (order.empty() || order.back() != call.kind))
      order.push_back(call.kind);
  EXPECT_EQ(order, (std::vector<Kind>{Kind::Clear, Kind::Polygon, Kind::Text, Kind::Image, Kind::Pixel}));
  EXPECT_TRUE(ui_.messages().empty());

  // A theme switched off is left out.
  for (BackgroundTheme& theme : file_->themes()) theme.shown = theme.code != "AREE";
  Draw(WindowView(1.25, 12500));
  EXPECT_TRUE(canvas_.Of(Kind::Polygon).empty());
  EXPECT_EQ(LineColours(), std::vector<Colour>{0x00FF00});
}

TEST_P(BackgroundPainterTest, ThemesAndTextsFollowTheScale) {
  const struct {
    double resolution;
    std::int32_t denominator;
    bool fast;
    bool far_theme;      // "LONTANE": 1:50000 to 1:60000 (the bounds are the themes' tests)
    bool metre_text;     // 5 m: when 5 / r > 10
    Colour line_colour;  // of "LINEE"
  } kCases[] = {
      {0.4, 4000, false, false, true, 0x00FF00},
      {0.5, 5000, false, false, false, 0x00FF00},
      {5, 50000, false, true, false, 0x00FF00},
      // A fast redraw judges at ten times the scale and greys the colours.
      {0.6, 6000, true, true, false, GreyOf(0x00FF00)},
  };
  for (const auto& c : kCases) {
    Draw(WindowView(c.resolution, c.denominator, 450, 450, c.fast));
    const std::vector<Colour> colours = LineColours();
    const bool far_drawn =
        std::find(colours.begin(), colours.end(), Shown(0x808000, c.fast)) != colours.end();
    EXPECT_EQ(far_drawn, c.far_theme) << c.denominator;
    EXPECT_NE(std::find(colours.begin(), colours.end(), c.line_colour), colours.end()) << c.denominator;
    const std::vector<std::string> texts = Texts();
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "Metri") != texts.end(), c.metre_text) << c.denominator;
    // The fixed text keeps its height at every scale.
    ASSERT_NE(std::find(texts.begin(), texts.end(), "Fisso"), texts.end()) << c.denominator;
    EXPECT_EQ(canvas_.Of(Kind::Text)[0]->font.height, 12);
  }
}

TEST_P(BackgroundPainterTest, OnlyTheTilesAndRastersInTheViewAreRead) {
  const BackgroundTile& far_tile = file_->tiles()[1];
  const RasterEntry& raster = file_->rasters()[0];
  Draw(WindowView(1.25, 12500));
  EXPECT_FALSE(source_->Read(far_tile.theme_index.offset, far_tile.theme_index.bytes));
  EXPECT_FALSE(source_->Read(raster.offset, raster.bytes));
  EXPECT_TRUE(canvas_.Of(Kind::Raster).empty());
  // Over the whole file both are read.
  Draw(WindowView(15, 150000));
  EXPECT_TRUE(source_->Read(far_tile.theme_index.offset, far_tile.theme_index.bytes));
  EXPECT_TRUE(source_->Read(raster.offset, raster.bytes));
}

TEST_P(BackgroundPainterTest, RastersAreStretchedOrGreyBoxedAndLeftOutOfFastRedraws) {
  // The raster's pixels are 100 m: at r metres a screen unit one covers 100 / r pixels.
  Draw(WindowView(5, 50000, 1800, 0));
  const auto images = canvas_.Of(Kind::Raster);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0]->raster.PixelAt(2, 0), 0xFF0000u);
  EXPECT_EQ(images[0]->points, (std::vector<Point>{{40, 760}, {120, 800}}));
  // 30 pixels a source pixel: a grey box over the part shown.
  Draw(WindowView(100.0 / 30, 33333, 1800, 0));
  EXPECT_TRUE(canvas_.Of(Kind::Raster).empty());
  ASSERT_EQ(canvas_.Of(Kind::FillRectangle).size(), 1u);
  EXPECT_EQ(canvas_.Of(Kind::FillRectangle)[0]->colour, 0xF0F0F0u);
  EXPECT_EQ(canvas_.Of(Kind::DrawRectangle)[0]->pen.colour, 0x808080u);
  // A fast redraw leaves rasters out, and does not read them.
  source_->reads.clear();
  Draw(WindowView(5, 50000, 1800, 0, true));
  EXPECT_TRUE(canvas_.Of(Kind::Raster).empty());
  EXPECT_FALSE(source_->Read(file_->rasters()[0].offset, file_->rasters()[0].bytes));
}

TEST_P(BackgroundPainterTest, ADamagedTileSaysSoOnceAndTheRestIsDrawn) {
  BackgroundTile& near_tile = file_->tiles()[0];
  // The tile's index now claims more records than its bytes hold.
  near_tile.theme_index.count = 60000;
  Draw(WindowView(15, 150000));
  EXPECT_TRUE(near_tile.damaged);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.last_message().text, kBackgroundReadErrorMessage);
  // The far tile and the raster are still drawn; the damaged tile is not read again.
  EXPECT_EQ(LineColours(), std::vector<Colour>{0x00FF00});
  EXPECT_EQ(canvas_.Of(Kind::Raster).size(), 1u);
  source_->reads.clear();
  Draw(WindowView(15, 150000));
  EXPECT_EQ(ui_.messages().size(), 1u);
  EXPECT_FALSE(source_->Read(near_tile.theme_index.offset, near_tile.theme_index.bytes));
}

INSTANTIATE_TEST_SUITE_P(PlainAndPacked, BackgroundPainterTest, ::testing::Bool());

}  // namespace
}  // namespace viamappa
