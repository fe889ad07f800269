#include "map/SymbolLibrary.h"

#include <algorithm>

#include "map/SymbolShapes.h"

namespace viamappa {

namespace {

// Patterns 0 to 19: solid, empty, vertical lines thin and thick, horizontal lines thin and thick,
// diagonals each way thin and thick, a grid, a checkerboard, a cross, a dot, bricks, sparse dots,
// dense dots, waves, rings and a diamond.
constexpr std::uint8_t kPatternRows[20][8] = {
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}, {0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33},
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF}, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF},
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, {0xC0, 0x60, 0x30, 0x18, 0x0C, 0x06, 0x03, 0x81},
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, {0x81, 0x03, 0x06, 0x0C, 0x18, 0x30, 0x60, 0xC0},
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}, {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, {0x00, 0x00, 0x18, 0x3C, 0x3C, 0x18, 0x00, 0x00},
    {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08}, {0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00},
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00}, {0x00, 0x18, 0x24, 0xC3, 0x00, 0x18, 0x24, 0xC3},
    {0x3C, 0x42, 0x81, 0x81, 0x81, 0x81, 0x42, 0x3C}, {0x10, 0x10, 0x28, 0x44, 0x83, 0x44, 0x28, 0x10},
};

}  // namespace

SymbolLibrary::SymbolLibrary() {
  const std::vector<SymbolShape>& shapes = SymbolShapes();
  symbols_.reserve(shapes.size() * kSymbolColourCount);
  for (std::size_t s = 0; s < shapes.size(); ++s) {
    const SymbolShape& shape = shapes[s];
    for (int c = 0; c < kSymbolColourCount; ++c) {
      Symbol& symbol = symbols_.emplace_back();
      symbol.number = static_cast<int>(s) * kSymbolColourCount + c;
      symbol.width = shape.width;
      symbol.height = shape.height;
      symbol.hot_x = shape.hot_x;
      symbol.hot_y = shape.hot_y;
      symbol.colour = kSymbolColours[static_cast<std::size_t>(c)];
      symbol.cells.resize(static_cast<std::size_t>(shape.width * shape.height), -1);
      for (int y = 0; y < shape.height; ++y)
        for (int x = 0; x < shape.width; ++x)
          if (shape.Bit(x, y))
            symbol.cells[static_cast<std::size_t>(y * shape.width + x)] =
                static_cast<std::int32_t>(symbol.colour);
      symbol.image = PrepareSymbol(symbol, false, false);
      symbol.fast_image = PrepareSymbol(symbol, true, false);
    }
  }
  for (int n = 0; n < 20; ++n) {
    FillPattern& pattern = patterns_.emplace_back();
    pattern.number = n;
    std::copy(std::begin(kPatternRows[n]), std::end(kPatternRows[n]), pattern.rows.begin());
  }
}

const SymbolLibrary& SymbolLibrary::Builtin() {
  static const SymbolLibrary library;
  return library;
}

const Symbol* SymbolLibrary::FindSymbol(int number) const {
  const auto it = std::lower_bound(symbols_.begin(), symbols_.end(), number,
                                   [](const Symbol& s, int n) { return s.number < n; });
  return it != symbols_.end() && it->number == number ? &*it : nullptr;
}

const FillPattern* SymbolLibrary::FindPattern(int number) const {
  const auto it = std::lower_bound(patterns_.begin(), patterns_.end(), number,
                                   [](const FillPattern& p, int n) { return p.number < n; });
  return it != patterns_.end() && it->number == number ? &*it : nullptr;
}

CanvasImage PrepareSymbol(const Symbol& symbol, bool fast, bool black) {
  std::vector<ImagePixel> pixels(symbol.cells.size(), kTransparentPixel);
  for (std::size_t i = 0; i < symbol.cells.size(); ++i) {
    if (symbol.cells[i] < 0) continue;
    Colour colour = static_cast<Colour>(symbol.cells[i]);
    if (fast) {
      const Colour grey = GreyOf(colour);
      colour = grey == colour ? Inverted(grey) : grey;
    }
    if (black) colour = kBlack;
    pixels[i] = kOpaque | colour;
  }
  return CanvasImage(symbol.width, symbol.height, std::move(pixels));
}

void DrawSymbol(Canvas& canvas, const Symbol& symbol, const CanvasImage& image, int x, int y) {
  canvas.DrawImage(x - symbol.hot_x, y - symbol.hot_y, image);
}

Brush PatternBrush(const FillPattern& pattern, Colour colour) {
  Brush brush;
  brush.style = FillStyle::Pattern;
  brush.colour = colour;
  brush.pattern = pattern.rows;
  return brush;
}

}  // namespace viamappa
