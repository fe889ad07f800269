#include "gui/ValidationWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
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

// The counts and the list show the findings as the browser words them; the buttons and the list go
// through them, each one chosen handed over to be shown.
TEST(ValidationWindowTest, GoesThroughTheFindingsAndShowsEach) {
  std::vector<Box> shown;
  ValidationWindow window(nullptr, ValidationBrowser(TwoFindings()),
                          [&](const Box& box) { shown.push_back(box); });
  EXPECT_FALSE(window.isModal());
  EXPECT_TRUE(window.counts()->text().contains(QStringLiteral("Nodi non usati da nessun arco: 1\n")));
  ASSERT_EQ(window.findings()->model()->rowCount(), 2);
  EXPECT_EQ(window.findings()->model()->index(0, 0).data().toString(),
            QStringLiteral("Nodo 7: non usato da nessun arco in 500,00 500,00"));
  EXPECT_FALSE(window.previous()->isEnabled());
  window.next()->click();
  window.next()->click();
  EXPECT_FALSE(window.next()->isEnabled());
  window.previous()->click();
  EXPECT_EQ(window.findings()->currentIndex().row(), 0);
  EXPECT_TRUE(window.next()->isEnabled());
  window.findings()->setCurrentIndex(window.findings()->model()->index(1, 0));
  const Box node = Box::Of(450, 450, 550, 550), arc = Box::Of(990, -60, 1110, 60);
  EXPECT_EQ(shown, (std::vector<Box>{node, arc, node, arc}));
}

}  // namespace
}  // namespace viamappa
