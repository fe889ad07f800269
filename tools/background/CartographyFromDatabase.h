// A vector cartography file from the municipality and locality tables of a database: their areas,
// the municipal boundaries as dashed lines, a point at each locality, and the names as texts, in
// tiles of a grid over the data, every theme and tile visible at every scale.
#pragma once

#include <string>

#include "background/BackgroundWriter.h"
#include "db/DbConnection.h"

namespace viamappa::background {

struct CartographySummary {
  int municipalities = 0;
  int localities = 0;
  int tiles = 0;
};

// The theme and text-style codes the file defines.
inline constexpr const char* kMunicipalityTheme = "COMUNI";
inline constexpr const char* kBoundaryTheme = "CONFINI";
inline constexpr const char* kLocalityTheme = "LOCALITA";
inline constexpr const char* kLocalityPointTheme = "CENTRI";
inline constexpr const char* kMunicipalityNameStyle = "NOMICOM";
inline constexpr const char* kLocalityNameStyle = "NOMILOC";

// Writes path from the open database. packed and wide as the file's 'C' and 'X' flags (the packed
// origin is the data's lower-left corner). False with the reason in error when the tables hold no
// area or the file cannot be written.
bool WriteCartographyFromDatabase(DbConnection& connection, const std::string& path, bool packed, bool wide,
                                  CartographySummary& summary, std::string& error);

}  // namespace viamappa::background
