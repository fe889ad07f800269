// The progress of one long operation inside a window: a bar 20 pixels high along the bottom of the
// window's client area and, above it, a band with the name of the current phase. The band is not kept:
// a resize or a redraw of the window takes it away until the next phase.
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QString>
#include <QWidget>

namespace viamappa {

class PhaseBanner : public QWidget {
  Q_OBJECT
 public:
  explicit PhaseBanner(QWidget* host);
  void SetText(const QString& text, int text_x, int text_y) {
    text_ = text;
    text_x_ = text_x;
    text_y_ = text_y;
  }
  const QString& text() const { return text_; }
  // Where the text starts, in the host's coordinates.
  int text_x() const { return text_x_; }

  static QColor Colour() { return QColor(0, 0, 192); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int text_x_ = 0;
  int text_y_ = 0;
};

class ProgressOverlay : public QObject {
  Q_OBJECT
 public:
  // Shows the bar at 0 in host, the window's client area.
  explicit ProgressOverlay(QWidget* host);
  ~ProgressOverlay() override;

  // Redraws the host at once (the previous band disappears) and draws the band with the text.
  void SetPhase(const QString& phase);
  void SetPercent(int percent);
  // Takes the band away, as a redraw of the window does.
  void HideBanner();

  QProgressBar* bar() const { return bar_; }
  PhaseBanner* banner() const { return banner_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceBar();

  QPointer<QWidget> host_;
  QPointer<QProgressBar> bar_;
  QPointer<PhaseBanner> banner_;
};

}  // namespace viamappa
