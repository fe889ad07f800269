#include "geom/Hundredths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "base/NumberText.h"

namespace viamappa {
namespace {

TEST(HundredthsTest, RoundsAsTwoDecimalsWrittenAndReadBack) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> coordinates(-1e7, 1e7);
  for (int i = 0; i < 200000; ++i) {
    // Random values, and values right at a half of a hundredth where the product is inexact.
    const double value =
        i % 2 ? coordinates(random) : (std::floor(coordinates(random)) + 0.005 + (i % 7) * 0.01);
    ASSERT_EQ(RoundToHundredths(value), ParseDecimal(FormatFixed(value, 2)).value()) << FormatShortest(value);
  }
}

}  // namespace
}  // namespace viamappa
