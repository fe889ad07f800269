// For the Qt tests: acting on the modal dialog that a call is about to open, once it shows.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace viamappa::testing {

inline void WhenModalOpens(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return WhenModalOpens(act);
    act(modal);
  });
}

}  // namespace viamappa::testing
