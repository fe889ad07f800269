// "Rigenera Nodi": makes the end nodes of every arc agree with its geometry. Arcs of zero length go,
// arc ends that share a position name one node, ends whose node stands elsewhere get a node of their
// own, and nodes that no arc names go.
#pragma once

#include <optional>
#include <string>

#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

struct NodeRegenerationCounts {
  int arcs_deleted = 0;   // arcs of two equal points
  int nodes_added = 0;    // new nodes
  int ends_changed = 0;   // nodini or nodfin rewritten
  int nodes_deleted = 0;  // nodes no arc names

  bool operator==(const NodeRegenerationCounts&) const = default;
};

// The result message of the command.
std::string NodeRegenerationSummary(const NodeRegenerationCounts& counts);

// Runs the whole command in one transaction, showing its phases and percent through ui. The first
// arc end met at a position fixes the node there: a later end at that position takes that node; an end
// at a position not yet met keeps its node when the node has not been met elsewhere, and otherwise
// gets a new node (one per position, numbered from the largest node identifier + 1). Damaged polylines
// are shown and their arcs left as they are, with their nodes; so are arcs without a polyline.
// nullopt when nothing was stored: a database failure (shown, and the whole run undone) or a database
// in use.
std::optional<NodeRegenerationCounts> RegenerateNodes(DbConnection& connection, UserInterface& ui);

}  // namespace viamappa
