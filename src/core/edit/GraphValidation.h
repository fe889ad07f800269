// The check of the road graph's consistency: what the topology commands and the editing should have
// left right and did not, each finding with the arc or node concerned and where it lies. It changes
// nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Box.h"
#include "db/DbConnection.h"
#include "ui/UserInterface.h"

namespace viamappa {

// The kinds of findings, in the order they are listed.
enum class FindingKind {
  DamagedGeometry,    // an arc without a readable polyline
  ZeroLength,         // an arc whose points all coincide
  EndOffNode,         // an arc end that does not lie on its nodini / nodfin node (or the node is missing)
  UnusedNode,         // a node no arc names
  SharedPosition,     // a node at the position of another node
  Undershoot,         // a free arc end within 1 m of another arc it does not touch
  EndOnArc,           // a free arc end that touches another arc without a node joining them
  DuplicateGeometry,  // an arc with the same points as another, in either direction
  Unnamed,            // an arc without a main name
  NoMunicipality,     // an arc without a municipality
};
inline constexpr std::size_t kFindingKinds = 10;

// The distance within which a free end counts as falling short of another arc, and the distance below
// which it touches the arc (half the hundredth coordinates are kept to), in metres.
inline constexpr double kUndershootMetres = 1.0;
inline constexpr double kTouchMetres = 0.005;

struct Finding {
  FindingKind kind = FindingKind::DamagedGeometry;
  bool node = false;       // the finding names a node; otherwise an arc
  std::int32_t id = 0;     // the arc or node
  std::int32_t other = 0;  // the node an end should lie on, the node at the same position, the arc
                           // approached or duplicated; 0 when none
  Point at;                // where it lies
  Box extent;              // what to show of it: the arc's box, or the point
  double distance = 0;     // undershoots and ends on arcs: how far the end is from the other arc

  bool operator==(const Finding&) const = default;
};

struct GraphValidation {
  std::vector<Finding> findings;  // by kind, then in the order of the arcs or nodes
  std::array<int, kFindingKinds> counts{};

  int Count(FindingKind kind) const { return counts[static_cast<std::size_t>(kind)]; }
};

// Reads the arcs, their polylines and the nodes and checks them, showing the phases and percent.
// nullopt when the graph could not be read (the access layer has shown why).
std::optional<GraphValidation> ValidateGraph(DbConnection& connection, UserInterface& ui);

}  // namespace viamappa
