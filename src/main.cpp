// viamappa: the desktop editor of the road graph.
#include <QApplication>

#include "gui/PlaceholderWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Viamappa"));
  viamappa::PlaceholderWindow window;
  window.show();
  return QApplication::exec();
}
