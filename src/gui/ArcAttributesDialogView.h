// "Caratteristiche Arco Stradale" as a window over its model: the identifier, the codes and the names
// as first imported shown greyed, the name and the alternative (60 characters at most) and the road
// class to choose. OK hands the values to the model and closes only when it accepts them (its messages
// and questions show meanwhile, and a name it corrected is shown corrected); "Elimina", enabled only
// when the arc can be deleted, closes once the model's question is answered Yes; "Annulla", Esc and the
// window's close button close without anything.
#pragma once

#include <QDialog>

#include "edit/ArcAttributesDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace viamappa {

class ArcAttributesDialogView : public QDialog {
  Q_OBJECT
 public:
  ArcAttributesDialogView(ArcAttributesDialog& model, QWidget* parent = nullptr);

  // Shows the window modally until it is closed.
  ArcDialogClose Run();

  QLineEdit* id_edit() const { return id_; }
  QLineEdit* element_code_edit() const { return element_code_; }
  QLineEdit* region_code_edit() const { return region_code_; }
  QLineEdit* name_edit() const { return name_; }
  QLineEdit* first_name_edit() const { return first_name_; }
  QLineEdit* alternative_edit() const { return alternative_; }
  QLineEdit* first_alternative_edit() const { return first_alternative_; }
  QComboBox* class_list() const { return classes_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* delete_button() const { return delete_; }
  QPushButton* cancel_button() const { return cancel_; }

 private:
  void Confirm();
  void AskDeletion();

  ArcAttributesDialog& model_;
  QLineEdit* id_ = nullptr;
  QLineEdit* element_code_ = nullptr;
  QLineEdit* region_code_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* first_name_ = nullptr;
  QLineEdit* alternative_ = nullptr;
  QLineEdit* first_alternative_ = nullptr;
  QComboBox* classes_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace viamappa
