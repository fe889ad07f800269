// The first two tests of whether a secondary arc is already in the primary graph: a primary arc that
// lies along it (the first in primary order), or primary arcs that it lies along (all of them).
#pragma once

#include "geom/BoxIndex.h"
#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"

namespace viamappa::conflation {

// The boxes every part of each primary arc lies within, by position, for the index of primary arcs.
std::vector<Box> PrimaryExtents(const ConflationState& state);

// Phase I: each secondary arc takes as analogue the first primary arc in order whose box meets its box
// grown by the snap factor and which lies along it. index holds PrimaryExtents (unused by a scan).
void FindCoveredPrimaryArcs(ConflationState& state, const BoxIndex& index, ProgressDisplay& progress);

// Phase II: each secondary arc still without analogue takes every primary arc, in order, whose box
// grown by the snap factor meets its box and along which it lies.
void FindCoveringPrimaryArcs(ConflationState& state, const BoxIndex& index, ProgressDisplay& progress);

}  // namespace viamappa::conflation
