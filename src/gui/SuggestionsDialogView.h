// A suggestion list of the street directory as a window over its model: the typed text, the list of
// close entries, OK, "Annulla" and, for the types, "Inserisci Nuovo Tipo". OK closes only with an entry
// selected; otherwise the model's message is shown and the window stays.
#pragma once

#include <QDialog>

#include "edit/SuggestionsDialog.h"
#include "ui/UserInterface.h"

class QListWidget;
class QPushButton;

namespace viamappa {

class SuggestionsDialogView : public QDialog {
  Q_OBJECT
 public:
  // ui shows the refusal of OK.
  SuggestionsDialogView(SuggestionsDialog& model, UserInterface& ui, QWidget* parent = nullptr);

  // Shows the window modally until it is closed.
  SuggestionClose Run();

  QListWidget* list() const { return list_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  QPushButton* new_type_button() const { return new_type_; }  // null for the names

 private:
  void Confirm();

  SuggestionsDialog& model_;
  UserInterface& ui_;
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* new_type_ = nullptr;
};

}  // namespace viamappa
