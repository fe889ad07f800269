// The tables of the places the queries look up beside the road graph: municipalities, localities and
// the toponyms of the cartography, with the fields the queries read.
#pragma once

#include <string_view>

namespace viamappa {

inline constexpr std::string_view kMunicipalityTable = "comuni";
inline constexpr std::string_view kLocalityTable = "local";
inline constexpr std::string_view kToponymTable = "toponimi";

}  // namespace viamappa
