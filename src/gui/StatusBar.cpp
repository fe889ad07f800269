#include "gui/StatusBar.h"

#include <QFont>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace viamappa {

namespace {

constexpr int kRightEdges[kStatusPaneCount - 1] = {180, 280, 490};
constexpr int kMinimumHeight = 18;

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  setObjectName(QStringLiteral("StatusBar"));
  // The panes keep their fixed widths; a narrow face at 11 pixels fits the coordinates
  // ("Nord=5008000.00        Est=612000.00") and a six-digit scale in them.
  QFont narrow(QStringLiteral("Arial"));
  narrow.setPixelSize(11);
  setFont(narrow);
}

void StatusBar::SetPaneText(StatusPane pane, const QString& text) {
  const int index = static_cast<int>(pane);
  if (texts_[index] == text) return;
  texts_[index] = text;
  update(PaneRect(index));
}

QString StatusBar::PaneText(StatusPane pane) const {
  return texts_[static_cast<int>(pane)];
}

void StatusBar::Show(const StatusTexts& texts) {
  for (const StatusPane pane : {StatusPane::Mode, StatusPane::Scale, StatusPane::Prompt, StatusPane::Note}) {
    if (texts[pane]) SetPaneText(pane, QString::fromStdString(*texts[pane]));
  }
}

QRect StatusBar::PaneRect(StatusPane pane) const {
  return PaneRect(static_cast<int>(pane));
}

QRect StatusBar::PaneRect(int index) const {
  const int left = index == 0 ? 0 : kRightEdges[index - 1];
  const int right = index == kStatusPaneCount - 1 ? std::max(width(), left) : kRightEdges[index];
  return QRect(left, 0, right - left, height());
}

QSize StatusBar::sizeHint() const {
  return {QStatusBar::sizeHint().width(), std::max(kMinimumHeight, fontMetrics().height() + 6)};
}

void StatusBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  for (int i = 0; i < kStatusPaneCount; ++i) {
    const QRect pane = PaneRect(i).adjusted(1, 2, -2, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(pane.topLeft(), pane.topRight());
    p.drawLine(pane.topLeft(), pane.bottomLeft());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(pane.bottomLeft(), pane.bottomRight());
    p.drawLine(pane.topRight(), pane.bottomRight());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(pane.adjusted(4, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
               fontMetrics().elidedText(texts_[i], Qt::ElideRight, pane.width() - 7));
  }
}

}  // namespace viamappa
