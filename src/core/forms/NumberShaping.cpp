#include "forms/NumberShaping.h"

#include <algorithm>

namespace viamappa {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsSign(char c) {
  return c == '+' || c == '-';
}

// Whether c ends the integer part: with grouping a point is a grouping mark, only the comma ends it.
bool IsDecimalSeparator(char c, const NumberLayout& layout) {
  return c == ',' || (c == '.' && !layout.group_thousands);
}

}  // namespace

void FormatNumber(std::string& text, const NumberLayout& layout) {
  if (std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; })) return;
  std::string_view rest(text);
  rest.remove_prefix(rest.find_first_not_of(' '));
  char sign = '+';
  // A sign the shaping itself put at the end is read back, so that leaving the field twice keeps it.
  if (layout.sign_at_end) {
    const std::size_t last = rest.find_last_not_of(' ');
    if (IsSign(rest[last])) {
      sign = rest[last];
      rest = rest.substr(0, last);
    }
  }
  std::size_t i = 0;
  for (; i < rest.size() && IsSign(rest[i]); ++i) sign = rest[i];
  std::string integer;
  for (; i < rest.size() && !IsDecimalSeparator(rest[i], layout); ++i)
    if (!(layout.group_thousands && rest[i] == '.')) integer += rest[i];
  const std::string_view fraction = i < rest.size() ? rest.substr(i + 1) : std::string_view();

  const auto digits = static_cast<std::size_t>(std::max(0, layout.integer_digits));
  if (integer.size() < digits) {
    integer.insert(0, digits - integer.size(), '0');
  } else {
    integer.erase(0, integer.size() - digits);
  }
  if (layout.group_thousands) {
    for (std::size_t at = integer.size(); at > 3; at -= 3) integer.insert(at - 3, 1, '.');
  }
  if (layout.blank_leading_zeros) {
    for (char& c : integer) {
      if (c != '0' && c != '.') break;
      c = ' ';
    }
  }
  std::string result = std::move(integer);
  if (layout.decimals > 0) {
    const auto count = static_cast<std::size_t>(layout.decimals);
    std::string decimals(fraction.substr(0, count));
    decimals.resize(count, '0');
    result += ',';
    result += decimals;
  }
  if (layout.sign_at_end) result += sign;
  text = std::move(result);
}

bool NumberFieldAccepts(std::string_view text, const NumberLayout& layout) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool signed_ = false;
  if (i < text.size() && IsSign(text[i])) {
    if (!layout.sign_at_end) return false;
    signed_ = true;
    ++i;
  }
  int significant = 0;
  for (; i < text.size() && (IsDigit(text[i]) || (layout.group_thousands && text[i] == '.')); ++i) {
    if (text[i] == '.') continue;
    if (significant > 0 || text[i] != '0') ++significant;
  }
  if (significant > layout.integer_digits) return false;
  if (i < text.size() && IsDecimalSeparator(text[i], layout)) {
    if (layout.decimals <= 0) return false;
    int decimals = 0;
    for (++i; i < text.size() && IsDigit(text[i]); ++i) ++decimals;
    if (decimals > layout.decimals) return false;
  }
  if (i < text.size() && IsSign(text[i]) && layout.sign_at_end && !signed_) ++i;
  return i == text.size();
}

int NumberFieldLength(const NumberLayout& layout) {
  const int points =
      layout.group_thousands && layout.integer_digits > 0 ? (layout.integer_digits - 1) / 3 : 0;
  return layout.integer_digits + points + (layout.decimals > 0 ? layout.decimals + 1 : 0) +
         (layout.sign_at_end ? 1 : 0) + 1;
}

}  // namespace viamappa
