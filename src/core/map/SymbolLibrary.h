// The built-in point symbols and fill patterns: every shape in eight colours (symbol number = shape
// index x 8 + colour index), and twenty 8 x 8 patterns for areas. The map draws node symbols and
// pattern fills with them; the styling window's symbol chooser shows the same symbols.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ui/Canvas.h"

namespace viamappa {

inline constexpr int kSymbolColourCount = 8;

// Symbol colours in order: black, red, green, blue, yellow, cyan, magenta, grey.
inline constexpr std::array<Colour, kSymbolColourCount> kSymbolColours = {
    0x000000, 0x0000CF, 0x00CF00, 0xCF0000, 0x00CFCF, 0xCFCF00, 0xCF00CF, 0x8F8F8F};

struct Symbol {
  int number = 0;
  int width = 0;
  int height = 0;
  int hot_x = 0;
  int hot_y = 0;
  Colour colour = 0;
  // width x height cells from the top row: the colour where the shape is set, -1 (transparent) elsewhere.
  std::vector<std::int32_t> cells;
  CanvasImage image;       // as drawn
  CanvasImage fast_image;  // as drawn in a fast redraw

  std::int32_t Cell(int x, int y) const { return cells[static_cast<std::size_t>(y * width + x)]; }
};

struct FillPattern {
  int number = 0;
  std::array<std::uint8_t, 8> rows{};  // one byte a row from the top; bit 7 is the leftmost pixel
};

class SymbolLibrary {
 public:
  // Builds the 1320 symbols and the 20 patterns.
  SymbolLibrary();

  // The one library of the program: the same for every map, built at first use.
  static const SymbolLibrary& Builtin();

  // Binary search by number; null when there is no such symbol or pattern.
  const Symbol* FindSymbol(int number) const;
  const FillPattern* FindPattern(int number) const;

  const std::vector<Symbol>& symbols() const { return symbols_; }
  const std::vector<FillPattern>& patterns() const { return patterns_; }

 private:
  std::vector<Symbol> symbols_;  // sorted by number
  std::vector<FillPattern> patterns_;
};

// The image of a symbol: its colour where set, transparent elsewhere. fast: each colour becomes its
// grey, or the inverted grey when the colour is a grey already (so that it still stands out). black:
// every set pixel black.
CanvasImage PrepareSymbol(const Symbol& symbol, bool fast, bool black);

// Draws a symbol's image with its hot spot on the pixel (x, y).
void DrawSymbol(Canvas& canvas, const Symbol& symbol, const CanvasImage& image, int x, int y);

// The brush of a pattern in a colour: set bits in the colour, the others left as they are.
Brush PatternBrush(const FillPattern& pattern, Colour colour);

}  // namespace viamappa
