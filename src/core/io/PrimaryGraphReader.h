// Reading the primary road graph of a conflation from the database: the arcs with their current
// polylines and the existing nodes, each kept only when it lies near the secondary graph, since no
// decision can reach the others. The arcs near it are gathered into unified streets by regional code.
#pragma once

#include "db/DbConnection.h"
#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"
#include "ui/UserInterface.h"

namespace viamappa::conflation {

// The message of a damaged primary polyline: that arc takes no part in the decisions.
std::string DamagedPrimaryArcMessage(std::int64_t id);

// Fills state.primary (ascending identifier) and state.streets under the phase "Estrazione degli
// Archi del Grafo Primario"; each damaged polyline is shown. A query that fails is shown by the access
// layer.
void ReadPrimaryArcs(DbConnection& connection, ConflationState& state, ProgressDisplay& progress,
                     UserInterface& ui);

// Fills state.nodes (ascending identifier) under "Estrazione dei Nodi del Grafo Primario".
void ReadExistingNodes(DbConnection& connection, ConflationState& state, ProgressDisplay& progress);

}  // namespace viamappa::conflation
