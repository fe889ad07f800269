// The snap-factor dialog on Qt: the field bound to its model. OK hands the text to the model and closes
// only when the model accepts it; otherwise the model's warning is shown and the dialog stays open.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "ui/SnapFactorDialog.h"

class QLineEdit;

namespace viamappa {

class SnapFactorDialogView : public QDialog {
 public:
  // warn shows the model's warning over the dialog.
  SnapFactorDialogView(QWidget* parent, SnapFactorDialog& model,
                       std::function<void(const std::string&)> warn);

  QLineEdit* field() const { return field_; }

  void accept() override;

 private:
  SnapFactorDialog& model_;
  std::function<void(const std::string&)> warn_;
  QLineEdit* field_;
};

}  // namespace viamappa
