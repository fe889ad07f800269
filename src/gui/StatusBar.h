// The status bar of the main window: four panes whose right edges are at 180, 280 and 490 pixels, the
// fourth reaching to the window's right edge. Other parts write coordinates, the scale and the name of
// the current operation into them.
#pragma once

#include <QRect>
#include <QStatusBar>
#include <QString>
#include <array>

#include "ui/StatusPanes.h"

namespace viamappa {

class StatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit StatusBar(QWidget* parent = nullptr);

  void SetPaneText(StatusPane pane, const QString& text);
  QString PaneText(StatusPane pane) const;
  // Writes the panes that have a text; the others keep theirs.
  void Show(const StatusTexts& texts);
  // The pane's rectangle in the bar.
  QRect PaneRect(StatusPane pane) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect PaneRect(int index) const;

  std::array<QString, kStatusPaneCount> texts_;
};

}  // namespace viamappa
