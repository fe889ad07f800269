#include "map/SymbolLibrary.h"

#include <gtest/gtest.h>

#include <set>

#include "map/SymbolShapes.h"
#include "ui/PixelCanvas.h"

namespace viamappa {
namespace {

// Every shape fits its width, has its hot spot on itself, shows something and differs from the others.
TEST(SymbolLibraryTest, ShapesAreSoundAndDistinct) {
  std::set<std::pair<std::pair<int, int>, std::vector<std::uint32_t>>> seen;
  for (const SymbolShape& shape : SymbolShapes()) {
    EXPECT_LE(shape.width, 32);
    ASSERT_EQ(shape.rows.size(), static_cast<std::size_t>(shape.height));
    EXPECT_TRUE(shape.hot_x >= 0 && shape.hot_x < shape.width && shape.hot_y >= 0 &&
                shape.hot_y < shape.height);
    bool any = false;
    const std::uint32_t outside = shape.width == 32 ? 0 : 0xFFFFFFFFu >> shape.width;
    for (const std::uint32_t row : shape.rows) {
      EXPECT_EQ(row & outside, 0u) << "a bit beyond the width";
      any = any || row != 0;
    }
    EXPECT_TRUE(any) << shape.width << " x " << shape.height;
    EXPECT_TRUE(seen.insert({{shape.width, shape.height}, shape.rows}).second)
        << "two equal shapes of " << shape.width << " x " << shape.height;
  }
}

// Symbols 0 to 7 are the 5 x 5 disc in eight colours; the fast image shows them in grey, inverted.
TEST(SymbolLibraryTest, SymbolsAreDrawnWithTheirHotSpotOnThePoint) {
  const SymbolLibrary& library = SymbolLibrary::Builtin();
  EXPECT_EQ(library.FindSymbol(-1), nullptr);
  EXPECT_EQ(library.FindSymbol(static_cast<int>(library.symbols().size())), nullptr);
  const struct {
    int number;
    bool fast, black;
    Colour shown;
  } cases[] = {
      {1, false, false, 0x0000CF}, {1, true, false, 0x3E3E3E},  // the grey of red: trunc(0.3 x 207)
      {7, true, false, 0x707070},                               // grey is shown as its inverted grey
      {0, true, false, 0xFFFFFF},                               // and black as white
      {4, false, true, 0x000000},                               // the black flag
  };
  for (const auto& c : cases) {
    const Symbol& symbol = *library.FindSymbol(c.number);
    PixelCanvas canvas(20, 20);
    DrawSymbol(canvas, symbol, PrepareSymbol(symbol, c.fast, c.black), 10, 10);
    // The 5 x 5 disc around (10, 10): its corners stay white, its rows 70 F8 F8 F8 70.
    for (int y = 8; y <= 12; ++y) {
      for (int x = 8; x <= 12; ++x) {
        const bool corner = (y == 8 || y == 12) && (x == 8 || x == 12);
        EXPECT_EQ(canvas.PixelAt(x, y), corner ? kWhite : c.shown) << c.number << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(canvas.PixelAt(7, 10), kWhite);
    EXPECT_EQ(canvas.PixelAt(13, 10), kWhite);
  }
}

TEST(SymbolLibraryTest, PatternsFillBitForBit) {
  const SymbolLibrary& library = SymbolLibrary::Builtin();
  std::set<std::array<std::uint8_t, 8>> distinct;
  for (const FillPattern& pattern : library.patterns()) distinct.insert(pattern.rows);
  EXPECT_EQ(distinct.size(), library.patterns().size());
  EXPECT_EQ(library.FindPattern(static_cast<int>(library.patterns().size())), nullptr);

  // Drawn: pattern 6 sets the pixels whose column equals their row within each 8 x 8 tile.
  PixelCanvas diagonal(16, 16);
  diagonal.SetBrush(PatternBrush(*library.FindPattern(6), 0x0000FF));
  diagonal.FillPolygon({{{0, 0}, {16, 0}, {16, 16}, {0, 16}}});
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(diagonal.PixelAt(x, y), x % 8 == y % 8 ? 0x0000FFu : kWhite) << x << "," << y;
}

}  // namespace
}  // namespace viamappa
