// The drawing surface port: what rendering needs of a surface. The desktop program draws with QPainter
// on images; tests record the calls. Coordinates are pixels (fractional), origin at the top left.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Box.h"
#include "ui/CanvasImage.h"

namespace viamappa {

// A colour as 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBlack = 0x000000;

// The grey of a colour: g = trunc(0.4 G + 0.3 B + 0.3 R), with red = green = blue = g.
Colour GreyOf(Colour colour);

// The colour with each of its three bytes inverted.
inline Colour Inverted(Colour colour) {
  return ~colour & 0xFFFFFF;
}

enum class LineStyle { Solid, Dash, Dot, DashDot, DashDotDot };

struct Pen {
  Colour colour = kBlack;
  double width = 1;  // pixels; 0 draws the thinnest line
  LineStyle style = LineStyle::Solid;
};

enum class FillStyle {
  None,  // outline only
  Solid,
  BackwardDiagonal,  // lines falling from left to right
  Cross,
  DiagonalCross,
  ForwardDiagonal,  // lines rising from left to right
  Horizontal,
  Vertical,
  Pattern,  // the 8 x 8 bits of pattern, one byte a row, the high bit on the left
};

struct Brush {
  FillStyle style = FillStyle::None;
  Colour colour = kBlack;
  std::array<std::uint8_t, 8> pattern{};
};

// A rectangle of whole pixels of an image: its top-left pixel and its size.
struct ImageRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct RasterImage;

struct Font {
  std::string face = "Arial";
  double height = 10;  // pixels
  double angle = 0;    // tenths of a degree, counter-clockwise
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int width() const = 0;
  virtual int height() const = 0;

  virtual void Clear(Colour colour) = 0;
  virtual void SetPen(const Pen& pen) = 0;
  virtual void SetBrush(const Brush& brush) = 0;

  // Connected lines through the points, with the pen.
  virtual void DrawPolyline(const Point* points, std::size_t count) = 0;

  // The rings filled with the brush by the even-odd rule (holes are rings of their own), no outline.
  virtual void FillPolygon(const std::vector<std::vector<Point>>& rings) = 0;

  // A rectangle without outline, and a rectangle outline with the pen.
  virtual void FillRectangle(double x, double y, double width, double height, Colour colour) = 0;
  virtual void DrawRectangle(double x, double y, double width, double height) = 0;

  virtual void SetPixel(int x, int y, Colour colour) = 0;

  virtual void SetFont(const Font& font) = 0;
  // The width in pixels of a text in the current font.
  virtual double TextWidth(std::string_view text) = 0;
  // A text whose baseline starts at (x, y), turned by the font's angle.
  virtual void DrawText(double x, double y, std::string_view text, Colour colour) = 0;
  // A text centred on (x, y), horizontally and vertically, not turned.
  virtual void DrawTextCentred(double x, double y, std::string_view text, Colour colour) = 0;

  // An image pixel for pixel with its top-left corner at (x, y); its transparent pixels leave the
  // surface as it was.
  virtual void DrawImage(int x, int y, const CanvasImage& image) = 0;

  // The source pixels of an image (which must lie inside it) stretched onto a rectangle of the surface.
  virtual void DrawImage(const RasterImage& image, const ImageRect& source, double x, double y, double width,
                         double height) = 0;
};

}  // namespace viamappa
