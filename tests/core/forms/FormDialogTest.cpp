#include "forms/FormDialog.h"

#include <gtest/gtest.h>

#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

TEST(FormDialogTest, FieldsTakeTheirPlaceOnTheGrid) {
  FormDialog form("Prova");
  EXPECT_EQ(form.AddLabel("", 10, 1, kNewLine), nullptr);  // nothing without a label
  const FormField* a = form.AddLabel("Soglia Minima", 15, 1, kNewLine);
  const FormField* b = form.AddNumber("SOGMIN", {8, 0}, 2, kNextColumn);
  const FormField* c = form.AddLabel("Effetto", 15, 3, 4);
  const FormField* d = form.AddText("DESC", 80, 4, kNextColumn);
  const FormField* e = form.AddDate("DATA", 5, kNewLine);
  const FormField* f = form.AddTime("ORA", 6, kNextColumn);
  ASSERT_EQ(form.fields().size(), 6u);
  const struct {
    const FormField* field;
    int column, row, length;
  } expected[] = {{a, 5, 0, 15}, {b, 6, 0, 9}, {c, 5, 1, 15}, {d, 6, 1, 60}, {e, 5, 2, 10}, {f, 6, 2, 5}};
  for (const auto& x : expected) {
    EXPECT_EQ(x.field->column, x.column) << x.field->label;
    EXPECT_EQ(x.field->row, x.row) << x.field->label;
    EXPECT_EQ(x.field->length, x.length) << x.field->label;
  }
  EXPECT_EQ(form.input_count(), 4);
  EXPECT_EQ(form.Find(4), d);
  EXPECT_EQ(form.Find(99), nullptr);
}

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
