// What the main window shows and binds, as data: the menu bar, the toolbar and the two key-binding
// lists. The desktop program builds its widgets from these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "map/CommandLabels.h"

namespace viamappa {

struct MenuItem {
  enum class Kind { Command, Separator, Popup };

  Kind kind = Kind::Command;
  std::string text;             // with its "&" mnemonic; after a tab, the name of the command's key
  int id = 0;                   // the command id of a Command item
  bool with_image = false;      // drawn with the command's image beside the label
  std::vector<MenuItem> items;  // the entries of a Popup
};

// The top-level entries of the menu bar, in order: pop-ups, and the two commands "&Fine" and "&?".
const std::vector<MenuItem>& MenuBarModel();

// The toolbar buttons from left to right; 0 stands for a separator.
const std::vector<int>& ToolBarLayout();

// A group of toolbar buttons as recorded when the toolbar is created: the index in ToolBarLayout of
// the separator that ends it (-1 for the last group) and its width, 23 pixels per button plus 7 for
// the separator.
struct ToolBarGroup {
  int separator_index = -1;
  int width = 0;

  bool operator==(const ToolBarGroup&) const = default;
};
std::vector<ToolBarGroup> ToolBarGroups();

// One key binding. The key is written as in "Ctrl+S", "Shift+PgUp" or "Num+7": modifiers Ctrl, Shift
// and Num (a key of the numeric pad) joined with "+", then the key's name (a letter, a digit, F9, Home,
// End, PgUp, PgDown, Left, Right, Up, Down, Return, Enter, Ins, Esc).
struct KeyBinding {
  std::string_view keys;
  int command = 0;
};

// List A: the keys of the main window, which act wherever the focus is inside it.
const std::vector<KeyBinding>& MainWindowKeys();

// List B: the keys of the map window, which act only while it has the focus. The keys of the numeric
// pad are bound in both of their forms, with Num Lock on (digits) and off (movement keys), so that the
// pad gives the same command either way.
const std::vector<KeyBinding>& MapWindowKeys();

}  // namespace viamappa
