#include "map/SymbolLibrary.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "map/SymbolShapes.h"
#include "ui/PixelCanvas.h"

namespace viamappa {
namespace {

TEST(SymbolLibraryTest, TheDiscsHaveTheirRows) {
  const std::vector<SymbolShape>& shapes = SymbolShapes();
  ASSERT_EQ(shapes.size(), 165u);
  const struct {
    int shape, size, hot;
    std::vector<std::uint32_t> rows;
  } discs[] = {
      {0, 5, 2, {0x70000000, 0xF8000000, 0xF8000000, 0xF8000000, 0x70000000}},
      {1, 7, 3, {0x38000000, 0x7C000000, 0xFE000000, 0xFE000000, 0xFE000000, 0x7C000000, 0x38000000}},
      {2,
       15,
       7,
       {0x07C00000, 0x1FF00000, 0x3FF80000, 0x7FFC0000, 0x7FFC0000, 0xFFFE0000, 0xFFFE0000, 0xFFFE0000,
        0xFFFE0000, 0xFFFE0000, 0x7FFC0000, 0x7FFC0000, 0x3FF80000, 0x1FF00000, 0x07C00000}},
  };
  for (const auto& disc : discs) {
    const SymbolShape& shape = shapes[static_cast<std::size_t>(disc.shape)];
    EXPECT_EQ(shape.width, disc.size);
    EXPECT_EQ(shape.height, disc.size);
    EXPECT_EQ(shape.hot_x, disc.hot);
    EXPECT_EQ(shape.hot_y, disc.hot);
    EXPECT_EQ(shape.rows, disc.rows) << disc.shape;
  }
}

TEST(SymbolLibraryTest, ShapesKeepTheirSizesAndAreDistinct) {
  std::map<std::pair<int, int>, int> by_size;
  std::set<std::pair<std::pair<int, int>, std::vector<std::uint32_t>>> seen;
  std::set<std::pair<int, int>> corner_hot_spots;
  for (const SymbolShape& shape : SymbolShapes()) {
    ++by_size[{shape.width, shape.height}];
    EXPECT_LE(shape.width, 32);
    ASSERT_EQ(shape.rows.size(), static_cast<std::size_t>(shape.height));
    EXPECT_GE(shape.hot_x, 0);
    EXPECT_LT(shape.hot_x, shape.width);
    EXPECT_GE(shape.hot_y, 0);
    EXPECT_LT(shape.hot_y, shape.height);
    bool any = false;
    const std::uint32_t outside = shape.width == 32 ? 0 : 0xFFFFFFFFu >> shape.width;
    for (const std::uint32_t row : shape.rows) {
      EXPECT_EQ(row & outside, 0u) << "a bit beyond the width";
      any = any || row != 0;
    }
    EXPECT_TRUE(any) << shape.width << " x " << shape.height;
    EXPECT_TRUE(seen.insert({{shape.width, shape.height}, shape.rows}).second)
        << "two equal shapes of " << shape.width << " x " << shape.height;
    if (shape.width == 8 && shape.height == 8) corner_hot_spots.insert({shape.hot_x, shape.hot_y});
    // The marks of their own sizes have the stated hot spots.
    const std::map<std::pair<int, int>, std::pair<int, int>> stated = {
        {{9, 19}, {4, 9}}, {{27, 13}, {13, 6}}, {{10, 8}, {5, 7}}, {{14, 12}, {6, 11}}};
    if (const auto it = stated.find({shape.width, shape.height}); it != stated.end())
      EXPECT_EQ((std::make_pair(shape.hot_x, shape.hot_y)), it->second);
  }
  const std::map<int, int> square_counts = {{7, 9},  {9, 8},  {17, 8}, {13, 6},
                                            {11, 6}, {15, 5}, {5, 4},  {21, 3}};
  for (const auto& [size, count] : square_counts)
    EXPECT_EQ(by_size[std::make_pair(size, size)], count) << size;
  EXPECT_EQ(corner_hot_spots, (std::set<std::pair<int, int>>{{0, 0}, {7, 0}, {0, 7}, {7, 7}}));
  for (const auto& [size, count] : by_size) {
    if (square_counts.count(size.first) && size.first == size.second) continue;
    if (size == std::make_pair(8, 8)) continue;
    EXPECT_LE(count, 2) << size.first << " x " << size.second;
  }
}

TEST(SymbolLibraryTest, SymbolsAreShapesInEightColours) {
  const SymbolLibrary& library = SymbolLibrary::Builtin();
  ASSERT_EQ(library.symbols().size(), 1320u);
  EXPECT_EQ(library.FindSymbol(-1), nullptr);
  EXPECT_EQ(library.FindSymbol(1320), nullptr);
  ASSERT_NE(library.FindSymbol(1319), nullptr);
  const struct {
    int number, size;
    Colour colour;
  } cases[] = {{0, 5, 0x000000},  {1, 5, 0x0000CF},   {8, 7, 0x000000},
               {15, 7, 0x8F8F8F}, {19, 15, 0xCF0000}, {1319, 0, 0x8F8F8F}};
  for (const auto& c : cases) {
    const Symbol& symbol = *library.FindSymbol(c.number);
    EXPECT_EQ(symbol.number, c.number);
    EXPECT_EQ(symbol.colour, c.colour) << c.number;
    if (c.size) EXPECT_EQ(symbol.width, c.size) << c.number;
    // The corner of a disc is transparent, its centre the symbol colour.
    if (c.size) {
      EXPECT_EQ(symbol.Cell(0, 0), -1);
      EXPECT_EQ(symbol.Cell(symbol.hot_x, symbol.hot_y), static_cast<std::int32_t>(c.colour));
    }
  }
}

TEST(SymbolLibraryTest, SymbolsAreDrawnWithTheirHotSpotOnThePoint) {
  const SymbolLibrary& library = SymbolLibrary::Builtin();
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
  // The prepared images are the ones the map draws.
  const Symbol& red = *library.FindSymbol(1);
  EXPECT_EQ(red.image.pixels(), PrepareSymbol(red, false, false).pixels());
  EXPECT_EQ(red.fast_image.pixels(), PrepareSymbol(red, true, false).pixels());
}

TEST(SymbolLibraryTest, PatternsFillBitForBit) {
  const SymbolLibrary& library = SymbolLibrary::Builtin();
  ASSERT_EQ(library.patterns().size(), 20u);
  EXPECT_EQ(library.FindPattern(20), nullptr);
  EXPECT_EQ(library.FindPattern(252), nullptr);
  const struct {
    int number;
    std::array<std::uint8_t, 8> rows;
  } stated[] = {
      {0, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {1, {0, 0, 0, 0, 0, 0, 0, 0}},
      {2, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}},
      {3, {0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33}},
      {4, {0, 0, 0, 0xFF, 0, 0, 0, 0xFF}},
      {5, {0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF}},
      {6, {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}},
      {7, {0xC0, 0x60, 0x30, 0x18, 0x0C, 0x06, 0x03, 0x81}},
      {8, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}},
      {9, {0x81, 0x03, 0x06, 0x0C, 0x18, 0x30, 0x60, 0xC0}},
      {12, {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}},
      {13, {0, 0, 0x18, 0x3C, 0x3C, 0x18, 0, 0}},
      {19, {0x10, 0x10, 0x28, 0x44, 0x83, 0x44, 0x28, 0x10}},
  };
  std::set<std::array<std::uint8_t, 8>> distinct;
  for (const FillPattern& pattern : library.patterns()) distinct.insert(pattern.rows);
  EXPECT_EQ(distinct.size(), 20u);
  for (const auto& s : stated) EXPECT_EQ(library.FindPattern(s.number)->rows, s.rows) << s.number;

  // Drawn: pattern 6 sets the pixels whose column equals their row within each 8 x 8 tile, pattern 19's
  // fifth row the leftmost and the two rightmost pixels.
  const auto fill = [&](int number) {
    PixelCanvas canvas(16, 16);
    canvas.SetBrush(PatternBrush(*library.FindPattern(number), 0x0000FF));
    canvas.FillPolygon({{{0, 0}, {16, 0}, {16, 16}, {0, 16}}});
    return canvas;
  };
  const PixelCanvas diagonal = fill(6);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(diagonal.PixelAt(x, y), x % 8 == y % 8 ? 0x0000FFu : kWhite) << x << "," << y;
  const PixelCanvas diamond = fill(19);
  for (int x = 0; x < 8; ++x)
    EXPECT_EQ(diamond.PixelAt(x + 8, 12), x == 0 || x >= 6 ? 0x0000FFu : kWhite) << x;
}

}  // namespace
}  // namespace viamappa
