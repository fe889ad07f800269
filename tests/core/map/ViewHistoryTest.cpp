#include "map/ViewHistory.h"

#include <gtest/gtest.h>

#include "core/map/MapTestViews.h"

namespace viamappa {
namespace {

using test::ViewOf;

TEST(ViewHistoryTest, TheHistoryKeepsTheLastSixtyFourViews) {
  Viewport view = ViewOf(1.0, 0, 0);
  view.EndFullRedraw();
  view.EndFullRedraw();
  EXPECT_EQ(view.history().size(), 1) << "the same view is not recorded twice";
  for (int i = 1; i < 70; ++i) {
    view.CentreOn(1000.0 * i, 0);
    view.EndFullRedraw();
  }
  EXPECT_EQ(view.history().size(), 64);
  for (int i = 0; i < 63; ++i) {
    ASSERT_TRUE(view.PreviousView()) << i;
    view.EndFullRedraw();  // the redraw of a view gone back to is not recorded
  }
  EXPECT_NEAR(view.x0() + 400, 6000, 1e-6) << "the oldest view kept";
  EXPECT_FALSE(view.PreviousView());
}

}  // namespace
}  // namespace viamappa
