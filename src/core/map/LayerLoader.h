// Building the map data of the open database.
#pragma once

#include "map/MapStyling.h"
#include "db/DbConnection.h"
#include "map/LayerSet.h"

namespace viamappa {

// Fills a new layer set from the database: municipalities, their labels, localities and their labels
// by size, arcs, the street-name layer, nodes; widens the extent by everything loaded. Damaged
// geometry is shown and left out. When municipalities, localities, toponyms or arcs are still missing
// an information message says which.
void LoadLayers(LayerSet& layers, DbConnection& connection, const MapStyling& styling);

// The message that lists the missing sources; empty when none is missing.
std::string MissingSourcesMessage(bool comuni, bool localita, bool toponimi, bool archi);

}  // namespace viamappa
