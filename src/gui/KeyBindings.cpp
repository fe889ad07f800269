#include "gui/KeyBindings.h"

#include <QWidget>

namespace viamappa {

QKeySequence KeySequenceOf(const KeyBinding& binding) {
  const QKeySequence sequence = QKeySequence::fromString(
      QString::fromLatin1(binding.keys.data(), static_cast<qsizetype>(binding.keys.size())),
      QKeySequence::PortableText);
  if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown) return {};
  return sequence;
}

QList<QShortcut*> InstallKeyBindings(QWidget* target, const std::vector<KeyBinding>& bindings,
                                     Qt::ShortcutContext context, std::function<void(int)> handler) {
  QList<QShortcut*> shortcuts;
  for (const KeyBinding& binding : bindings) {
    const QKeySequence sequence = KeySequenceOf(binding);
    if (sequence.isEmpty()) continue;
    auto* shortcut = new QShortcut(sequence, target);
    shortcut->setContext(context);
    const int command = binding.command;
    QObject::connect(shortcut, &QShortcut::activated, target, [handler, command] { handler(command); });
    shortcuts << shortcut;
  }
  return shortcuts;
}

}  // namespace viamappa
