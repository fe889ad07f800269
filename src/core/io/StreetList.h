// The street list: the street names of one municipality with their localities, of one locality, or of
// the whole graph by municipality and locality, written as a tab-separated Windows-1252 text file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

// What the street list covers. The municipality wins when both are chosen; neither means everything.
// A name is the text shown in the heading ("- Alfa").
struct StreetListChoice {
  bool by_municipality = false;
  std::int32_t municipality = -1;
  std::string municipality_name;
  bool by_locality = false;
  std::int32_t locality = -1;
  std::string locality_name;

  bool operator==(const StreetListChoice&) const = default;
};

// Writes the list at path: a heading, then one line per distinct row, each line ended by CR LF. The
// number of rows written (the heading not counted); nullopt after showing "Impossibile creare" with the
// path when the file cannot be written whole, in which case a file it was to replace stays as it was.
std::optional<std::int64_t> WriteStreetList(DbConnection& connection, const StreetListChoice& choice,
                                            const std::string& path, UserInterface& ui);

}  // namespace viamappa
