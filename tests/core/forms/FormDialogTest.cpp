#include "forms/FormDialog.h"

#include <gtest/gtest.h>

#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

// Each kind of field is checked or reshaped by its own rule when it is left.
TEST(FormDialogTest, LeavingAFieldChecksOrReshapesIt) {
  FormDialog form("Prova");
  FormField* date = form.AddDate("DATA", 1, kNewLine);
  FormField* time = form.AddTime("ORA", 2, kNewLine);
  FormField* number = form.AddNumber("N", {5, 2}, 3, kNewLine);
  FormField* text = form.AddText("T", 10, 4, kNewLine);
  text->upper_case = true;
  const struct {
    FormField* field;
    const char *typed, *left;
    bool accepted;
  } cases[] = {{date, "5/3/24", "05/03/2024", true},
               {date, "31/04/2001", "31/04/2001", false},
               {time, "8:5", "08.05", true},
               {number, "12,5", "00012,50", true},
               {text, "via università", "VIA UNIVERSITÀ", true}};
  for (const auto& c : cases) {
    ScriptedUserInterface ui;
    c.field->text = c.typed;
    EXPECT_EQ(form.LeaveField(*c.field, ui), c.accepted) << c.typed;
    EXPECT_EQ(c.field->text, c.left);
    EXPECT_EQ(ui.messages().size(), c.accepted ? 0u : 1u) << c.typed;
  }
}

}  // namespace
}  // namespace viamappa
