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
  ArcDialogClose closed;
  {
    ArcAttributesDialogView view(dialog, Owner());
    closed = view.Run();
  }
  // The keys go to the map window again, also where no window manager hands the focus back.
  if (parent_ && !QApplication::activeModalWidget()) {
    parent_->activateWindow();
    parent_->setFocus();
  }
  return closed;
}

SuggestionClose QtEditDialogs::RunSuggestions(SuggestionsDialog& dialog) {
  SuggestionsDialogView view(dialog, ui_, Owner());
  return view.Run();
}

}  // namespace viamappa
