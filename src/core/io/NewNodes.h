// The nodes a conflation creates: one at each end of an inserted arc that has no node yet, shared by
// every end at exactly that point, and the nodes of the parts of the cut primary arcs.
#pragma once

#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"

namespace viamappa::conflation {

// Phase 11 ("Determinazione dei Nodi da generare"): numbers the new nodes from 1 in order of creation
// into state.new_nodes and gives them to the ends of the unmatched secondary arcs and of the parts of
// the cut primary arcs. Every point where an arc was cut has a node.
void DetermineNewNodes(ConflationState& state, ProgressDisplay& progress);

}  // namespace viamappa::conflation
