// Reading the secondary road graph of a conflation from its shapefile: one slot per record, with the
// rounded polyline of its first part and its attributes, and the box of the whole graph.
#pragma once

#include <string>

#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"

namespace viamappa::conflation {

enum class SecondaryRead {
  Read,
  Unreadable,  // a file of the set cannot be opened, or it is damaged or cut short
  Unusable,    // not polylines, or without the attributes of a road graph
};

// Fills state.secondary and state.secondary_extent from the set at base_name (the ".shp" path without
// its extension), under the three reading phases. Nothing is shown: the caller tells what failed, with
// the file and the problem in error for an unreadable set. Records marked deleted in the table are left
// out as records without geometry.
SecondaryRead ReadSecondaryGraph(const std::string& base_name, ConflationState& state,
                                 ProgressDisplay& progress, std::string& error);

}  // namespace viamappa::conflation
