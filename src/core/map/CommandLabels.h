// The texts that name the commands: their labels in the menus and the tooltips of the toolbar.
#pragma once

#include <string_view>

namespace viamappa {

// The label of a command in the menus; empty for an id that no menu carries.
std::string_view CommandLabel(int id);

// The tooltip of a toolbar button; empty for an id that is not on the toolbar.
std::string_view ToolTip(int id);

}  // namespace viamappa
