#include "gui/BusyClock.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include "app/ProgressLayout.h"

namespace viamappa {

namespace {

// The size of one digit image and of the separator image, in pixels.
constexpr int kDigitWidth = 16;
constexpr int kDigitHeight = 28;
constexpr int kSeparatorWidth = 8;
constexpr int kMargin = 10;

// The segments lit for each digit, in the order top, top right, bottom right, bottom, bottom left,
// top left, middle.
constexpr bool kSegments[10][7] = {
    {1, 1, 1, 1, 1, 1, 0}, {0, 1, 1, 0, 0, 0, 0}, {1, 1, 0, 1, 1, 0, 1}, {1, 1, 1, 1, 0, 0, 1},
    {0, 1, 1, 0, 0, 1, 1}, {1, 0, 1, 1, 0, 1, 1}, {1, 0, 1, 1, 1, 1, 1}, {1, 1, 1, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 0, 1, 1},
};

// One digit as seven segments in the box at (x, y); a character that is not a digit draws 0.
void DrawDigit(QPainter& p, qreal x, qreal y, QChar c) {
  const int digit = c.isDigit() ? c.digitValue() : 0;
  const qreal w = kDigitWidth - 4;
  const qreal h = (kDigitHeight - 4) / 2.0;
  const qreal left = x + 2;
  const qreal top = y + 2;
  const QLineF segments[7] = {
      {left + 1, top, left + w - 1, top},
      {left + w, top + 1, left + w, top + h - 1},
      {left + w, top + h + 1, left + w, top + 2 * h - 1},
      {left + 1, top + 2 * h, left + w - 1, top + 2 * h},
      {left, top + h + 1, left, top + 2 * h - 1},
      {left, top + 1, left, top + h - 1},
      {left + 1, top + h, left + w - 1, top + h},
  };
  for (int s = 0; s < 7; ++s) {
    p.setPen(QPen(kSegments[digit][s] ? QColor(200, 20, 20) : QColor(246, 238, 238), 2.6, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawLine(segments[s]);
  }
}

void DrawSeparator(QPainter& p, qreal x, qreal y) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 20, 20));
  p.drawEllipse(QPointF(x + kSeparatorWidth / 2.0, y + kDigitHeight * 0.33), 1.8, 1.8);
  p.drawEllipse(QPointF(x + kSeparatorWidth / 2.0, y + kDigitHeight * 0.67), 1.8, 1.8);
}

}  // namespace

BusyClock::BusyClock(QWidget* parent) : QWidget(parent) {
  setFixedSize(kSeparatorWidth + 4 * kDigitWidth + 30, kDigitHeight + 30);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
  ticker_.setInterval(250);
  connect(&ticker_, &QTimer::timeout, this, &BusyClock::Tick);
  if (parent) parent->installEventFilter(this);
}

void BusyClock::Start() {
  if (running_) return;
  running_ = true;
  offset_seconds_ = 0;
  started_.start();
  shown_ = Text();
  Centre();
  show();
  raise();
  repaint();
  ticker_.start();
}

void BusyClock::Stop() {
  if (!running_) return;
  running_ = false;
  ticker_.stop();
  hide();
}

long long BusyClock::ElapsedSeconds() const {
  return (started_.isValid() ? started_.elapsed() / 1000 : 0) + offset_seconds_;
}

QString BusyClock::Text() const {
  return QString::fromStdString(BusyClockText(ElapsedSeconds()));
}

void BusyClock::Tick() {
  const QString text = Text();
  if (text == shown_) return;
  shown_ = text;
  repaint();
}

void BusyClock::Centre() {
  if (!parentWidget()) return;
  const QSize area = parentWidget()->size();
  move((area.width() - width()) / 2, (area.height() - height()) / 2);
}

bool BusyClock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize && running_) Centre();
  return QWidget::eventFilter(watched, event);
}

void BusyClock::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  p.fillRect(rect(), palette().color(QPalette::Window));
  p.setPen(QPen(palette().color(QPalette::Dark), 1.0));
  p.drawRect(frame);
  p.setPen(QPen(palette().color(QPalette::Light), 1.0));
  p.drawRect(frame.adjusted(1, 1, -1, -1));
  p.fillRect(QRect(kMargin - 4, kMargin - 4, width() - 2 * kMargin + 8, kDigitHeight + 8), Qt::white);

  const QString text = Text();  // "mm:ss"
  drawn_ = text;
  qreal x = kMargin;
  for (int i = 0; i < text.size(); ++i) {
    if (i == 2) {
      DrawSeparator(p, x, kMargin);
      x += kSeparatorWidth;
      continue;
    }
    DrawDigit(p, x, kMargin, text[i]);
    x += kDigitWidth;
  }
}

}  // namespace viamappa
