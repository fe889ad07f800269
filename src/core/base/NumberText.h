// Numbers as text, independent of the process locale: the decimal separator of data is never taken
// from the environment.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace viamappa {

// Parses a decimal number: optional blanks, an optional sign, digits with at most one decimal
// separator (comma or point), an optional exponent, optional blanks. No grouping, no "inf" or "nan".
// The result is the correctly rounded double; nullopt when the text is not such a number or its
// value does not fit a double.
std::optional<double> ParseDecimal(std::string_view text);

// Formats like printf "%.*f" in the C locale, with a point.
std::string FormatFixed(double value, int decimals);

// Formats like printf "%0<width>.<decimals>f" in the C locale (sign first, then zeros), then puts the
// given separator in place of the point.
std::string FormatFixedZeroPadded(double value, int width, int decimals, char separator);

// Shortest text that reads back as the same double, with a point ("0.1", "1e-09").
std::string FormatShortest(double value);

std::string FormatInteger(std::int64_t value);

}  // namespace viamappa
