// "Riduzione Archi spezzati": chains of arcs broken into pieces without need become one arc. Two arcs
// merge at a node where nothing else meets when they carry the same codes, names, class and square
// flag, unless merging would close a ring.
#pragma once

#include <optional>
#include <string>

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct ArcMergeCounts {
  int arcs_changed = 0;   // arcs that grew
  int arcs_deleted = 0;   // arcs merged into another
  int nodes_deleted = 0;  // nodes left inside a merged arc

  bool operator==(const ArcMergeCounts&) const = default;
};

// The result message of the command.
std::string ArcMergeSummary(const ArcMergeCounts& counts);

// Runs the whole command in one transaction, showing its phases and percent through ui. Nodes are
// visited in the order the arcs (by identifier) first name them; a merge at a node is left out when a
// polyline cannot be read (shown) or has fewer than two points, or when the merged polyline would hold
// more points than a stored polyline can. The arc that grows keeps its identifier and is marked
// modified; the other goes with its polylines. nullopt when nothing was stored: a database failure
// (shown, and the whole run undone) or a database in use.
std::optional<ArcMergeCounts> MergeBrokenArcs(DbConnection& connection, UserInterface& ui);

}  // namespace viamappa
