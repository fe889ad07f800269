// Any bytes as a background file of one format: its signature put in place, then opened and drawn at
// the whole extent, closer in, and in a fast redraw, on a surface that reads every pixel of the
// images it is given.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "map/BackgroundFile.h"
#include "map/BackgroundPainter.h"
#include "ui/RasterImage.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa::fuzz {

class DiscardingCanvas : public Canvas {
 public:
  int width() const override { return 640; }
  int height() const override { return 480; }
  void Clear(Colour) override {}
  void SetPen(const Pen&) override {}
  void SetBrush(const Brush&) override {}
  void DrawPolyline(const Point* points, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) sum_ += points[i].x + points[i].y;
  }
  void FillPolygon(const std::vector<std::vector<Point>>& rings) override {
    for (const auto& ring : rings) DrawPolyline(ring.data(), ring.size());
  }
  void FillRectangle(double, double, double, double, Colour) override {}
  void DrawRectangle(double, double, double, double) override {}
  void SetPixel(int, int, Colour) override {}
  void SetFont(const Font&) override {}
  double TextWidth(std::string_view text) override { return static_cast<double>(text.size()); }
  void DrawText(double, double, std::string_view, Colour) override {}
  void DrawTextCentred(double, double, std::string_view, Colour) override {}
  void DrawImage(const RasterImage& image, const ImageRect& source, double, double, double, double) override {
    for (int y = source.y; y < source.y + source.height; ++y)
      for (int x = source.x; x < source.x + source.width; ++x) sum_ += image.PixelAt(x, y);
  }

 private:
  double sum_ = 0;
};

inline RenderView FuzzView(const Box& box, double resolution, bool fast) {
  RenderView view;
  view.resolution = resolution;
  view.width = 640;
  view.height = 480;
  view.x0 = box.minx;
  view.y0 = box.miny;
  view.x1 = box.minx + 640 * resolution;
  view.y1 = box.miny + 480 * resolution;
  view.denominator = static_cast<std::int32_t>(std::fmin(2e9, resolution * 10000));
  view.metrics = DeviceMetrics(10.0);
  view.fast = fast;
  return view;
}

inline void ReadAndDraw(const std::uint8_t* data, std::size_t size, const char* signature) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.size() >= kBackgroundHeaderBytes) {
    bytes.replace(0, 3, signature);
    bytes[3] = '\xA9';
    bytes[kBackgroundHeaderBytes - 1] = '\n';
  }
  ScriptedUserInterface ui;
  auto file = BackgroundFile::Open(MemorySource(bytes), ui);
  if (!file) return;
  Box box = file->extent();
  if (box.IsEmpty()) box = Box::Of(0, 0, 1000, 1000);
  const double whole = std::fmax(std::fmax(box.maxx - box.minx, box.maxy - box.miny) / 480, 1e-3);
  DiscardingCanvas canvas;
  for (const RenderView& view :
       {FuzzView(box, whole, false), FuzzView(box, whole / 50, false), FuzzView(box, whole, true)}) {
    if (!std::isfinite(view.x1) || !std::isfinite(view.y1)) continue;
    DrawBackground(canvas, kWhite, view, BackgroundSourcesOf(file.get()));
  }
}

}  // namespace viamappa::fuzz
