// Key bindings as Qt shortcuts: each key of a list starts its command through a handler.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QShortcut>
#include <functional>
#include <vector>

#include "app/ShellModel.h"

namespace viamappa {

// The key sequence of a binding's keys ("Ctrl+S", "Num+7"); empty when Qt does not know the key.
QKeySequence KeySequenceOf(const KeyBinding& binding);

// Binds every key of the list on target. With Qt::WindowShortcut the keys act wherever the focus is in
// target's window (the main window's list); with Qt::WidgetWithChildrenShortcut only while target or
// one of its children has the focus (the map window's list). A key that repeats while held down runs
// its command again. The shortcuts are children of target and go with it.
QList<QShortcut*> InstallKeyBindings(QWidget* target, const std::vector<KeyBinding>& bindings,
                                     Qt::ShortcutContext context, std::function<void(int)> handler);

}  // namespace viamappa
