// What the editing asks of a person through dialogs: the attributes of an arc (also the form of a newly
// drawn arc) and, while its OK checks the names, the lists of suggestions from the street directory.
// The desktop program shows windows, the command line plays its arguments, tests play a script.
#pragma once

#include "edit/ArcAttributesDialog.h"
#include "edit/SuggestionsDialog.h"

namespace viamappa {

class EditDialogs : public SuggestionDialogs {
 public:
  // Shows the arc attributes until they are closed: OK only once dialog.Accept() answered true, Delete
  // only once dialog.ConfirmDeletion() did.
  virtual ArcDialogClose RunArcAttributes(ArcAttributesDialog& dialog) = 0;
};

}  // namespace viamappa
