// The status bar of the main window: four panes whose right edges are at 180, 280 and 490 pixels, the
// fourth reaching to the window's right edge. Other parts write coordinates, the scale and the name of
// the current operation into them.
#pragma once

#include <QRect>
#include <QStatusBar>
#include <QString>
#include <array>

namespace viamappa {

class StatusBar : public QStatusBar {
  Q_OBJECT
 public:
  static constexpr int kPanes = 4;

  explicit StatusBar(QWidget* parent = nullptr);

  // Writes a pane; an index outside 0..3 changes nothing.
  void SetPaneText(int index, const QString& text);
  QString PaneText(int index) const;
  // The pane's rectangle in the bar; empty for an index outside 0..3.
  QRect PaneRect(int index) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<QString, kPanes> texts_;
};

}  // namespace viamappa
