// A drawing surface that records what is drawn on it, and the view of its window, for tests of the map
// drawing.
#pragma once

#include <string>
#include <vector>

#include "map/RenderView.h"
#include "ui/Canvas.h"
#include "ui/RasterImage.h"

namespace viamappa::testing {

// A 1000 x 800 pixel window whose lower-left corner is at (x0, y0); one pixel is one screen unit.
inline RenderView WindowView(double resolution, std::int32_t denominator, double x0 = 0, double y0 = 0,
                             bool fast = false) {
  RenderView view;
  view.resolution = resolution;
  view.width = 1000;
  view.height = 800;
  view.x0 = x0;
  view.y0 = y0;
  view.x1 = x0 + 1000 * resolution;
  view.y1 = y0 + 800 * resolution;
  view.denominator = denominator;
  view.metrics = DeviceMetrics(10.0);
  view.fast = fast;
  return view;
}

struct DrawCall {
  enum class Kind {
    Clear,
    Polyline,
    Polygon,
    FillRectangle,
    DrawRectangle,
    Pixel,
    Text,
    CentredText,
    Image,
    Raster
  };
  Kind kind = Kind::Clear;
  Pen pen;                                // current at the call
  Brush brush;                            // current at the call
  Font font;                              // current at the call
  std::vector<Point> points;              // a polyline, a rectangle's corner, a text's anchor
  std::vector<std::vector<Point>> rings;  // a polygon
  std::string text;
  Colour colour = 0;   // of a text, a rectangle, a pixel or the clear
  CanvasImage image;   // an image drawn, whose top-left corner is points[0]
  RasterImage raster;  // a copy of a raster image drawn, with the part of it drawn
  ImageRect source;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width = 1000, int height = 800) : width_(width), height_(height) {}

  int width() const override { return width_; }
  int height() const override { return height_; }

  void Clear(Colour colour) override { Record(DrawCall::Kind::Clear, {}, colour); }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  void DrawPolyline(const Point* points, std::size_t count) override {
    Record(DrawCall::Kind::Polyline, std::vector<Point>(points, points + count));
  }
  void FillPolygon(const std::vector<std::vector<Point>>& rings) override {
    Record(DrawCall::Kind::Polygon).rings = rings;
  }
  void FillRectangle(double x, double y, double w, double h, Colour colour) override {
    Record(DrawCall::Kind::FillRectangle, {{x, y}, {x + w, y + h}}, colour);
  }
  void DrawRectangle(double x, double y, double w, double h) override {
    Record(DrawCall::Kind::DrawRectangle, {{x, y}, {x + w, y + h}});
  }
  void SetPixel(int x, int y, Colour colour) override {
    Record(DrawCall::Kind::Pixel, {{static_cast<double>(x), static_cast<double>(y)}}, colour);
  }
  void SetFont(const Font& font) override { font_ = font; }
  // Every character is as wide as 0.6 of the height.
  double TextWidth(std::string_view text) override {
    return 0.6 * font_.height * static_cast<double>(text.size());
  }
  void DrawText(double x, double y, std::string_view text, Colour colour) override {
    Record(DrawCall::Kind::Text, {{x, y}}, colour).text = text;
  }
  void DrawTextCentred(double x, double y, std::string_view text, Colour colour) override {
    Record(DrawCall::Kind::CentredText, {{x, y}}, colour).text = text;
  }
  void DrawImage(const RasterImage& image, const ImageRect& source, double x, double y, double w,
                 double h) override {
    DrawCall& call = Record(DrawCall::Kind::Raster, {{x, y}, {x + w, y + h}});
    call.raster = image;
    call.source = source;
  }

  void DrawImage(int x, int y, const CanvasImage& image) override {
    Record(DrawCall::Kind::Image, {{static_cast<double>(x), static_cast<double>(y)}}).image = image;
  }

  const std::vector<DrawCall>& calls() const { return calls_; }
  std::vector<const DrawCall*> Of(DrawCall::Kind kind) const {
    std::vector<const DrawCall*> found;
    for (const DrawCall& call : calls_)
      if (call.kind == kind) found.push_back(&call);
    return found;
  }
  void Forget() { calls_.clear(); }

 private:
  DrawCall& Record(DrawCall::Kind kind, std::vector<Point> points = {}, Colour colour = 0) {
    return calls_.emplace_back(
        DrawCall{kind, pen_, brush_, font_, std::move(points), {}, {}, colour, {}, {}, {}});
  }

  int width_;
  int height_;
  Pen pen_;
  Brush brush_;
  Font font_;
  std::vector<DrawCall> calls_;
};

}  // namespace viamappa::testing
