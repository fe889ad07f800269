#include "gui/QtEditDialogs.h"

#include "app/ShellTexts.h"
#include "gui/NewArcDialog.h"

namespace viamappa {

bool QtEditDialogs::AskNewArc(NewArcForm& form) {
  NewArcDialog dialog(form, ui_, parent_);
  return dialog.exec() == QDialog::Accepted;
}

void QtEditDialogs::OpenArcAttributes(LineFeature&) {
  ui_.ShowMessage(NotAvailableMessage(), MessageIcon::Information);
}

}  // namespace viamappa
