// Unified streets: the primary arcs of one regional code joined end to end into street pieces, and the
// third test of whether a secondary arc is already in the primary graph, a street piece it lies along.
#pragma once

#include <vector>

#include "geom/BoxIndex.h"
#include "io/ConflationData.h"
#include "ui/ProgressDisplay.h"

namespace viamappa::conflation {

// An arc inside a street piece: its position in the primary list, and whether the piece runs it from
// its last point to its first.
struct PieceArc {
  std::int32_t arc = 0;
  bool reversed = false;
};

// A joined polyline of a unified street: its arcs in order (each next one starts where the previous
// ends) and its box.
struct StreetPiece {
  std::int32_t street = 0;
  std::vector<PieceArc> arcs;
  Box box;
};

struct StreetPieces {
  std::vector<StreetPiece> pieces;     // the pieces with points: by street, each street's in order
  std::vector<std::int32_t> piece_of;  // by primary position: its piece, or -1
  std::vector<std::uint8_t> reversed;  // by primary position: whether its piece runs it backwards
};

// Phase 8: joins each unified street's arcs. An arc is added to the first piece one of whose ends it
// shares: after the last point (its first or, reversed, its last point there), or before the first
// (its last or, reversed, its first point there), the first of these four that holds; otherwise it
// opens a new piece. Then each piece in order is joined by the same rules into the first later piece
// it meets, and is left empty.
StreetPieces JoinUnifiedStreets(const ConflationState& state, ProgressDisplay& progress);

// The points of a piece, as its arcs' points joined in order without repeating the shared ends.
PointArray PiecePolyline(const StreetPiece& piece, const ConflationState& state);

// Phase III: each secondary arc still without analogue takes the unified streets, in order, one of whose
// pieces has a box meeting its box grown by the snap factor and is a polyline it lies along. index
// holds PrimaryExtents (unused by a scan).
void FindStreetsAlong(ConflationState& state, const StreetPieces& streets, const BoxIndex& index,
                      ProgressDisplay& progress);

}  // namespace viamappa::conflation
