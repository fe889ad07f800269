// The images of the commands on the toolbar and in the "&Operazioni" menu, drawn by the program on a
// 16 x 15 grid at whatever size and pixel ratio the screen asks for, so that they stay sharp.
#pragma once

#include <QIcon>

namespace viamappa {

// The image of a command of the toolbar; a null icon for other ids.
QIcon CommandIcon(int id);

// The program's own icon, for the window.
QIcon ApplicationIcon();

}  // namespace viamappa
