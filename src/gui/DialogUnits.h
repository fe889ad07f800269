// Dialog sizes given in dialog units, as the system's dialogs are laid out: a horizontal unit is a
// quarter of the average character width of the dialog's font, a vertical unit an eighth of its height.
#pragma once

#include <QSize>

class QWidget;

namespace viamappa {

// The size in pixels of width x height dialog units in the widget's font.
QSize DialogUnitsToPixels(const QWidget& widget, int width, int height);

}  // namespace viamappa
