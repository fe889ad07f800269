// The window of a form described in the core (FormDialog): a modal dialog with every field at its
// place on the character grid, sized from its kind and length. Leaving a date, time or number field
// runs the form's check: a refused date or time keeps the focus, a number is shown reshaped. The
// form keeps the texts; the window shows them and hands over what the person types.
#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "forms/FormDialog.h"
#include "ui/Canvas.h"
#include "ui/UserInterface.h"

namespace viamappa {

class FormDialogView : public QDialog {
  Q_OBJECT
 public:
  // ui shows the messages of the checks.
  FormDialogView(FormDialog& form, UserInterface& ui, QWidget* parent = nullptr);

  // What a button does; without a handler "Ok" (id 1) closes the window accepted once every typed
  // field passes its check, and "Annulla" (id 2) closes it rejected.
  void SetButtonHandler(std::function<void(int id)> handler) { on_button_ = std::move(handler); }
  // Called after a field was left and checked, with its identifier.
  void SetFieldLeftHandler(std::function<void(int id)> handler) { on_field_left_ = std::move(handler); }
  // Draws the samples of the form: the field's rectangle is the canvas.
  void SetSampleDrawer(std::function<void(Canvas&, const FormField&)> drawer) {
    draw_sample_ = std::move(drawer);
  }

  // Runs the check of every typed field, as when each is left; false (focus on the first refused
  // one) when one refuses.
  bool LeaveAllFields();
  // Shows the form's texts again and redraws the samples, after the form changed them.
  void Refresh();

  // The widget of a field, or null.
  QWidget* FieldWidget(int id) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  bool Leave(FormField& field);
  void ButtonPressed(int id);

  FormDialog& form_;
  UserInterface& ui_;
  std::map<int, QWidget*> widgets_;
  std::map<QObject*, FormField*> inputs_;
  std::function<void(int)> on_button_;
  std::function<void(int)> on_field_left_;
  std::function<void(Canvas&, const FormField&)> draw_sample_;
  bool checking_ = false;
};

}  // namespace viamappa
