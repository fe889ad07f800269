// The names of the layers of the map data that the program looks up by name.
#pragma once

#include <string_view>

namespace viamappa {

inline constexpr std::string_view kMunicipalityLayer = "comuni";
inline constexpr std::string_view kMunicipalityLabelLayer = "labcomuni";
inline constexpr std::string_view kLocalityLayer = "local";
inline constexpr std::string_view kBigLocalityLayer = "locbig";
inline constexpr std::string_view kMediumLocalityLayer = "locmedie";
inline constexpr std::string_view kSmallLocalityLayer = "locsmall";
inline constexpr std::string_view kArcLayer = "archi";
inline constexpr std::string_view kStreetNameLayer = "toponvie";
inline constexpr std::string_view kNodeLayer = "nodi";

}  // namespace viamappa
