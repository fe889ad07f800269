#include "gui/NewArcDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

// The window binds the form: OK shows the form's refusal and stays, or closes with the values.
TEST(NewArcDialogTest, OkRefusesWithTheFormsMessageThenAcceptsItsValues) {
  ScriptedUserInterface ui;
  NewArcForm form;
  NewArcDialog dialog(form, ui);
  EXPECT_EQ(dialog.class_list()->count(), 6);
  EXPECT_EQ(dialog.name_edit()->maxLength(), 60);
  dialog.name_edit()->setText(QString::fromUtf8("VIA DELLA LIBERTÀ  "));
  dialog.alternative_edit()->setText(QString::fromUtf8("VIA DELLA LIBERTÀ"));
  dialog.ok_button()->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Stop);
  EXPECT_EQ(ui.messages()[0].text.substr(0, 56), "ATTENZIONE: La Classe dell'Arco Stradale non è indicata");

  dialog.class_list()->setCurrentIndex(3);
  dialog.ok_button()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(form.values().denom, "VIA DELLA LIBERTÀ");
  EXPECT_EQ(form.values().alterna, "") << "an alternative equal to the name is dropped";
  EXPECT_EQ(form.values().classe, "SR");
}

}  // namespace
}  // namespace viamappa
