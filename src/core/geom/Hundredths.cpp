#include "geom/Hundredths.h"

#include <cmath>

#include "base/NumberText.h"

namespace viamappa {

double RoundToHundredths(double value) {
  if (!std::isfinite(value)) return value;
  const double scaled = value * 100.0;
  const double nearest = std::nearbyint(scaled);
  // Far from a half the inexact product cannot change the rounding; near one, the exact decimal
  // expansion of the double decides, as printf decides it. Beyond 2^50 there are no hundredths left.
  if (std::fabs(scaled) < 1e15 && std::fabs(std::fabs(scaled - std::trunc(scaled)) - 0.5) > 1e-6)
    return nearest / 100.0;
  return ParseDecimal(FormatFixed(value, 2)).value_or(value);
}

}  // namespace viamappa
