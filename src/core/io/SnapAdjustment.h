// Connecting the ends of the secondary arcs that will be inserted: each end goes to the nearest existing
// node within the snap factor, or to a point where a primary arc was cut, or to the foot of its
// perpendicular on a primary arc, which is cut there. The cuts of one arc are taken by the arcs in slot
// order, so each end sees the cuts of the ends before it.
#pragma once

#include "geom/BoxIndex.h"
#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"

namespace viamappa::conflation {

// Phase 10 ("Aggiustamento dei punti di snap") for every unmatched secondary arc. index holds
// PrimaryExtents (unused by a scan).
void AdjustSnapPoints(ConflationState& state, const BoxIndex& index, ProgressDisplay& progress);

// Cuts part `part` of the arc at F, a point of its segment that ends at point `segment`: the part keeps
// its points up to the segment's start followed by F, and a new piece of F and the rest follows it
// along the arc. A point of the part equal to F is not repeated. False, with nothing cut, when F is an
// end of the part: no piece of no length is made.
bool CutPart(PrimaryArc& arc, std::size_t part, std::int32_t segment, const Point& foot);

}  // namespace viamappa::conflation
