// The nodes of an imported graph: one per distinct end point after rounding to hundredths, numbered
// 0, 1, 2, ... in order of creation; the first node created at a point is the one found there.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Box.h"

namespace viamappa {

class ImportNodeList {
 public:
  struct Node {
    std::int32_t id;
    Point point;
  };

  // The node at the rounded point, or -1.
  std::int32_t Find(double x, double y) const;

  // The node at the rounded point, created when there is none.
  std::int32_t Add(double x, double y);

  const std::vector<Node>& nodes() const { return nodes_; }

 private:
  // Open addressing over the node list: each slot holds a node index + 1, 0 for empty.
  std::size_t Slot(const Point& p) const;
  void Grow();

  std::vector<Node> nodes_;
  std::vector<std::uint32_t> slots_;
};

}  // namespace viamappa
