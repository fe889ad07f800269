// Writing what a conflation decided: the new nodes, the cut primary arcs with the pieces cut off them,
// and the secondary arcs that the primary graph lacked.
#pragma once

#include <string>

#include "db/DbConnection.h"
#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"

namespace viamappa::conflation {

// Rows written, by kind.
struct WrittenRows {
  int modified = 0;        // primary arcs cut
  int from_primary = 0;    // pieces cut off primary arcs
  int from_secondary = 0;  // secondary arcs inserted
  int nodes = 0;
};

// Phases 12 to 15, inside the caller's batch. today is the date of the new and changed arcs
// ("dd/mm/yyyy"). Stops at the first row the database refuses (the access layer has shown why) and
// answers false: the caller then undoes the batch.
bool WriteConflation(DbConnection& connection, ConflationState& state, const std::string& today,
                     ProgressDisplay& progress, WrittenRows& written);

}  // namespace viamappa::conflation
