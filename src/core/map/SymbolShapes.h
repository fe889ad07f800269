// The shapes of the built-in point symbols: small one-bit bitmaps, each with the pixel that is placed
// on the point.
#pragma once

#include <cstdint>
#include <vector>

namespace viamappa {

struct SymbolShape {
  int width = 0;  // pixels, at most 32
  int height = 0;
  int hot_x = 0;  // the pixel placed on the point
  int hot_y = 0;
  // One word per pixel row from the top; bit 31 is the leftmost pixel.
  std::vector<std::uint32_t> rows;

  bool Bit(int x, int y) const { return (rows[static_cast<std::size_t>(y)] >> (31 - x)) & 1U; }
};

inline constexpr int kShapeCount = 165;

// The 165 shapes in their order: 0 the 5 x 5 disc, 1 the 7 x 7 disc, 2 the 15 x 15 disc, then the
// other marks of those sizes and of 9, 11, 13, 17 and 21 pixels, then marks of their own sizes (corner
// marks, arrows, flags, pins, buildings...), mostly in pairs. Built once, at first use.
const std::vector<SymbolShape>& SymbolShapes();

}  // namespace viamappa
