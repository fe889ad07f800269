#include "gui/ProgressOverlay.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "app/ProgressLayout.h"

namespace viamappa {

PhaseBanner::PhaseBanner(QWidget* host) : QWidget(host) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
}

void PhaseBanner::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Colour());
  p.setPen(Qt::white);
  p.setFont(parentWidget() ? parentWidget()->font() : font());
  const QFontMetrics metrics(p.font());
  p.drawText(QPoint(text_x_ - x(), text_y_ - y() + metrics.ascent()), text_);
}

ProgressOverlay::ProgressOverlay(QWidget* host) : host_(host) {
  bar_ = new QProgressBar(host);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  banner_ = new PhaseBanner(host);
  PlaceBar();
  bar_->show();
  bar_->raise();
  host->installEventFilter(this);
}

ProgressOverlay::~ProgressOverlay() {
  if (host_) host_->removeEventFilter(this);
  delete bar_;
  delete banner_;
}

void ProgressOverlay::PlaceBar() {
  const PixelRect r = ProgressBarRect(host_->width(), host_->height());
  bar_->setGeometry(r.x, r.y, r.width, r.height);
}

void ProgressOverlay::SetPhase(const QString& phase) {
  if (!host_ || !banner_) return;
  banner_->hide();
  host_->repaint();
  const QFontMetrics metrics(host_->font());
  const PhaseBannerPlace layout =
      PhaseBannerLayout(host_->width(), host_->height(), metrics.horizontalAdvance(phase), metrics.height());
  banner_->setGeometry(layout.band.x, layout.band.y, layout.band.width, layout.band.height);
  banner_->SetText(phase, layout.text_x, layout.text_y);
  banner_->show();
  banner_->raise();
  banner_->repaint();
}

void ProgressOverlay::SetPercent(int percent) {
  if (bar_) bar_->setValue(percent);
}

void ProgressOverlay::HideBanner() {
  if (banner_) banner_->hide();
}

bool ProgressOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == host_ && event->type() == QEvent::Resize) {
    PlaceBar();
    HideBanner();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace viamappa
