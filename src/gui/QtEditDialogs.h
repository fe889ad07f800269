// The editing dialogs on Qt: the arc attributes (also the form of a new arc) as a window over the map
// window, and the suggestion lists of the street directory over the window that asked for them.
#pragma once

#include <QPointer>
#include <QWidget>

#include "edit/EditDialogs.h"
#include "ui/UserInterface.h"

namespace viamappa {

class QtEditDialogs : public EditDialogs {
 public:
  // parent owns the windows shown; ui shows the messages of the suggestion lists.
  QtEditDialogs(QWidget* parent, UserInterface& ui) : parent_(parent), ui_(ui) {}

  ArcDialogClose RunArcAttributes(ArcAttributesDialog& dialog) override;
  SuggestionClose RunSuggestions(SuggestionsDialog& dialog) override;

 private:
  // The dialog open at the moment (the arc attributes while they check a name), else the parent.
  QWidget* Owner() const;

  QPointer<QWidget> parent_;
  UserInterface& ui_;
};

}  // namespace viamappa
