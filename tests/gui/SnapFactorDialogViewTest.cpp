#include "gui/SnapFactorDialogView.h"

#include <gtest/gtest.h>

#include <QLineEdit>

namespace viamappa {
namespace {

// The field shows the model's text; OK hands the typed text over and closes only when the model takes
// it, after showing the model's warning otherwise.
TEST(SnapFactorDialogViewTest, OkClosesOnlyOnATextTheModelTakes) {
  SnapFactorDialog model;
  std::vector<std::string> warnings;
  SnapFactorDialogView view(nullptr, model, [&](const std::string& text) { warnings.push_back(text); });
  EXPECT_EQ(view.field()->text(), QStringLiteral("10,00"));
  view.field()->setText(QStringLiteral("dieci"));
  view.accept();
  EXPECT_EQ(warnings.size(), 1u);
  EXPECT_NE(view.result(), QDialog::Accepted);
  view.field()->setText(QStringLiteral("4,5"));
  view.accept();
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(model.snap_factor(), 4.5);
}

}  // namespace
}  // namespace viamappa
