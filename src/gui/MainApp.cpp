#include "gui/MainApp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <clocale>

#include "app/ApplicationState.h"
#include "app/SettingsStore.h"
#include "gui/BusyClock.h"
#include "gui/MainFrame.h"

namespace viamappa {

void UseNeutralNumericLocale() {
  std::setlocale(LC_NUMERIC, "C");
}

void ShowMaximised(QWidget& window) {
  // Without a window manager (a bare X server) nobody maximises the window: its normal size is then
  // the screen's available area already.
  if (const QScreen* screen = window.screen()) window.setGeometry(screen->availableGeometry());
  window.showMaximized();
}

bool InstallItalianTranslations(QTranslator& translator) {
  if (!translator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  return QCoreApplication::installTranslator(&translator);
}

MainApp::MainApp() : ui_(QStringLiteral("Viamappa")) {
  InstallItalianTranslations(translator_);
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

MainApp::~MainApp() {
  frame_.reset();
  QCoreApplication::removeTranslator(&translator_);
}

bool MainApp::InitInstance() {
  frame_ = std::make_unique<MainFrame>(ui_, SettingsStore(SettingsStore::DefaultPath()));
  auto* clock = new BusyClock(frame_.get());
  ui_.Attach(frame_.get(), frame_->Client(), clock);
  ShowMaximised(*frame_);
  frame_->setWindowTitle(QString::fromUtf8(MainWindowTitle(true)));
  return frame_->Start();
}

}  // namespace viamappa
