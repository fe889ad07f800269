// The main window over a new, empty road-network database named in its settings.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>

#include "app/DatabaseCreation.h"
#include "gui/MainFrame.h"
#include "gui/MapView.h"
#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa::testing {

// A press, a move or a release of the left button; a move holds the button unless told otherwise.
inline void Mouse(QWidget* widget, QEvent::Type type, QPointF at, bool held = true) {
  QMouseEvent event(
      type, at, widget->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
      held && type != QEvent::MouseButtonRelease ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

// The same at a point of the map window, on the nearest pixel.
inline void Pointer(MapView* view, QEvent::Type type, const Point& world, bool held = false) {
  const Point at = view->viewport().WorldToPixel(world.x, world.y);
  Mouse(view, type, QPointF(std::round(at.x), std::round(at.y)), held);
}

// The entry of a menu, or of one of its submenus, that runs the command.
inline QAction* FindAction(QMenu* menu, int id) {
  for (QAction* action : menu->actions()) {
    if (action->menu()) {
      if (QAction* inner = FindAction(action->menu(), id)) return inner;
    } else if (!action->isSeparator() && action->data().toInt() == id) {
      return action;
    }
  }
  return nullptr;
}

// The database is made at construction; a test may fill it before Start.
class MainFrameOverDatabaseTest : public ::testing::Test {
 protected:
  MainFrameOverDatabaseTest() : config_(dir_.File("1.00.reg")), database_(dir_.File("rete.mdb")) {
    SettingsStore::Install(config_, dir_.path());
    ScriptedUserInterface quiet;
    EXPECT_EQ(CreateDatabaseFile(database_, quiet), CreationResult::Created);
    std::ofstream(config_, std::ios::app) << "\"Database\"=\"" << database_ << "\"\n";
  }

  // Starts the main window with these lines added to its settings.
  void Start(const std::string& settings = {}) {
    std::ofstream(config_, std::ios::app) << settings;
    frame_ = std::make_unique<MainFrame>(ui_, SettingsStore(config_));
    frame_->resize(900, 600);
    EXPECT_TRUE(frame_->Start());
  }

  // Shows the main window, whose first paint makes the map window.
  MapView* ShowMap() {
    frame_->show();
    frame_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    QApplication::processEvents();
    return frame_->map_view();
  }

  std::string Config() const { return ReadText(config_); }

  TempDir dir_;
  std::string config_;
  std::string database_;
  ScriptedUserInterface ui_;
  std::unique_ptr<MainFrame> frame_;
};

}  // namespace viamappa::testing
