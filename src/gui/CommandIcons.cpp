#include "gui/CommandIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "map/CommandIds.h"

namespace viamappa {

namespace {

// The design grid of every image.
constexpr qreal kGridWidth = 16.0;
constexpr qreal kGridHeight = 15.0;

const QColor kInk(40, 44, 52);
const QColor kRoad(200, 120, 40);
const QColor kBlue(30, 100, 200);
const QColor kGreen(40, 150, 60);
const QColor kRed(200, 40, 40);
const QColor kYellow(250, 210, 40);

QPen Pen(const QColor& colour, qreal width = 1.2) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A short piece of road: the polyline the editing images work on.
const QPointF kRoadLine[] = {{1.5, 12.5}, {5.5, 6.5}, {10.5, 9.5}, {14.5, 3.5}};

void DrawRoad(QPainter& p, const QColor& colour = kRoad) {
  p.setPen(Pen(colour, 1.6));
  p.drawPolyline(kRoadLine, 4);
}

void DrawVertex(QPainter& p, QPointF at, const QColor& fill = Qt::white) {
  p.setPen(Pen(kInk, 1.0));
  p.setBrush(fill);
  p.drawRect(QRectF(at.x() - 1.5, at.y() - 1.5, 3.0, 3.0));
}

void DrawArrowHead(QPainter& p, QPointF tip, QPointF direction) {
  const QPointF side(-direction.y(), direction.x());
  QPolygonF head;
  head << tip << tip - direction * 2.5 + side * 1.8 << tip - direction * 2.5 - side * 1.8;
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawPolygon(head);
}

void DrawMagnifier(QPainter& p, QPointF centre, qreal radius) {
  p.setPen(Pen(kInk, 1.4));
  p.setBrush(QColor(220, 235, 250));
  p.drawEllipse(centre, radius, radius);
  p.setPen(Pen(kInk, 2.2));
  const QPointF handle = centre + QPointF(radius * 0.72, radius * 0.72);
  p.drawLine(handle, handle + QPointF(3.6, 3.6));
}

void DrawFlag(QPainter& p, const QColor& colour) {
  p.setPen(Pen(kInk, 1.3));
  p.drawLine(QPointF(4.5, 14.0), QPointF(4.5, 1.5));
  QPolygonF cloth;
  cloth << QPointF(4.5, 1.5) << QPointF(13.5, 4.0) << QPointF(4.5, 7.5);
  p.setPen(Pen(colour.darker(130), 1.0));
  p.setBrush(colour);
  p.drawPolygon(cloth);
}

void Draw(QPainter& p, int id) {
  switch (id) {
    case cmd::kThematicStyling: {  // three colour swatches over each other
      const QColor colours[] = {kBlue, kGreen, kRed};
      for (int i = 0; i < 3; ++i) {
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(colours[i]);
        p.drawRect(QRectF(1.5 + i * 3.0, 1.5 + i * 3.5, 8.0, 6.0));
      }
      break;
    }
    case cmd::kPan: {  // a cross of four arrows
      p.setPen(Pen(kInk, 1.4));
      p.drawLine(QPointF(8, 2.5), QPointF(8, 12.5));
      p.drawLine(QPointF(2.5, 7.5), QPointF(13.5, 7.5));
      DrawArrowHead(p, {8, 1}, {0, -1});
      DrawArrowHead(p, {8, 14}, {0, 1});
      DrawArrowHead(p, {1, 7.5}, {-1, 0});
      DrawArrowHead(p, {15, 7.5}, {1, 0});
      break;
    }
    case cmd::kZoom:  // a magnifier with plus and minus
      DrawMagnifier(p, {6.5, 6.0}, 4.8);
      p.setPen(Pen(kInk, 1.2));
      p.drawLine(QPointF(4.2, 6.0), QPointF(8.8, 6.0));
      p.drawLine(QPointF(6.5, 3.7), QPointF(6.5, 8.3));
      break;
    case cmd::kAreaSelection:  // a dashed frame with a pointer corner
      p.setPen(QPen(kInk, 1.2, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin));
      p.setBrush(QColor(200, 225, 250));
      p.drawRect(QRectF(1.5, 2.5, 11.0, 8.0));
      p.setPen(Pen(kInk, 1.0));
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygonF({QPointF(10, 8), QPointF(15, 12), QPointF(12.5, 12.3), QPointF(11.5, 14.5)}));
      break;
    case cmd::kHomeView: {  // a house
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(QColor(250, 240, 210));
      p.drawPolygon(QPolygonF({QPointF(3, 7), QPointF(3, 13.5), QPointF(13, 13.5), QPointF(13, 7)}));
      p.setBrush(kRed);
      p.drawPolygon(QPolygonF({QPointF(1, 7.5), QPointF(8, 1.5), QPointF(15, 7.5)}));
      p.setBrush(kInk);
      p.drawRect(QRectF(7, 9.5, 2.5, 4.0));
      break;
    }
    case cmd::kToponymSearch:  // a magnifier over a place name
      p.setPen(Pen(kInk, 1.0));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(0.5, 0.5, 9.0, 5.0));
      p.drawLine(QPointF(2.0, 3.0), QPointF(8.0, 3.0));
      DrawMagnifier(p, {9.0, 8.5}, 3.5);
      break;
    case cmd::kDragMode:  // a vertex moved along an arrow
      DrawRoad(p);
      DrawVertex(p, kRoadLine[2], kYellow);
      p.setPen(Pen(kInk, 1.2));
      p.drawLine(QPointF(10.5, 9.5), QPointF(10.5, 13.0));
      DrawArrowHead(p, {10.5, 14.6}, {0, 1});
      break;
    case cmd::kAdjustSegmentMode:  // one segment redrawn
      DrawRoad(p);
      p.setPen(QPen(kBlue, 1.6, Qt::DashLine, Qt::RoundCap));
      p.drawLine(QPointF(5.5, 6.5), QPointF(9.0, 13.5));
      p.drawLine(QPointF(9.0, 13.5), QPointF(14.5, 3.5));
      DrawVertex(p, {9.0, 13.5}, kYellow);
      break;
    case cmd::kDrawArcMode:  // a new road with a pencil
      p.setPen(Pen(kRoad, 1.6));
      p.drawPolyline(kRoadLine, 3);
      DrawVertex(p, kRoadLine[0]);
      DrawVertex(p, kRoadLine[2]);
      p.setPen(Pen(kInk, 1.0));
      p.setBrush(kYellow);
      p.drawPolygon(QPolygonF({QPointF(11, 6), QPointF(15, 2), QPointF(16, 3), QPointF(12, 7)}));
      p.drawLine(QPointF(11, 6), QPointF(10.3, 7.7));
      p.drawLine(QPointF(12, 7), QPointF(10.3, 7.7));
      break;
    case cmd::kDeleteVertexMode:  // a vertex crossed out
      DrawRoad(p);
      DrawVertex(p, kRoadLine[1]);
      p.setPen(Pen(kRed, 1.8));
      p.drawLine(QPointF(9.0, 1.0), QPointF(15.0, 7.0));
      p.drawLine(QPointF(15.0, 1.0), QPointF(9.0, 7.0));
      break;
    case cmd::kHighlightRoads:  // a road under a highlighter stroke
      p.setPen(QPen(kYellow, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(kRoadLine, 4);
      DrawRoad(p, kInk);
      break;
    case cmd::kPathStart:
      DrawFlag(p, kGreen);
      break;
    case cmd::kPathEnd:
      DrawFlag(p, kRed);
      break;
    default:
      break;
  }
}

// Draws a command image at any size: the grid is scaled into the rectangle, keeping its proportions.
class CommandIconEngine : public QIconEngine {
 public:
  explicit CommandIconEngine(int id) : id_(id) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const qreal scale = std::min(rect.width() / kGridWidth, rect.height() / kGridHeight);
    painter->translate(rect.x() + (rect.width() - kGridWidth * scale) / 2,
                       rect.y() + (rect.height() - kGridHeight * scale) / 2);
    painter->scale(scale, scale);
    if (mode == QIcon::Disabled) painter->setOpacity(0.3);
    Draw(*painter, id_);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  // size is in device pixels; the image is drawn at the logical size for that pixel ratio.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    if (scale <= 0) scale = 1.0;
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    pixmap.setDevicePixelRatio(scale);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), (QSizeF(size) / scale).toSize()), mode, state);
    return pixmap;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

  QIconEngine* clone() const override { return new CommandIconEngine(id_); }

 private:
  int id_;
};

}  // namespace

QIcon CommandIcon(int id) {
  if (id < cmd::kPan || id > cmd::kPathEnd) return {};
  return QIcon(new CommandIconEngine(id));
}

QIcon ApplicationIcon() {
  QIcon icon(QStringLiteral(":/viamappa/viamappa.svg"));
  return icon;
}

}  // namespace viamappa
