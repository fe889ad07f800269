// Rounding coordinates to hundredths, as "%1.2lf" written and read back would round them.
#pragma once

namespace viamappa {

// The double nearest to the value written with two decimals (exact decimal rounding of the double,
// halves to even as printf does), without going through text on the common path.
double RoundToHundredths(double value);

}  // namespace viamappa
