// Loading the municipalities and the localities of a new database, with their boundary rings, from
// polygon shapefiles.
#pragma once

#include <string>

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct AreaImportCounts {
  int found = 0;
  int inserted = 0;
  int rings = 0;
};

enum class AreaKind { Municipalities, Localities };

// Imports the set at base_name; stops without a message when the files cannot be read, shows the
// unusable-file message (stop icon) when the attributes or the shape type do not fit. All rows go into
// one batch.
AreaImportCounts ImportAreas(DbConnection& connection, AreaKind kind, const std::string& base_name,
                             UserInterface& ui);

// The six-character code of a locality's municipality: the number "%07ld" without its first character.
std::string LocalityIstat(long long number);

}  // namespace viamappa
