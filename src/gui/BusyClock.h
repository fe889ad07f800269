// The busy clock: a small framed window centred over the main window that counts the minutes and
// seconds of a long operation. Its digits are drawn by the program.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace viamappa {

class BusyClock : public QWidget {
  Q_OBJECT
 public:
  // Created hidden, as a child of the window it is centred over.
  explicit BusyClock(QWidget* parent);

  // Shows the clock from 00:00, centred over its parent. Does nothing when it is running.
  void Start();
  // Hides the clock.
  void Stop();
  bool running() const { return running_; }

  // The elapsed seconds and the text they make; the text the clock last drew.
  long long ElapsedSeconds() const;
  QString Text() const;
  const QString& Drawn() const { return drawn_; }

  // Counts as if the clock had been started seconds ago (for checking the text of long times).
  void SetElapsedOffset(long long seconds) { offset_seconds_ = seconds; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Centre();
  void Tick();

  QElapsedTimer started_;
  QTimer ticker_;
  long long offset_seconds_ = 0;
  bool running_ = false;
  QString shown_;
  QString drawn_;
};

}  // namespace viamappa
