// The application: start-up of the desktop program and the objects that live as long as it runs.
#pragma once

#include <QTranslator>
#include <QWidget>
#include <memory>

#include "gui/QtUserInterface.h"

namespace viamappa {

class BusyClock;
class MainFrame;

// Data are formatted the same whatever the person's locale: the numeric part of the process locale
// (which QApplication takes from the environment) goes back to "C".
void UseNeutralNumericLocale();

// Shows the window maximised, also on a display without a window manager.
void ShowMaximised(QWidget& window);

// Loads Qt's own Italian texts (file dialogs, standard buttons) into translator and installs it.
bool InstallItalianTranslations(QTranslator& translator);

class MainApp {
 public:
  MainApp();
  ~MainApp();
  MainApp(const MainApp&) = delete;
  MainApp& operator=(const MainApp&) = delete;

  // Creates the main window with its hidden busy clock, shows it maximised and runs the start-up of
  // the settings and the database. False when the program must end at once.
  bool InitInstance();

  MainFrame* frame() const { return frame_.get(); }
  QtUserInterface& ui() { return ui_; }

 private:
  QTranslator translator_;
  QtUserInterface ui_;
  std::unique_ptr<MainFrame> frame_;
};

}  // namespace viamappa
