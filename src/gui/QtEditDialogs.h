// The editing dialogs on Qt: the new-arc form as a window over the map window. The arc attributes are
// not available yet: the person is told so.
#pragma once

#include <QPointer>
#include <QWidget>

#include "edit/NewArcForm.h"
#include "ui/UserInterface.h"

namespace viamappa {

class QtEditDialogs : public EditDialogs {
 public:
  // parent owns the windows shown; ui shows the messages.
  QtEditDialogs(QWidget* parent, UserInterface& ui) : parent_(parent), ui_(ui) {}

  bool AskNewArc(NewArcForm& form) override;
  void OpenArcAttributes(LineFeature& arc) override;

 private:
  QPointer<QWidget> parent_;
  UserInterface& ui_;
};

}  // namespace viamappa
