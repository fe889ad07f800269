#include "gui/QtEditDialogs.h"

#include <QApplication>

#include "gui/ArcAttributesDialogView.h"
#include "gui/SuggestionsDialogView.h"

namespace viamappa {

QWidget* QtEditDialogs::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return parent_;
}

ArcDialogClose QtEditDialogs::RunArcAttributes(ArcAttributesDialog& dialog) {
  ArcAttributesDialogView view(dialog, Owner());
  return view.Run();
}

SuggestionClose QtEditDialogs::RunSuggestions(SuggestionsDialog& dialog) {
  SuggestionsDialogView view(dialog, ui_, Owner());
  return view.Run();
}

}  // namespace viamappa
