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

TEST(FormDialogTest, LayoutSizesFieldsAndCentresButtons) {
  FormDialog form("Prova");
  FormField* label = form.AddLabel("Tematismo", 20, 1, kNewLine);
  FormField* sample = form.AddDrawn(FieldKind::LineSample, "LINEA", 10, 2, kNextColumn);
  FormField* symbol = form.AddDrawn(FieldKind::SymbolSample, "SIMBOLO", 10, 3, kNextColumn);
  FormField* ok = form.AddButton("Ok", 8, 4, kNewLine);
  FormField* cancel = form.AddButton("Annulla", 8, 5, kNextColumn);
  form.Layout(16);
  // Side by side on one row, in column order.
  EXPECT_EQ(label->y, sample->y);
  EXPECT_LT(label->x + label->width, sample->x);
  EXPECT_LT(sample->x + sample->width, symbol->x);
  EXPECT_LE(symbol->x + symbol->width, form.width());
  // The buttons under the tallest field, five pixels apart, centred.
  EXPECT_GE(ok->y, symbol->y + symbol->height);
  EXPECT_EQ(cancel->x, ok->x + ok->width + 5);
  const int total = ok->width + 5 + cancel->width;
  EXPECT_EQ(ok->x, (form.width() - total) / 2);
  EXPECT_GE(form.height(), ok->y + ok->height);
}

TEST(FormDialogTest, LeavingAFieldChecksOrReshapesIt) {
  FormDialog form("Prova");
  FormField& date = *form.AddDate("DATA", 1, kNewLine);
  FormField& time = *form.AddTime("ORA", 2, kNewLine);
  FormField& number = *form.AddNumber("N", {5, 2}, 3, kNewLine);
  FormField& text = *form.AddText("T", 10, 4, kNewLine);
  text.upper_case = true;
  ScriptedUserInterface ui;
  date.text = "5/3/24";
  EXPECT_TRUE(form.LeaveField(date, ui));
  EXPECT_EQ(date.text, "05/03/2024");
  date.text = "31/04/2001";
  EXPECT_FALSE(form.LeaveField(date, ui));
  EXPECT_EQ(date.text, "31/04/2001");
  time.text = "8:5";
  EXPECT_TRUE(form.LeaveField(time, ui));
  EXPECT_EQ(time.text, "08.05");
  number.text = "12,5";
  EXPECT_TRUE(form.LeaveField(number, ui));
  EXPECT_EQ(number.text, "00012,50");
  text.text = "via università";
  EXPECT_TRUE(form.LeaveField(text, ui));
  EXPECT_EQ(text.text, "VIA UNIVERSITÀ");
  EXPECT_EQ(ui.messages().size(), 1u);
}

}  // namespace
}  // namespace viamappa
