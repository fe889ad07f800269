#include "base/NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace viamappa {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  if (begin == end || end - begin > 400) return std::nullopt;

  // Validate the shape ourselves, then hand a point-separated copy to from_chars.
  char buffer[416];
  std::size_t n = 0;
  std::size_t i = begin;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  std::size_t digits = 0;
  while (i < end && IsDigit(text[i])) buffer[n++] = text[i++], ++digits;
  if (i < end && (text[i] == ',' || text[i] == '.')) {
    buffer[n++] = '.';
    ++i;
    while (i < end && IsDigit(text[i])) buffer[n++] = text[i++], ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    buffer[n++] = 'e';
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) buffer[n++] = text[i++];
    std::size_t exponent_digits = 0;
    while (i < end && IsDigit(text[i])) buffer[n++] = text[i++], ++exponent_digits;
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != end) return std::nullopt;

  double value = 0;
  const auto [ptr, ec] = std::from_chars(buffer, buffer + n, value);
  if (ec != std::errc() || ptr != buffer + n || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::string FormatFixed(double value, int decimals) {
  char buffer[512];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return {};
  return std::string(buffer, result.ptr);
}

std::string FormatFixedZeroPadded(double value, int width, int decimals, char separator) {
  std::string text = FormatFixed(value, decimals);
  if (std::isfinite(value)) {
    const std::size_t sign = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (text.size() < static_cast<std::size_t>(width)) text.insert(sign, width - text.size(), '0');
    for (char& c : text) {
      if (c == '.') c = separator;
    }
  } else if (text.size() < static_cast<std::size_t>(width)) {
    text.insert(0, width - text.size(), ' ');
  }
  return text;
}

std::string FormatShortest(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string FormatInteger(std::int64_t value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace viamappa
