// The form of a newly drawn arc as a window: "Caratteristiche Arco Stradale" with the identifier shown
// as 999999, the name, the alternative name and the road class; OK runs the form's checks and shows
// their message, staying open until they pass. A view of NewArcForm.
#pragma once

#include <QDialog>

#include "edit/NewArcForm.h"
#include "ui/UserInterface.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace viamappa {

class NewArcDialog : public QDialog {
  Q_OBJECT
 public:
  // form receives the values; ui shows the refusals of OK.
  NewArcDialog(NewArcForm& form, UserInterface& ui, QWidget* parent = nullptr);

  QLineEdit* name_edit() const { return name_; }
  QLineEdit* alternative_edit() const { return alternative_; }
  QComboBox* class_list() const { return classes_; }
  QPushButton* ok_button() const { return ok_; }

 private:
  void Confirm();

  NewArcForm& form_;
  UserInterface& ui_;
  QLineEdit* name_ = nullptr;
  QLineEdit* alternative_ = nullptr;
  QComboBox* classes_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace viamappa
