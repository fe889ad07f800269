// The list of regional transport company codes that every new database starts with.
#pragma once

#include <string_view>

namespace viamappa {

inline constexpr int kRegionalCompanyCount = 210;

// The name of a company code from 0 to 209 (at most 40 characters); empty for any other code.
std::string_view RegionalCompanyName(int code);

}  // namespace viamappa
