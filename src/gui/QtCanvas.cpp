#include "gui/QtCanvas.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "ui/RasterImage.h"

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

// The source pixels of a raster image as a 32-bit image, the form Qt stretches fastest, at most as
// large as the place it goes to: a reduced image takes the nearest pixels, as the stretch would, so
// its cost follows the window, not the image.
QImage SourcePixels(const RasterImage& image, const ImageRect& source, int most_width, int most_height) {
  const int width = std::clamp(most_width, 1, source.width);
  const int height = std::clamp(most_height, 1, source.height);
  QImage out(width, height, QImage::Format_RGB32);
  // The palette turned to Qt's 0xAARRGGBB once, not once a pixel.
  std::vector<QRgb> palette(image.palette.size());
  for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = ToQColor(image.palette[i]).rgb();
  // The source pixel under the middle of each pixel of the reduced image.
  std::vector<int> columns(static_cast<std::size_t>(width));
  for (int column = 0; column < width; ++column)
    columns[column] = source.x + static_cast<int>((2LL * column + 1) * source.width / (2LL * width));
  for (int row = 0; row < height; ++row) {
    const int y = source.y + static_cast<int>((2LL * row + 1) * source.height / (2LL * height));
    const std::uint8_t* in = image.Row(y);
    auto* pixel = reinterpret_cast<QRgb*>(out.scanLine(row));
    for (int column = 0; column < width; ++column) {
      const int x = columns[column];
      switch (image.bits_per_pixel) {
        case 1:
          pixel[column] = palette[(in[x / 8] >> (7 - x % 8)) & 1];
          break;
        case 4:
          pixel[column] = palette[(in[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
          break;
        case 8:
          pixel[column] = palette[in[x]];
          break;
        default: {
          const std::uint8_t* bgr = in + 3 * static_cast<std::size_t>(x);
          pixel[column] = qRgb(bgr[2], bgr[1], bgr[0]);
          break;
        }
      }
    }
  }
  return out;
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

QImage ToQImage(const CanvasImage& image) {
  QImage converted(image.width(), image.height(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(converted.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const ImagePixel p = image.At(x, y);
      const QRgb rgba = qRgba(static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                              static_cast<int>((p >> 16) & 0xFF), static_cast<int>(p >> 24));
      row[x] = qPremultiply(rgba);
    }
  }
  return converted;
}

QtCanvas::QtCanvas(QImage& image, bool antialiasing) : image_(image), painter_(&image) {
  painter_.setRenderHint(QPainter::Antialiasing, antialiasing);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBackgroundMode(Qt::TransparentMode);
  SetPen(Pen());
  painter_.setBrush(Qt::NoBrush);
  font_.setFamily(QString::fromStdString(face_));
  font_.setPixelSize(10);
  // Map text comes in every size and angle: hinting each glyph anew costs more than it shows.
  font_.setHintingPreference(QFont::PreferNoHinting);
}

void QtCanvas::Clear(Colour colour) {
  painter_.save();
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  painter_.fillRect(QRect(0, 0, image_.width(), image_.height()), ToQColor(colour));
  painter_.restore();
}

void QtCanvas::SetPen(const Pen& pen) {
  // Width 0 is Qt's cosmetic one-pixel line, as the thinnest pen. Round ends and joins cost several
  // times more to draw and show only on wide lines: thin ones (most arcs) go without.
  const double width = std::max(pen.width, 0.0);
  const bool round = width > 2.0;
  pen_ = QPen(ToQColor(pen.colour), width, ToQtStyle(pen.style), round ? Qt::RoundCap : Qt::FlatCap,
              round ? Qt::RoundJoin : Qt::BevelJoin);
  painter_.setPen(pen_);
}

void QtCanvas::SetBrush(const Brush& brush) {
  // The painter itself keeps no brush, so that polylines and rectangles stay hollow; fills name theirs.
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
  painter_.drawRect(QRectF(x, y, width, height));
}

void QtCanvas::SetPixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  painter_.fillRect(QRect(x, y, 1, 1), ToQColor(colour));
}

void QtCanvas::SetFont(const Font& font) {
  angle_ = font.angle;
  // Heights below a pixel cannot be drawn; Qt refuses sizes that are not positive.
  const int pixels = std::max(1, static_cast<int>(std::lround(font.height)));
  if (font.face == face_ && pixels == font_.pixelSize()) return;
  if (font.face != face_) {
    face_ = font.face;
    font_.setFamily(FromUtf8(face_));
  }
  font_.setPixelSize(pixels);
  metrics_.reset();
  font_set_ = false;
}

const QFontMetricsF& QtCanvas::Metrics() {
  if (!metrics_) metrics_.emplace(font_);
  return *metrics_;
}

void QtCanvas::UseTextState(Colour colour) {
  if (!font_set_) {
    painter_.setFont(font_);
    font_set_ = true;
  }
  painter_.setPen(ToQColor(colour));
}

double QtCanvas::TextWidth(std::string_view text) {
  return Metrics().horizontalAdvance(FromUtf8(text));
}

void QtCanvas::DrawText(double x, double y, std::string_view text, Colour colour) {
  UseTextState(colour);
  if (angle_ == 0) {
    painter_.drawText(QPointF(x, y), FromUtf8(text));
  } else {
    // Counter-clockwise on the screen is a negative rotation in Qt, whose rows count downward. Whole
    // degrees: turned glyphs are kept per angle, and a tenth of a degree does not show.
    painter_.setTransform(QTransform::fromTranslate(x, y).rotate(-std::round(angle_ / 10.0)));
    painter_.drawText(QPointF(0, 0), FromUtf8(text));
    painter_.resetTransform();
  }
  painter_.setPen(pen_);
}

void QtCanvas::DrawTextCentred(double x, double y, std::string_view text, Colour colour) {
  UseTextState(colour);
  const QString shown = FromUtf8(text);
  const QFontMetricsF& metrics = Metrics();
  const double left = x - metrics.horizontalAdvance(shown) / 2;
  const double baseline = y + (metrics.ascent() - metrics.descent()) / 2;
  painter_.drawText(QPointF(left, baseline), shown);
  painter_.setPen(pen_);
}

void QtCanvas::DrawImage(int x, int y, const CanvasImage& image) {
  if (image.width() <= 0 || image.height() <= 0) return;
  // A bounded cache: a canvas that draws very many different images converts some of them again.
  if (images_.size() > 4096) images_.clear();
  auto [it, added] = images_.try_emplace(image.serial());
  if (added) it->second = ToQImage(image);
  painter_.drawImage(QPoint(x, y), it->second);
}

void QtCanvas::DrawImage(const RasterImage& image, const ImageRect& source, double x, double y, double width,
                         double height) {
  if (source.width <= 0 || source.height <= 0 || source.x < 0 || source.y < 0 ||
      source.x + source.width > image.width || source.y + source.height > image.height)
    return;
  // Whole pixels, so that neighbouring tiles meet without a seam; nearest pixels, so that an orthophoto
  // stays sharp when enlarged and the redraw stays quick.
  const QPoint top_left(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
  const QPoint beyond(static_cast<int>(std::lround(x + width)), static_cast<int>(std::lround(y + height)));
  if (beyond.x() <= top_left.x() || beyond.y() <= top_left.y()) return;
  painter_.save();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QSize size(beyond.x() - top_left.x(), beyond.y() - top_left.y());
  painter_.drawImage(QRect(top_left, size), SourcePixels(image, source, size.width(), size.height()));
  painter_.restore();
}

}  // namespace viamappa
