// viamappa: the desktop editor of the road graph.
#include <QApplication>
#include <cstdlib>

#include "gui/CommandIcons.h"
#include "gui/MainApp.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  viamappa::UseNeutralNumericLocale();
  QApplication::setApplicationName(QStringLiteral("Viamappa"));
  QApplication::setDesktopFileName(QStringLiteral("viamappa"));
  QApplication::setWindowIcon(viamappa::ApplicationIcon());
  viamappa::MainApp application;
  if (!application.InitInstance()) return EXIT_FAILURE;
  return QApplication::exec();
}
