// The first window of the desktop program while its main window is being built.
#pragma once

#include <QMainWindow>

namespace viamappa {

class PlaceholderWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit PlaceholderWindow(QWidget* parent = nullptr);
};

}  // namespace viamappa
