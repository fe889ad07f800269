// The result of a shortest path on Qt: the length text above the list of stretches, and OK, Annulla and
// Salva. The dialog only shows its model and tells which button closed it.
#pragma once

#include <QDialog>

#include "ui/RouteResultDialog.h"

class QLabel;
class QListWidget;

namespace viamappa {

class RouteResultDialogView : public QDialog {
 public:
  RouteResultDialogView(QWidget* parent, const RouteResultDialog& model);

  // The button that closed the dialog; Annulla for the window's close button and Esc.
  RouteDialogChoice choice() const { return choice_; }

  QLabel* length_label() const { return length_; }
  QListWidget* list() const { return list_; }

 private:
  void CloseWith(RouteDialogChoice choice);

  RouteDialogChoice choice_ = RouteDialogChoice::Cancel;
  QLabel* length_;
  QListWidget* list_;
};

}  // namespace viamappa
