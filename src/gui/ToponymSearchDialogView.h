// The toponym search dialog on Qt: the fragment, the four context boxes, single arcs or whole streets,
// the municipality filter, "Ricerca", the list of hits and "Ok". Every rule is the model's; the dialog
// shows its state and hands it what the person does.
#pragma once

#include <QDialog>

#include "query/ToponymSearchDialog.h"
#include "ui/UserInterface.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStringListModel;

namespace viamappa {

class ToponymSearchDialogView : public QDialog {
  Q_OBJECT
 public:
  // messages shows the refusals of "Ricerca" and "Ok".
  ToponymSearchDialogView(ToponymSearchDialog& model, UserInterface& messages, QWidget* parent = nullptr);

  QLineEdit* fragment() const { return fragment_; }
  QCheckBox* municipalities_box() const { return municipalities_; }
  QCheckBox* localities_box() const { return localities_; }
  QCheckBox* toponyms_box() const { return toponyms_; }
  QCheckBox* streets_box() const { return streets_; }
  QRadioButton* single_arcs() const { return single_arcs_; }
  QRadioButton* whole_streets() const { return whole_streets_; }
  QComboBox* filter() const { return filter_; }
  QPushButton* search_button() const { return search_; }
  QComboBox* hits() const { return hits_; }
  QPushButton* ok_button() const { return ok_; }

  // "Ricerca": the controls go to the model, which searches; its hits fill the list.
  void Search();
  // "Ok": the chosen hit goes to the model; the dialog closes only when it names a hit.
  void accept() override;

 private:
  // Hands the state of the controls to the model.
  void TakeControls();

  ToponymSearchDialog& model_;
  UserInterface& messages_;
  QLineEdit* fragment_ = nullptr;
  QCheckBox* municipalities_ = nullptr;
  QCheckBox* localities_ = nullptr;
  QCheckBox* toponyms_ = nullptr;
  QCheckBox* streets_ = nullptr;
  QRadioButton* single_arcs_ = nullptr;
  QRadioButton* whole_streets_ = nullptr;
  QComboBox* filter_ = nullptr;
  QPushButton* search_ = nullptr;
  QComboBox* hits_ = nullptr;
  QStringListModel* hit_lines_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace viamappa
