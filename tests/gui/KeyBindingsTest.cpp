#include "gui/KeyBindings.h"

#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "app/ShellModel.h"

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

// A focused window standing in for the map window.
class KeyBindingsWindowTest : public ::testing::Test {
 protected:
  KeyBindingsWindowTest() {
    map_.setFocusPolicy(Qt::StrongFocus);
    InstallKeyBindings(&map_, MapWindowKeys(), Qt::WidgetWithChildrenShortcut,
                       [this](int id) { commands_.push_back(id); });
    map_.show();
    map_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&map_));
    map_.setFocus(Qt::OtherFocusReason);
  }

  // The commands that a key press on the focused widget started.
  std::vector<int> Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    commands_.clear();
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    return commands_;
  }

  QWidget map_;
  std::vector<int> commands_;
};

using Commands = std::vector<int>;

TEST_F(KeyBindingsWindowTest, NumericPadGivesTheSameCommandWithNumLockOnAndOff) {
  ASSERT_TRUE(map_.hasFocus());
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
