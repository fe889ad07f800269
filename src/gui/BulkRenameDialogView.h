// The renaming dialog on Qt ("Modifica Toponimi Archi Stradali"): its widgets bound to the model.
// "Ricerca" and "Ok" run the model's search and rename while the dialog stays open; "Fine" and
// "Annulla" close it.
#pragma once

#include <QDialog>

#include "edit/BulkRenameDialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace viamappa {

class BulkRenameDialogView : public QDialog {
 public:
  BulkRenameDialogView(QWidget* parent, BulkRenameDialog& model);

  QRadioButton* main_name() const { return main_name_; }
  QRadioButton* alternative_name() const { return alternative_name_; }
  QLineEdit* fragment() const { return fragment_; }
  QComboBox* localities() const { return localities_; }
  QComboBox* municipalities() const { return municipalities_; }
  QPushButton* search() const { return search_; }
  QListWidget* names() const { return names_; }
  QLineEdit* new_name() const { return new_name_; }
  QPushButton* ok() const { return ok_; }
  QPushButton* cancel() const { return cancel_; }
  QPushButton* close_button() const { return close_; }

 private:
  // Shows the model's state in the widgets.
  void Refresh();

  BulkRenameDialog& model_;
  QRadioButton* main_name_;
  QRadioButton* alternative_name_;
  QLineEdit* fragment_;
  QComboBox* localities_;
  QComboBox* municipalities_;
  QPushButton* search_;
  QListWidget* names_;
  QLineEdit* new_name_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* close_;
};

}  // namespace viamappa
