// Road highlighting: the arcs that meet a condition, as copies of their polylines that the map window
// draws over the arcs (the highlight set).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "db/DbConnection.h"
#include "map/LayerSet.h"
#include "ui/UserInterface.h"

namespace viamappa {

class HighlightCriteriaDialog;

// A copy of every polyline of the arcs archi selects with the condition (Jet dialect), in the order of
// the rows; arcs missing from the arcs layer are left out. Replaces what the set held. Engine failures
// are shown by the access layer and leave the set empty.
void CollectHighlights(DbConnection& connection, const LayerSet& layers, std::string_view condition,
                       std::vector<PointArray>& set);

// The number of arcs the condition selects; nullopt when the engine failed (shown by the access layer).
std::optional<std::int64_t> CountSelectedArcs(DbConnection& connection, std::string_view condition);

// The highlighting command turned on: clears the set, asks for the criteria and collects the arcs
// they select. True when highlighting is on: the set is not empty. Annulla, OK without a criterion and
// a condition that selects nothing answer false without a message.
bool ChooseHighlightedRoads(DbConnection& connection, UserInterface& ui, const LayerSet& layers,
                            std::vector<PointArray>& set);

}  // namespace viamappa
