// The highlight criteria dialog on Qt: the class boxes in "Classi", the state boxes in "Stato", the
// indicator "Nessuna Selezione", OK and "Annulla". Each click goes to the model and every box is shown
// again from its flags.
#pragma once

#include <QDialog>
#include <map>

#include "query/HighlightCriteriaDialog.h"

class QCheckBox;

namespace viamappa {

class HighlightCriteriaDialogView : public QDialog {
  Q_OBJECT
 public:
  explicit HighlightCriteriaDialogView(HighlightCriteriaDialog& model, QWidget* parent = nullptr);

  // The box of a control id of the dialog (a criterion or the indicator), or null.
  QCheckBox* Box(int control) const;

 private:
  // Brings every box up to date with the model's flags.
  void ShowModel();

  HighlightCriteriaDialog& model_;
  std::map<HighlightCriterion, QCheckBox*> boxes_;
  QCheckBox* none_ = nullptr;
};

}  // namespace viamappa
