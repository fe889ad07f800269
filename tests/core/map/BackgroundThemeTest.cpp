#include "map/BackgroundTheme.h"

#include <gtest/gtest.h>

namespace viamappa {
namespace {

// Themes count their bounds in; tiles and rasters leave them out, and a negative minimum is none.
TEST(BackgroundThemeTest, VisibilityBounds) {
  const struct {
    std::int32_t minimum, maximum, denominator;
    bool theme, tile;
  } kCases[] = {{50000, -1, 49999, false, false},
                {50000, -1, 50000, true, false},
                {50000, -1, 50001, true, true},
                {-1, 1000000, 999999, true, true},
                {-1, 1000000, 1000000, true, false},
                {-1, 1000000, 1000001, false, false},
                {-1, -1, 1, true, true},
                {-2, -1, 1, true, true},  // the tiles' -2: no minimum
                {0, -1, 1, true, true},
                {-1, 0, 1, false, false}};
  for (const auto& c : kCases) {
    EXPECT_EQ(ThemeVisibleAt(c.minimum, c.maximum, c.denominator), c.theme)
        << c.minimum << " " << c.maximum << " " << c.denominator;
    EXPECT_EQ(TileVisibleAt(c.minimum, c.maximum, c.denominator), c.tile)
        << c.minimum << " " << c.maximum << " " << c.denominator;
  }
}

}  // namespace
}  // namespace viamappa
