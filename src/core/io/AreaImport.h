// Loading the municipalities and the localities of a new database, with their boundary rings, from
// polygon shapefiles.
#pragma once

#include <string>

#include "db/DbConnection.h"
#include "io/ImportReport.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct AreaImportCounts {
  int found = 0;
  int inserted = 0;
  int rings = 0;
  ImportReport report;
};

enum class AreaKind { Municipalities, Localities };

// Imports the set at base_name in one batch: everything it counts is stored, or nothing is
// (report.failed(), after the reason was shown: a file that cannot be read whole, attributes or a shape
// type that do not fit, a failure of the database beyond one record). An area is stored with all its
// rings or not at all; a record the database refuses is counted and the first one named; records without
// geometry and records marked deleted are counted and left out.
AreaImportCounts ImportAreas(DbConnection& connection, AreaKind kind, const std::string& base_name,
                             UserInterface& ui);

// The six-character code of a locality's municipality: the number "%07ld" without its first character.
std::string LocalityIstat(long long number);

}  // namespace viamappa
