#include "gui/QtCanvas.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <cmath>

namespace viamappa {

namespace {

Qt::PenStyle ToQtStyle(LineStyle style) {
  switch (style) {
    case LineStyle::Dash:
      return Qt::DashLine;
    case LineStyle::Dot:
      return Qt::DotLine;
    case LineStyle::DashDot:
      return Qt::DashDotLine;
    case LineStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case LineStyle::Solid:
      break;
  }
  return Qt::SolidLine;
}

// Qt names its diagonal patterns the other way round from their look: BDiagPattern rises from left to
// right, FDiagPattern falls.
Qt::BrushStyle ToQtHatch(FillStyle style) {
  switch (style) {
    case FillStyle::Solid:
      return Qt::SolidPattern;
    case FillStyle::BackwardDiagonal:
      return Qt::FDiagPattern;
    case FillStyle::Cross:
      return Qt::CrossPattern;
    case FillStyle::DiagonalCross:
      return Qt::DiagCrossPattern;
    case FillStyle::ForwardDiagonal:
      return Qt::BDiagPattern;
    case FillStyle::Horizontal:
      return Qt::HorPattern;
    case FillStyle::Vertical:
      return Qt::VerPattern;
    case FillStyle::None:
    case FillStyle::Pattern:
      break;
  }
  return Qt::NoBrush;
}

// An 8 x 8 one-bit pattern as a tile: set bits in the colour, the others transparent.
QImage PatternTile(const std::array<std::uint8_t, 8>& rows, const QColor& colour) {
  QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (rows[y] & (0x80 >> x)) tile.setPixelColor(x, y, colour);
  return tile;
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

QtCanvas::QtCanvas(QImage& image, bool antialiasing) : image_(image), painter_(&image) {
  painter_.setRenderHint(QPainter::Antialiasing, antialiasing);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBackgroundMode(Qt::TransparentMode);
  pen_ = QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  font_.setFamily(QStringLiteral("Arial"));
}

void QtCanvas::Clear(Colour colour) {
  painter_.save();
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  painter_.fillRect(QRect(0, 0, image_.width(), image_.height()), ToQColor(colour));
  painter_.restore();
}

void QtCanvas::SetPen(const Pen& pen) {
  // Width 0 is Qt's cosmetic one-pixel line, as the thinnest pen.
  pen_ =
      QPen(ToQColor(pen.colour), std::max(pen.width, 0.0), ToQtStyle(pen.style), Qt::RoundCap, Qt::RoundJoin);
}

void QtCanvas::SetBrush(const Brush& brush) {
  if (brush.style == FillStyle::Pattern) {
    brush_ = QBrush(PatternTile(brush.pattern, ToQColor(brush.colour)));
  } else {
    brush_ = QBrush(ToQColor(brush.colour), ToQtHatch(brush.style));
  }
}

void QtCanvas::DrawPolyline(const Point* points, std::size_t count) {
  if (count < 2) return;
  // Point and QPointF are both two doubles: the points go to Qt without a copy.
  static_assert(sizeof(QPointF) == sizeof(Point));
  painter_.setPen(pen_);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPolyline(reinterpret_cast<const QPointF*>(points), static_cast<int>(count));
}

void QtCanvas::FillPolygon(const std::vector<std::vector<Point>>& rings) {
  if (brush_.style() == Qt::NoBrush) return;
  QPainterPath path;
  path.setFillRule(Qt::OddEvenFill);
  for (const std::vector<Point>& ring : rings) {
    if (ring.size() < 3) continue;
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(ring.size()));
    for (const Point& p : ring) polygon.append(QPointF(p.x, p.y));
    path.addPolygon(polygon);
    path.closeSubpath();
  }
  // Hatches are laid on the image's grid, so that neighbouring areas continue each other's lines.
  painter_.setBrushOrigin(0, 0);
  painter_.fillPath(path, brush_);
}

void QtCanvas::FillRectangle(double x, double y, double width, double height, Colour colour) {
  painter_.fillRect(QRectF(x, y, width, height), ToQColor(colour));
}

void QtCanvas::DrawRectangle(double x, double y, double width, double height) {
  painter_.setPen(pen_);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(QRectF(x, y, width, height));
}

void QtCanvas::SetPixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  painter_.fillRect(QRect(x, y, 1, 1), ToQColor(colour));
}

void QtCanvas::SetFont(const Font& font) {
  font_.setFamily(FromUtf8(font.face));
  // Heights below a pixel cannot be drawn; Qt refuses sizes that are not positive.
  font_.setPixelSize(std::max(1, static_cast<int>(std::lround(font.height))));
  angle_ = font.angle;
}

double QtCanvas::TextWidth(std::string_view text) {
  return QFontMetricsF(font_).horizontalAdvance(FromUtf8(text));
}

void QtCanvas::DrawText(double x, double y, std::string_view text, Colour colour) {
  painter_.setFont(font_);
  painter_.setPen(ToQColor(colour));
  if (angle_ == 0) {
    painter_.drawText(QPointF(x, y), FromUtf8(text));
    return;
  }
  painter_.save();
  painter_.translate(x, y);
  // Counter-clockwise on the screen is a negative rotation in Qt, whose rows count downward.
  painter_.rotate(-angle_ / 10.0);
  painter_.drawText(QPointF(0, 0), FromUtf8(text));
  painter_.restore();
}

void QtCanvas::DrawTextCentred(double x, double y, std::string_view text, Colour colour) {
  painter_.setFont(font_);
  painter_.setPen(ToQColor(colour));
  const QFontMetricsF metrics(font_);
  const QString shown = FromUtf8(text);
  const double left = x - metrics.horizontalAdvance(shown) / 2;
  const double baseline = y + (metrics.ascent() - metrics.descent()) / 2;
  painter_.drawText(QPointF(left, baseline), shown);
}

}  // namespace viamappa
