// The styling window on the screen: its place in the main window, its list, buttons and dialogs.
#include "gui/StylingWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "MainFrameOverDatabase.h"
#include "gui/FormDialogView.h"
#include "gui/MapView.h"
#include "gui/StyleDialogs.h"
#include "map/CommandIds.h"
#include "map/LayerNames.h"
#include "map/ThresholdForm.h"
#include "support/ModalDialogs.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa {
namespace {

using testing::WhenModalOpens;

class StylingInMainFrameTest : public testing::MainFrameOverDatabaseTest {
 protected:
  StylingInMainFrameTest() { Start(); }
};

TEST_F(StylingInMainFrameTest, CtrlVPutsTheWindowInTheMapsPlaceAndChiudiAppliesIt) {
  EXPECT_FALSE(frame_->Status(cmd::kThematicStyling).enabled) << "no map window yet";
  MapView* view = ShowMap();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(frame_->Status(cmd::kThematicStyling).enabled);

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
  StylingWindow* styling = frame_->styling_window();
  ASSERT_NE(styling, nullptr);
  EXPECT_TRUE(styling->isVisible());
  EXPECT_FALSE(view->isVisible());
  // Asked again, the open window stays the one.
  frame_->ExecuteCommand(cmd::kThematicStyling);
  EXPECT_EQ(frame_->styling_window(), styling);

  // A double click in the visibility column of the second row (the localities) hides them; the arcs
  // get another colour.
  QTest::mouseDClick(styling->list(), Qt::LeftButton, {}, QPoint(10, 20 + 36 + 10));
  EXPECT_FALSE(styling->model().records()[1].style.visible);
  for (StyleRecord& record : styling->model().records())
    if (record.name == kArcLayer) record.style.line_colour = 0x00AA00;
  const int redraws = view->full_redraw_count();

  QTest::mouseClick(styling->Button(kStyleCloseCommand), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(frame_->styling_window(), nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_GT(view->full_redraw_count(), redraws);
  EXPECT_FALSE(frame_->map_data()->FindLayer(kLocalityLayer)->style().visible);
  EXPECT_EQ(frame_->map_data()->FindLayer(kArcLayer)->style().line_colour, 0x00AA00u);
  EXPECT_EQ(frame_->settings().styling.col_archi, 0x00AA00) << "kept in the settings";
}

TEST_F(StylingInMainFrameTest, DroppingTheMapClosesTheWindowUnapplied) {
  ASSERT_NE(ShowMap(), nullptr);
  frame_->ExecuteCommand(cmd::kThematicStyling);
  ASSERT_NE(frame_->styling_window(), nullptr);
  frame_->styling_window()->model().records()[0].style.line_width = 9;
  ui_.QueueAnswer(true);
  frame_->ExecuteCommand(cmd::kDisconnectDatabase);
  QApplication::processEvents();
  EXPECT_EQ(frame_->styling_window(), nullptr);
  EXPECT_EQ(frame_->settings().styling, MapStyling());
}

TEST(StylingWindowTest, TheListAndTheButtonsActOnTheSelectedRecord) {
  ScriptedUserInterface ui;
  StylingWindow window(StylingWindowModel(MapStyling(), nullptr), ui);
  window.resize(800, 600);
  window.show();
  // Clicks and keys select; "Seleziona" shows or hides the selected layer.
  QTest::mouseClick(window.list(), Qt::LeftButton, {}, QPoint(300, 20 + 2 * 36 + 5));
  EXPECT_EQ(window.model().selected(), 2);
  QTest::keyClick(window.list(), Qt::Key_Down);
  EXPECT_EQ(window.model().selected(), 3);
  QTest::mouseClick(window.Button(kStyleSelectCommand), Qt::LeftButton);
  EXPECT_FALSE(window.model().records()[3].style.visible);

  // "Max Min" opens the threshold form over the selected record; "Ok" with a pair in order stores it.
  WhenModalOpens([](QWidget* modal) {
    auto* form = qobject_cast<FormDialogView*>(modal);
    ASSERT_NE(form, nullptr);
    auto* minimum = qobject_cast<QLineEdit*>(form->FieldWidget(ThresholdForm::kMinimumField));
    auto* maximum = qobject_cast<QLineEdit*>(form->FieldWidget(ThresholdForm::kMaximumField));
    ASSERT_NE(minimum, nullptr);
    minimum->setFocus();
    QTest::keyClicks(minimum, "1234567890");  // the ninth and tenth digits are not taken
    EXPECT_EQ(minimum->text(), QStringLiteral("12345678"));
    QTest::keyClick(minimum, Qt::Key_Backspace);
    EXPECT_EQ(maximum->text(), QStringLiteral("100000"));  // the arcs' maximum
    maximum->clear();
    QTest::keyClicks(maximum, "x99999999");
    EXPECT_EQ(maximum->text(), QStringLiteral("99999999"));
    QTest::mouseClick(form->FieldWidget(kFormOk), Qt::LeftButton);
  });
  QTest::mouseClick(window.Button(kStyleThresholdsCommand), Qt::LeftButton);
  EXPECT_EQ(window.model().records()[3].style.minimum, 1234567);
  EXPECT_EQ(window.model().records()[3].style.maximum, 99999999);
}

TEST(FormDialogViewTest, LeavingFieldsChecksThemAndARefusedDateKeepsTheFocus) {
  FormDialog form("Prova");
  FormField* number = form.AddNumber("N", {5, 2, false, true}, 10, kNewLine);
  FormField* date = form.AddDate("D", 11, kNewLine);
  form.AddButton("Ok", 8, 1, kNewLine);
  ScriptedUserInterface ui;
  FormDialogView view(form, ui);
  view.show();
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  auto* number_edit = qobject_cast<QLineEdit*>(view.FieldWidget(10));
  auto* date_edit = qobject_cast<QLineEdit*>(view.FieldWidget(11));
  number_edit->setFocus();
  QTest::keyClicks(number_edit, "12,5");
  QTest::keyClick(number_edit, Qt::Key_Tab);
  EXPECT_EQ(number_edit->text(), QStringLiteral("   12,50"));
  EXPECT_EQ(number->text, "   12,50");
  EXPECT_TRUE(date_edit->hasFocus());
  QTest::keyClicks(date_edit, "31/04/2001");
  QTest::keyClick(date_edit, Qt::Key_Backtab);
  QApplication::processEvents();
  EXPECT_EQ(ui.messages().size(), 1u) << "the date is refused";
  EXPECT_TRUE(date_edit->hasFocus());
  EXPECT_EQ(date->text, "31/04/2001");
  // "Ok" does not close the form while the date is refused.
  QTest::mouseClick(view.FieldWidget(1), Qt::LeftButton);
  EXPECT_TRUE(view.isVisible());
  date_edit->setText(QStringLiteral("5/3/24"));
  date->text = "5/3/24";
  QTest::mouseClick(view.FieldWidget(1), Qt::LeftButton);
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(date->text, "05/03/2024");
}

TEST(SymbolChooserDialogTest, ADoubleClickTakesTheSymbolUnderIt) {
  SymbolChooserDialog chooser(1);
  chooser.show();
  EXPECT_EQ(chooser.chooser().selected(), 1);
  // The third cell of the second row shown: symbol 24 + 2.
  QTest::mouseDClick(chooser.grid(), Qt::LeftButton, {}, QPoint(2 * 36 + 18, 36 + 18));
  EXPECT_EQ(chooser.taken(), 26);
  EXPECT_EQ(chooser.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace viamappa
