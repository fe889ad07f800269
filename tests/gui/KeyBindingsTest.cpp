#include "gui/KeyBindings.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QVBoxLayout>
#include <vector>

#include "app/ShellModel.h"
#include "map/CommandIds.h"

namespace viamappa {
namespace {

TEST(KeyBindingsTest, EveryKeyOfBothListsIsAKeyQtKnows) {
  for (const auto* list : {&MainWindowKeys(), &MapWindowKeys()}) {
    for (const KeyBinding& binding : *list) {
      const QKeySequence sequence = KeySequenceOf(binding);
      EXPECT_EQ(sequence.count(), 1) << binding.keys;
      EXPECT_EQ(sequence.toString(QKeySequence::PortableText).toStdString(), binding.keys);
    }
  }
  EXPECT_TRUE(KeySequenceOf(KeyBinding{"Ctrl+NoSuchKey", 1}).isEmpty());
}

// A main window with a focusable stand-in for the map window beside another focusable widget.
class KeyBindingsWindowTest : public ::testing::Test {
 protected:
  KeyBindingsWindowTest() {
    auto* client = new QWidget(&window_);
    auto* layout = new QVBoxLayout(client);
    map_ = new QWidget(client);
    map_->setFocusPolicy(Qt::StrongFocus);
    map_->setMinimumSize(200, 200);
    other_ = new QWidget(client);
    other_->setFocusPolicy(Qt::StrongFocus);
    other_->setMinimumSize(50, 50);
    layout->addWidget(map_);
    layout->addWidget(other_);
    window_.setCentralWidget(client);
    const auto record = [this](int id) { commands_.push_back(id); };
    InstallKeyBindings(&window_, MainWindowKeys(), Qt::WindowShortcut, record);
    InstallKeyBindings(map_, MapWindowKeys(), Qt::WidgetWithChildrenShortcut, record);
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  void Focus(QWidget* widget) {
    widget->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(widget->hasFocus());
  }

  // The commands that a key press on the focused widget started.
  std::vector<int> Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    commands_.clear();
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    return commands_;
  }

  QMainWindow window_;
  QWidget* map_ = nullptr;
  QWidget* other_ = nullptr;
  std::vector<int> commands_;
};

using Commands = std::vector<int>;

TEST_F(KeyBindingsWindowTest, MapKeysActOnlyWhileTheMapWindowHasTheFocus) {
  Focus(other_);
  EXPECT_EQ(Press(Qt::Key_S, Qt::ControlModifier), Commands{});
  EXPECT_EQ(Press(Qt::Key_Home), Commands{});
  Focus(map_);
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> keys[] = {
      {Qt::Key_S, Qt::ControlModifier, cmd::kPan},       {Qt::Key_Home, Qt::NoModifier, cmd::kHomeView},
      {Qt::Key_D, Qt::ShiftModifier, cmd::kDrawArcMode}, {Qt::Key_PageDown, Qt::ShiftModifier, 5504},
      {Qt::Key_F9, Qt::NoModifier, cmd::kPreviousView},  {Qt::Key_Up, Qt::ControlModifier, 5522},
      {Qt::Key_Down, Qt::ControlModifier, 5523},         {Qt::Key_Escape, Qt::NoModifier, 5520},
      {Qt::Key_Z, Qt::ControlModifier, cmd::kZoom},      {Qt::Key_Backspace, Qt::AltModifier, cmd::kUndoEdit},
      {Qt::Key_Y, Qt::ControlModifier, cmd::kRedoEdit}};
  for (const auto& [key, modifiers, command] : keys)
    EXPECT_EQ(Press(key, modifiers), Commands{command}) << command;
}

TEST_F(KeyBindingsWindowTest, CtrlVActsAnywhereInTheMainWindow) {
  for (QWidget* widget : {other_, map_}) {
    Focus(widget);
    EXPECT_EQ(Press(Qt::Key_V, Qt::ControlModifier), Commands{cmd::kThematicStyling});
  }
}

TEST_F(KeyBindingsWindowTest, NumericPadGivesTheSameCommandWithNumLockOnAndOff) {
  Focus(map_);
  const struct {
    Qt::Key num_lock_on;
    Qt::Key num_lock_off;
    int command;
  } pad[] = {{Qt::Key_4, Qt::Key_Left, 5505}, {Qt::Key_6, Qt::Key_Right, 5507},
             {Qt::Key_8, Qt::Key_Up, 5509},   {Qt::Key_2, Qt::Key_Down, 5511},
             {Qt::Key_7, Qt::Key_Home, 5513}, {Qt::Key_9, Qt::Key_PageUp, 5514},
             {Qt::Key_1, Qt::Key_End, 5515},  {Qt::Key_3, Qt::Key_PageDown, 5516}};
  for (const auto& key : pad) {
    EXPECT_EQ(Press(key.num_lock_on, Qt::KeypadModifier), Commands{key.command}) << key.command;
    EXPECT_EQ(Press(key.num_lock_off, Qt::KeypadModifier), Commands{key.command}) << key.command;
  }
  // The pad's Enter and the main Enter are the same command; the main block's End stays End.
  EXPECT_EQ(Press(Qt::Key_Enter, Qt::KeypadModifier), Commands{5517});
  EXPECT_EQ(Press(Qt::Key_Return), Commands{5517});
  EXPECT_EQ(Press(Qt::Key_End), Commands{5519});
  EXPECT_EQ(Press(Qt::Key_Left), Commands{5505});
  EXPECT_EQ(Press(Qt::Key_Left, Qt::ShiftModifier), Commands{5506});
}

}  // namespace
}  // namespace viamappa
