#include "gui/QtCanvas.h"

#include <gtest/gtest.h>

#include "ui/RasterImage.h"

namespace viamappa {
namespace {

bool Inked(const QImage& image, int x, int y) {
  return image.pixelColor(x, y) != QColor(Qt::white);
}

// Fills a square with a brush and tells the direction of its hatch lines: +1 when an inked pixel's
// neighbour one row down (screen rows grow downward) and one column right is inked too, -1 when the
// one up and right is, 0 when neither holds throughout.
int HatchSlope(FillStyle style) {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  {
    QtCanvas canvas(image, false);
    canvas.Clear(kWhite);
    canvas.SetBrush({style, kBlack, {}});
    canvas.FillPolygon({{{0, 0}, {32, 0}, {32, 32}, {0, 32}, {0, 0}}});
  }
  bool falling = true, rising = true;
  int inked = 0;
  for (int y = 1; y < 31; ++y)
    for (int x = 1; x < 31; ++x) {
      if (!Inked(image, x, y)) continue;
      ++inked;
      falling = falling && Inked(image, x + 1, y + 1);
      rising = rising && Inked(image, x + 1, y - 1);
    }
  if (inked == 0) return 99;
  return falling ? 1 : rising ? -1 : 0;
}

TEST(QtCanvasTest, DiagonalHatchesLeanAsTheirNamesSay) {
  EXPECT_EQ(HatchSlope(FillStyle::BackwardDiagonal), 1);  // falling from left to right
  EXPECT_EQ(HatchSlope(FillStyle::ForwardDiagonal), -1);  // rising from left to right
  EXPECT_EQ(HatchSlope(FillStyle::None), 99);
}

TEST(QtCanvasTest, PatternBrushesSetTheirBitsOnly) {
  QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
  {
    QtCanvas canvas(image, false);
    canvas.Clear(kWhite);
    // The left column of every tile.
    canvas.SetBrush({FillStyle::Pattern, 0x0000FF, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}});
    canvas.FillPolygon({{{0, 0}, {16, 0}, {16, 16}, {0, 16}, {0, 0}}});
  }
  EXPECT_EQ(image.pixelColor(0, 3), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(8, 5), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(1, 3), QColor(Qt::white));
}

TEST(QtCanvasTest, TurnedTextGoesCounterClockwiseFromItsBaseline) {
  QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
  {
    QtCanvas canvas(image);
    canvas.Clear(kWhite);
    canvas.SetFont({"Arial", 20, 900});
    canvas.DrawText(100, 100, "MMMMMM", kBlack);
  }
  // Turned by 90 degrees the text rises from (100, 100): ink above it, none to its right.
  int above = 0, right = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      if (!Inked(image, x, y)) continue;
      if (y < 95) ++above;
      if (x > 110) ++right;
    }
  EXPECT_GT(above, 50);
  EXPECT_EQ(right, 0);
}

// Raster images of every depth land on whole pixels, each source pixel a block of the stretched size.
TEST(QtCanvasTest, ImagesAreStretchedPixelForPixel) {
  RasterImage depths[4];
  depths[0].Create(2, 2, 1);
  depths[0].Row(0)[0] = 0x40;  // the top row white, black; the bottom row white
  depths[1].Create(2, 2, 4);
  depths[1].palette[2] = 0x0000FF;
  depths[1].Row(0)[0] = 0x02;  // the top row black, red
  depths[2].Create(2, 2, 8);
  depths[2].palette[9] = 0x00FF00;
  depths[2].Row(1)[1] = 9;  // the bottom right green
  depths[3].Create(2, 2, 24);
  depths[3].Row(0)[0] = 0xFF;  // the top left blue (blue, green, red bytes)
  for (const RasterImage& image : depths) {
    QImage target(6, 6, QImage::Format_RGB32);
    {
      QtCanvas canvas(target);
      canvas.Clear(0x808080);
      // The image's 2 x 2 pixels onto 4 x 4 starting at (1, 1), from a fractional place.
      canvas.DrawImage(image, {0, 0, 2, 2}, 0.9, 1.2, 4, 4);
    }
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        const bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
        const Colour expected = inside ? image.PixelAt((x - 1) / 2, (y - 1) / 2) : 0x808080;
        EXPECT_EQ(target.pixelColor(x, y), ToQColor(expected))
            << image.bits_per_pixel << " " << x << "," << y;
      }
  }
  // A part of an image: only its pixels.
  QImage target(2, 1, QImage::Format_RGB32);
  {
    QtCanvas canvas(target);
    canvas.DrawImage(depths[2], {1, 1, 1, 1}, 0, 0, 2, 1);
  }
  EXPECT_EQ(target.pixelColor(0, 0), ToQColor(0x00FF00));
  EXPECT_EQ(target.pixelColor(1, 0), ToQColor(0x00FF00));
  // Eight pixels onto two: each takes the source pixel under its middle (2 and 6).
  RasterImage row;
  row.Create(8, 1, 8);
  for (int x = 0; x < 8; ++x) {
    row.palette[x] = static_cast<Colour>(x * 0x20);
    row.Row(0)[x] = static_cast<std::uint8_t>(x);
  }
  {
    QtCanvas canvas(target);
    canvas.DrawImage(row, {0, 0, 8, 1}, 0, 0, 2, 1);
  }
  EXPECT_EQ(target.pixelColor(0, 0), ToQColor(2 * 0x20));
  EXPECT_EQ(target.pixelColor(1, 0), ToQColor(6 * 0x20));
}

TEST(QtCanvasTest, PenSurvivesText) {
  QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
  {
    QtCanvas canvas(image, false);
    canvas.Clear(kWhite);
    canvas.SetPen({0x0000FF, 2, LineStyle::Solid});
    canvas.SetFont({"Arial", 10, 0});
    canvas.DrawTextCentred(5, 5, "x", 0x00FF00);
    const Point line[2] = {{0, 30}, {40, 30}};
    canvas.DrawPolyline(line, 2);
  }
  EXPECT_EQ(image.pixelColor(20, 30), QColor(255, 0, 0));
}

TEST(QtCanvasTest, ImagesKeepTheirColoursAndTheirTransparency) {
  QImage image(8, 8, QImage::Format_RGB32);
  // A 2 x 1 image: red (0x0000CF as 0x00BBGGRR) on the left, transparent on the right.
  const CanvasImage symbol(2, 1, {kOpaque | 0x0000CF, kTransparentPixel});
  {
    QtCanvas canvas(image, false);
    canvas.Clear(0x00FF00);
    canvas.DrawImage(3, 4, symbol);
    canvas.DrawImage(5, 4, symbol);  // the second time from the canvas's own copy
  }
  EXPECT_EQ(image.pixelColor(3, 4), QColor(0xCF, 0, 0));
  EXPECT_EQ(image.pixelColor(4, 4), QColor(0, 0xFF, 0));
  EXPECT_EQ(image.pixelColor(5, 4), QColor(0xCF, 0, 0));
  EXPECT_EQ(image.pixelColor(3, 3), QColor(0, 0xFF, 0));
}

}  // namespace
}  // namespace viamappa
