// Conflating a secondary road graph into the primary one: the secondary arcs that the primary graph
// lacks are inserted and connected, their ends snapped to existing nodes, to cut points or to feet on
// primary arcs, which are cut there; the others are dropped. Everything is decided in memory first,
// then written in one batch: either all of it is stored or, when a row is refused, nothing.
#pragma once

#include <string>

#include "db/DbConnection.h"
#include "io/ConflationData.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct ConflationOptions {
  conflation::Search search = conflation::Search::Indexed;
  std::string today;  // the date of the new and changed arcs, "dd/mm/yyyy"; empty: the day of the run
};

struct ConflationResult {
  bool stored = false;  // the run went through and its rows are stored
  int modified = 0;     // primary arcs cut
  int from_primary = 0;
  int from_secondary = 0;
  int nodes = 0;
  conflation::ConflationState state;  // every decision, for a report
};

// The summary shown at the end of a run.
std::string ConflationSummary(const ConflationResult& result);

// Conflates the set at base_name (the ".shp" path without its extension) with the snap factor in
// metres, under the phases of a progress display, and shows the summary. A set that cannot be read or
// lacks the attributes of a road graph is told and nothing is stored; a damaged primary polyline is
// shown and left out of the decisions.
ConflationResult ConflateSecondaryGraph(DbConnection& connection, const std::string& base_name, double snap,
                                        UserInterface& ui, const ConflationOptions& options = {});

}  // namespace viamappa
