#include "map/BackgroundTheme.h"

#include <algorithm>

namespace viamappa {

namespace {

template <typename Entry>
const Entry* FindByCode(const std::vector<Entry>& sorted, std::string_view code) {
  const auto at = std::lower_bound(sorted.begin(), sorted.end(), code,
                                   [](const Entry& entry, std::string_view key) { return entry.code < key; });
  return at != sorted.end() && at->code == code ? &*at : nullptr;
}

}  // namespace

bool ThemeVisibleAt(std::int32_t minimum, std::int32_t maximum, std::int32_t denominator) {
  return (minimum == -1 || denominator >= minimum) && (maximum == -1 || denominator <= maximum);
}

bool TileVisibleAt(std::int32_t minimum, std::int32_t maximum, std::int32_t denominator) {
  if (minimum >= 0 && denominator <= minimum) return false;
  if (maximum != -1 && denominator >= maximum) return false;
  return true;
}

const BackgroundTheme* FindTheme(const std::vector<BackgroundTheme>& sorted, std::string_view code) {
  return FindByCode(sorted, code);
}

const BackgroundTextStyle* FindTextStyle(const std::vector<BackgroundTextStyle>& sorted,
                                         std::string_view code) {
  return FindByCode(sorted, code);
}

}  // namespace viamappa
