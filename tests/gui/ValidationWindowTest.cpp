#include "gui/ValidationWindow.h"

#include <gtest/gtest.h>

#include <QListView>
#include <QPushButton>

namespace viamappa {
namespace {

GraphValidation TwoFindings() {
  GraphValidation validation;
  validation.findings = {{FindingKind::UnusedNode, true, 7, 0, {500, 500}, Box::Of(500, 500, 500, 500), 0},
                         {FindingKind::Unnamed, false, 3, 0, {1050, 0}, Box::Of(1000, 0, 1100, 0), 0}};
  validation.counts[static_cast<std::size_t>(FindingKind::UnusedNode)] = 1;
  validation.counts[static_cast<std::size_t>(FindingKind::Unnamed)] = 1;
  return validation;
}

// The list and the buttons go through the findings; each one chosen is handed over to be shown.
TEST(ValidationWindowTest, GoesThroughTheFindingsAndShowsEach) {
  std::vector<Box> shown;
  ValidationWindow window(nullptr, ValidationBrowser(TwoFindings()),
                          [&](const Box& box) { shown.push_back(box); });
  EXPECT_FALSE(window.isModal());
  ASSERT_EQ(window.findings()->model()->rowCount(), 2);
  EXPECT_FALSE(window.previous()->isEnabled());
  window.next()->click();
  window.next()->click();
  EXPECT_FALSE(window.next()->isEnabled());
  EXPECT_EQ(window.findings()->currentIndex().row(), 1);
  window.findings()->setCurrentIndex(window.findings()->model()->index(0, 0));
  EXPECT_EQ(shown, (std::vector<Box>{Box::Of(450, 450, 550, 550), Box::Of(990, -60, 1110, 60),
                                     Box::Of(450, 450, 550, 550)}));
  EXPECT_TRUE(window.next()->isEnabled());
}

}  // namespace
}  // namespace viamappa
