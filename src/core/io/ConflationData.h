// What the conflation of a secondary road graph holds in memory while it decides: the secondary arcs,
// the primary arcs with the pieces cut off them, the existing nodes near the secondary graph and the
// unified streets. Every decision is taken on these before anything is written.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Box.h"
#include "geom/GraphRecords.h"
#include "geom/PointArray.h"

namespace viamappa::conflation {

// Whether the candidates of each decision come from spatial indexes or from a plain scan of every item
// in order. Both take the same decisions; the scan is the measure the indexes are tested against.
enum class Search { Indexed, Scan };

// Hashes points for exact lookups; 0 and -0, which compare equal, hash alike.
struct PointHash {
  std::size_t operator()(const Point& p) const {
    const auto x = std::bit_cast<std::uint64_t>(p.x + 0.0);
    const auto y = std::bit_cast<std::uint64_t>(p.y + 0.0);
    return static_cast<std::size_t>(x * 0x9E3779B97F4A7C15ULL ^ (y + 0x632BE59BD9B4E019ULL + (x << 6)));
  }
};

// The node an end of an arc is joined to. Node identifiers start at 0, so "none yet" has its own kind.
struct NodeRef {
  enum class Kind : std::uint8_t { None, Existing, New };
  Kind kind = Kind::None;
  std::int32_t id = 0;  // nodi.ID of an existing node; the run's number (from 1) of a new one

  static NodeRef Existing(std::int32_t id) { return {Kind::Existing, id}; }
  static NodeRef New(std::int32_t number) { return {Kind::New, number}; }
  bool IsSet() const { return kind != Kind::None; }
  friend bool operator==(const NodeRef&, const NodeRef&) = default;
};

// How an end of a secondary arc found its place.
enum class EndJoin : std::uint8_t {
  Free,        // a new node at the end as it lies
  Node,        // an existing node within the snap factor
  CutPoint,    // the point where an earlier end cut a primary arc
  Projection,  // the foot on a primary arc, which is cut there
};

struct EndOutcome {
  EndJoin how = EndJoin::Free;
  std::int32_t arc_id = 0;  // the primary arc of a cut point or a projection
};

// One record of the secondary shapefile: slot i holds record i.
struct SecondaryArc {
  bool has_geometry = false;  // a polyline with points; a slot without takes no part in anything
  std::string codreg, codele, denom, alterna, classe;  // as read, without their padding blanks
  bool square = false;
  PointArray line;  // the first part, rounded to hundredths
  NodeRef start, end;
  EndOutcome start_join, end_join;
  std::vector<std::int32_t> analogues;  // positions in the primary list, ascending
  std::vector<std::int32_t> streets;    // unified streets, ascending
  std::int32_t inserted_id = 0;         // the arc it became once written (0: none)

  bool Unmatched() const { return has_geometry && analogues.empty() && streets.empty(); }
};

// A part of a primary arc: the arc itself, shortened by the cuts, or a piece cut off it.
struct ArcPart {
  PointArray line;
  NodeRef start, end;
};

// A primary arc near the secondary graph, in ascending identifier: its position in the list is its
// place in every ordered scan.
struct PrimaryArc {
  std::int32_t id = 0;
  Box extent;                   // the box of the polyline as read: every part lies within it
  ArcPart own;                  // the arc itself, shortened when cut
  std::vector<ArcPart> pieces;  // the pieces cut off it, in order along the arc
  bool modified = false;

  std::size_t PartCount() const { return pieces.size() + 1; }
  ArcPart& Part(std::size_t j) { return j == 0 ? own : pieces[j - 1]; }
  const ArcPart& Part(std::size_t j) const { return j == 0 ? own : pieces[j - 1]; }
};

// The primary arcs that share one regional code (trailing blanks cut) and lie near the secondary graph,
// in primary order.
struct UnifiedStreet {
  std::string code;
  std::vector<std::int32_t> arcs;
};

// The state of one conflation run.
struct ConflationState {
  double snap = 10;
  Search search = Search::Indexed;
  std::vector<SecondaryArc> secondary;
  Box secondary_extent;
  std::vector<PrimaryArc> primary;
  std::vector<NodeRecord> nodes;  // existing nodes near the secondary graph, ascending identifier
  std::vector<UnifiedStreet> streets;
  std::vector<Point> new_nodes;     // new node n (from 1) at new_nodes[n - 1]
  std::int32_t new_node_base = -1;  // the largest node identifier before the run: new node n is base + n
};

// The identifier a node is written with.
inline std::int32_t WrittenNodeId(const ConflationState& state, const NodeRef& node) {
  return node.kind == NodeRef::Kind::New ? state.new_node_base + node.id : node.id;
}

// The box of the secondary graph grown by the snap factor and a little more, so that nothing within the
// snap factor of a secondary point is left out by rounding.
Box SearchArea(const ConflationState& state);

// A little more than the snap factor: what a candidate search grows its box by before the exact tests.
double SearchMargin(double snap);

// Whether box P meets box Q grown by the snap factor, tested exactly as the decisions test it.
bool OverlapsWithMargin(const Box& p, const Box& q, double snap);

// Whether every point of line lies within the snap factor of along: the distance to along (its nearest
// vertex, or a foot of a perpendicular that falls on a segment) is at most the factor. The scan measures
// each whole distance; the indexed run stops at the first point that is too far and at the first part
// of along near enough, with the same answer.
bool LiesAlong(const PointArray& line, const PointArray& along, double snap, Search search);

// Whether P is within the snap factor of the segment from A to B: of B, or of the foot of the
// perpendicular when it falls on the segment. With the first point of a polyline, these are the
// distances a polyline's distance is the least of.
bool SegmentWithin(const Point& a, const Point& b, const Point& p, double snap);

}  // namespace viamappa::conflation
