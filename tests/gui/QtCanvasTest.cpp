#include "gui/QtCanvas.h"

#include <gtest/gtest.h>

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
