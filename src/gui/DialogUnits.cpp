#include "gui/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace viamappa {

QSize DialogUnitsToPixels(const QWidget& widget, int width, int height) {
  const QFontMetrics metrics(widget.font());
  return {width * metrics.averageCharWidth() / 4, height * metrics.height() / 8};
}

}  // namespace viamappa
