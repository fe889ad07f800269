#include "gui/SnapFactorDialogView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "gui/QtUserInterface.h"

namespace viamappa {
namespace {

QStringList Labels(const QWidget& dialog) {
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

// The field shows the model's text; OK hands the typed text over and closes only when the model takes
// it, after showing the model's warning otherwise.
TEST(SnapFactorDialogViewTest, OkClosesOnlyOnATextTheModelTakes) {
  SnapFactorDialog model;
  std::vector<std::string> warnings;
  SnapFactorDialogView view(nullptr, model, [&](const std::string& text) { warnings.push_back(text); });
  EXPECT_EQ(view.windowTitle(), QString::fromUtf8("Fattore di Snap Importazione Grafo Secondario"));
  EXPECT_EQ(view.field()->text(), QStringLiteral("10,00"));
  EXPECT_EQ(
      Labels(view),
      (QStringList{QStringLiteral("Fattore di snap (m.)"),
                   QStringLiteral("Il fattore di snap esprime la soglia di approssimazione spaziale"),
                   QString::fromUtf8("per determinare l'identità o meno degli archi dei grafi primario"),
                   QStringLiteral("e secondario.")}));
  view.field()->setText(QStringLiteral("dieci"));
  view.accept();
  EXPECT_EQ(warnings.size(), 1u);
  EXPECT_NE(view.result(), QDialog::Accepted);
  view.field()->setText(QStringLiteral("4,5"));
  view.accept();
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(model.snap_factor(), 4.5);
}

TEST(SnapFactorDialogViewTest, TheUserInterfaceShowsItModalAndAnswersCancel) {
  QtUserInterface ui(QStringLiteral("Viamappa"));
  SnapFactorDialog model;
  QTimer::singleShot(0, [] {
    auto* view = dynamic_cast<SnapFactorDialogView*>(QApplication::activeModalWidget());
    ASSERT_NE(view, nullptr);
    view->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  EXPECT_FALSE(ui.RunSnapFactorDialog(model));
}

}  // namespace
}  // namespace viamappa
