// The street-list dialog on Qt: two groups, each a check box over an editable drop-down list, with OK
// and "Annulla". Every rule is the model's; the dialog shows its state and hands it what the person
// does.
#pragma once

#include <QDialog>

#include "app/StreetListDialogModel.h"
#include "ui/UserInterface.h"

class QCheckBox;
class QComboBox;

namespace viamappa {

class StreetListDialog : public QDialog {
  Q_OBJECT
 public:
  // messages shows the refusal of OK.
  StreetListDialog(StreetListDialogModel& model, UserInterface& messages, QWidget* parent = nullptr);

  QCheckBox* municipality_box() const { return municipality_box_; }
  QComboBox* municipality_list() const { return municipality_list_; }
  QCheckBox* locality_box() const { return locality_box_; }
  QComboBox* locality_list() const { return locality_list_; }

  // OK: the lists' texts go to the model; the dialog closes only when the model accepts them.
  void accept() override;

 private:
  // Brings the check boxes and lists up to date with the model.
  void ShowModel();

  StreetListDialogModel& model_;
  UserInterface& messages_;
  QCheckBox* municipality_box_ = nullptr;
  QComboBox* municipality_list_ = nullptr;
  QCheckBox* locality_box_ = nullptr;
  QComboBox* locality_list_ = nullptr;
};

}  // namespace viamappa
