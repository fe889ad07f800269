// A computed route: its items in route order, one per arc, with the texts the result lists and the
// piece of an arc the route enters or leaves in its middle; the two alternatives a computation gives and
// the one shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geom/PointArray.h"

namespace viamappa {

struct RouteItem {
  std::int32_t arc = 0;
  std::string street;             // the arc's denom without trailing blanks; " " when it has none
  std::string locality;           // the denom of the arc's locality; " " when none
  PointArray line;                // the arc's polyline as the route was computed on it
  std::optional<PointArray> cut;  // the piece of it the route uses, when not all of it

  // The polyline the route runs along: the piece when there is one, else the whole arc.
  const PointArray& Used() const { return cut ? *cut : line; }
  double Length() const;
};

struct RouteChain {
  std::vector<RouteItem> items;

  // The sum of the items' lengths; 0 without items.
  double TotalLength() const;
  bool PassesThrough(std::int32_t arc) const;
};

struct RouteResult {
  RouteChain path1;  // towards the first node of the end arc
  RouteChain path2;  // towards its second node

  // Path 2 when it is not longer than path 1.
  bool path2_chosen() const { return path2.TotalLength() <= path1.TotalLength(); }
  const RouteChain& Chosen() const { return path2_chosen() ? path2 : path1; }
  bool PassesThrough(std::int32_t arc) const { return path1.PassesThrough(arc) || path2.PassesThrough(arc); }
};

}  // namespace viamappa
