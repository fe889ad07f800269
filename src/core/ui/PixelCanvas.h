// A drawing surface on plain pixels, without anti-aliasing: what the command-line program draws its
// pictures on, and what tests read pixels from. Lines are solid whatever their style, and no text is
// drawn: the core has no fonts.
#pragma once

#include <vector>

#include "ui/Canvas.h"

namespace viamappa {

class PixelCanvas : public Canvas {
 public:
  // A surface of width x height white pixels.
  PixelCanvas(int width, int height);

  int width() const override { return width_; }
  int height() const override { return height_; }

  void Clear(Colour colour) override;
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  void DrawPolyline(const Point* points, std::size_t count) override;
  void FillPolygon(const std::vector<std::vector<Point>>& rings) override;
  void FillRectangle(double x, double y, double width, double height, Colour colour) override;
  void DrawRectangle(double x, double y, double width, double height) override;
  void SetPixel(int x, int y, Colour colour) override;
  void SetFont(const Font& font) override { font_ = font; }
  // As wide as 0.6 of the height a character, though nothing is written.
  double TextWidth(std::string_view text) override;
  void DrawText(double, double, std::string_view, Colour) override {}
  void DrawTextCentred(double, double, std::string_view, Colour) override {}
  void DrawImage(int x, int y, const CanvasImage& image) override;
  // Nearest pixels, whole destination pixels, as the window draws raster backgrounds.
  void DrawImage(const RasterImage& image, const ImageRect& source, double x, double y, double width,
                 double height) override;

  // The colour of a pixel inside the surface.
  Colour PixelAt(int x, int y) const { return pixels_[Index(x, y)]; }
  // Rows from the top, each pixel 0x00BBGGRR.
  const std::vector<Colour>& pixels() const { return pixels_; }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }
  void Plot(int x, int y, Colour colour);
  // A pixel of a fill with the current brush: whether the brush covers it.
  bool BrushCovers(int x, int y) const;
  void DrawLine(Point a, Point b);

  int width_;
  int height_;
  std::vector<Colour> pixels_;
  Pen pen_;
  Brush brush_;
  Font font_;
};

}  // namespace viamappa
