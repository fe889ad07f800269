// The drawing surface on a QImage: pens, hatch and pattern brushes, polylines, polygons, turned text.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <optional>
#include <string>
#include <unordered_map>

#include "ui/Canvas.h"

namespace viamappa {

// Converts a 0x00BBGGRR colour.
QColor ToQColor(Colour colour);

class QtCanvas : public Canvas {
 public:
  // Paints on image (which must outlive the canvas) until the canvas goes.
  explicit QtCanvas(QImage& image, bool antialiasing = true);

  int width() const override { return image_.width(); }
  int height() const override { return image_.height(); }

  void Clear(Colour colour) override;
  void SetPen(const Pen& pen) override;
  void SetBrush(const Brush& brush) override;
  void DrawPolyline(const Point* points, std::size_t count) override;
  void FillPolygon(const std::vector<std::vector<Point>>& rings) override;
  void FillRectangle(double x, double y, double width, double height, Colour colour) override;
  void DrawRectangle(double x, double y, double width, double height) override;
  void SetPixel(int x, int y, Colour colour) override;
  void SetFont(const Font& font) override;
  double TextWidth(std::string_view text) override;
  void DrawText(double x, double y, std::string_view text, Colour colour) override;
  void DrawTextCentred(double x, double y, std::string_view text, Colour colour) override;
  void DrawImage(int x, int y, const CanvasImage& image) override;
  void DrawImage(const RasterImage& image, const ImageRect& source, double x, double y, double width,
                 double height) override;

  QPainter& painter() { return painter_; }

 private:
  const QFontMetricsF& Metrics();
  // The painter takes the font (when it changed) and a text colour; the pen comes back after the text.
  void UseTextState(Colour colour);

  QImage& image_;
  QPainter painter_;
  QPen pen_;  // always the painter's pen outside a text call
  QBrush brush_;
  std::string face_ = "Arial";
  QFont font_;
  std::optional<QFontMetricsF> metrics_;  // of font_, made when first needed
  bool font_set_ = false;                 // the painter has font_
  double angle_ = 0;                      // tenths of a degree, counter-clockwise
  // Images as Qt draws them fastest, made once per image while this canvas draws: a map's nodes
  // share a few symbols.
  std::unordered_map<std::uint64_t, QImage> images_;
};

// A core image as a Qt image with premultiplied alpha.
QImage ToQImage(const CanvasImage& image);

}  // namespace viamappa
