#include "gui/PlaceholderWindow.h"

#include <gtest/gtest.h>

#include <QLabel>

namespace viamappa {
namespace {

TEST(PlaceholderWindowTest, SaysTheProgramIsBeingBuiltAndNamesTheEngine) {
  PlaceholderWindow window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("VIAMAPPA"));
  const auto* label = qobject_cast<QLabel*>(window.centralWidget());
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->text().contains(QStringLiteral("in costruzione")));
  EXPECT_TRUE(label->text().contains(QStringLiteral("SQLite")));
}

}  // namespace
}  // namespace viamappa
