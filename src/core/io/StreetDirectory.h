// The street directory derived from the arc names: the distinct street types (the first word of a name)
// and the distinct pairs of type and proper name.
#pragma once

#include <string>
#include <string_view>

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

// The street directory's tables: the street types, and the pairs of type and proper name.
inline constexpr std::string_view kStreetTypeTable = "tipi";
inline constexpr std::string_view kStreetNameTable = "nomi";

// Their fields: the type (in both tables) and the proper name.
namespace street_field {
inline constexpr std::string_view kType = "tipo";
inline constexpr std::string_view kName = "nome";
}  // namespace street_field

struct StreetDirectoryCounts {
  int types = 0;
  int names = 0;
};

struct StreetName {
  std::string type;
  std::string name;
};

// Splits a street name: trailing blanks cut, a-z to upper case, the type before the first blank and the
// name after it (further blanks included). False when there is nothing to record: no blank, a leading
// blank or an empty name.
bool SplitStreetName(std::string_view text, StreetName& out);

// Builds tipi and nomi from the main and the alternative names of the arcs, in order of first
// appearance; rows the database refuses are shown and not counted.
StreetDirectoryCounts BuildStreetDirectory(DbConnection& connection, UserInterface& ui);

}  // namespace viamappa
