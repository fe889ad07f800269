#include "map/RasterTile.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/map/BackgroundTestFiles.h"
#include "support/RecordingCanvas.h"

namespace viamappa {
namespace {

// A tile: the producer's 6 bytes, then width, height, bits, palette entries and row size (BE), the
// palette and the rows.
std::string Tile(int width, int height, int bits, int entries, int row_bytes,
                 const std::string& palette_and_rows) {
  std::string tile(6, '\0');
  for (int value : {width, height, bits, entries, row_bytes}) {
    tile += static_cast<char>(value >> 8);
    tile += static_cast<char>(value & 0xFF);
  }
  return tile + palette_and_rows;
}

bool Decode(const std::string& bytes, RasterImage& image) {
  auto source = MemorySource(bytes);
  BackgroundReader in(*source, 0, bytes.size());
  return DecodeRasterTile(in, image);
}

TEST(RasterTileTest, PalettesAndDepthsGiveTheirPixels) {
  using Row = std::vector<Colour>;
  const struct {
    const char* what;
    std::string tile;
    std::vector<Row> pixels;  // top row first
  } kCases[] = {
      // 10 pixels of 1 bit: two stored bytes a row, the image's rows 4 bytes; white for 0, black for 1.
      {"1 bit without a palette",
       Tile(10, 1, 1, 0, 2, "\xA0\x40"),
       {{kBlack, kWhite, kBlack, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kBlack}}},
      // Entries replace the defaults in order: blue, green, red bytes.
      {"1 bit with one entry",
       Tile(3, 1, 1, 1, 1, std::string("\x10\x20\x30", 3) + "\x60"),
       {{0x102030, kBlack, kBlack}}},
      // Two pixels a byte, the high nibble first; entries beyond those given stay black.
      {"4 bits",
       Tile(3, 2, 4, 2, 2, std::string("\x00\x00\xFF\xFF\x00\x00", 6) + std::string("\x01\x20\x10\x00", 4)),
       {{0x0000FF, 0xFF0000, kBlack}, {0xFF0000, 0x0000FF, 0x0000FF}}},
      {"8 bits",
       Tile(2, 1, 8, 3, 4,
            std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9) + std::string("\x02\x05\x00\x00", 4)),
       {{0x070809, kBlack}}},
      // True colour: blue, green, red bytes; rows stored longer than the image's are cut.
      {"24 bits",
       Tile(2, 2, 24, 0, 8, std::string("\x01\x02\x03\x04\x05\x06zz\x07\x08\x09\x0A\x0B\x0Czz", 16)),
       {{0x010203, 0x040506}, {0x070809, 0x0A0B0C}}},
  };
  for (const auto& c : kCases) {
    RasterImage image;
    ASSERT_TRUE(Decode(c.tile, image)) << c.what;
    ASSERT_EQ(image.height, static_cast<int>(c.pixels.size())) << c.what;
    ASSERT_EQ(image.width, static_cast<int>(c.pixels[0].size())) << c.what;
    EXPECT_EQ(image.stride % 4, 0u);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        EXPECT_EQ(image.PixelAt(x, y), c.pixels[y][x]) << c.what << " " << x << "," << y;
  }
}

TEST(RasterTileTest, TilesThatBreakTheirOwnSizesAreDamaged) {
  const struct {
    const char* what;
    std::string tile;
  } kCases[] = {
      {"more entries than a 1-bit image has room for", Tile(8, 1, 1, 3, 4, std::string(9 + 4, '\0'))},
      {"a palette in a true-colour image", Tile(1, 1, 24, 1, 4, std::string(3 + 4, '\0'))},
      {"257 entries of 8 bits", Tile(1, 1, 8, 257, 4, std::string(3 * 257 + 4, '\0'))},
      {"a depth of 16 bits", Tile(1, 1, 16, 0, 4, std::string(4, '\0'))},
      {"no pixels", Tile(0, 1, 8, 0, 4, std::string(4, '\0'))},
      {"rows shorter than their pixels", Tile(9, 1, 24, 0, 26, std::string(26, '\0'))},
      {"rows beyond the data", Tile(4, 3, 8, 0, 4, std::string(8, '\0'))},
      {"a palette beyond the data", Tile(4, 1, 8, 200, 4, std::string(10, '\0'))},
      // The largest image the header can describe, on a few bytes: refused before any memory is taken.
      {"65535 rows of 65535 pixels", Tile(65535, 65535, 24, 0, 65535, std::string(100, '\0'))},
      {"a header cut short", Tile(1, 1, 8, 0, 4, "").substr(0, 12)},
  };
  for (const auto& c : kCases) {
    RasterImage image;
    EXPECT_FALSE(Decode(c.tile, image)) << c.what;
    EXPECT_TRUE(image.bits.empty()) << c.what;
  }
}

TEST(RasterTileTest, ATileLargerThanTheBufferIsReadInPieces) {
  // 300 x 100 true-colour pixels: 90,000 bytes of rows, the colour of each pixel from its place.
  RasterImage source;
  source.Create(300, 100, 24);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; ++x) {
      source.Row(y)[3 * x] = static_cast<std::uint8_t>(x);
      source.Row(y)[3 * x + 1] = static_cast<std::uint8_t>(y);
      source.Row(y)[3 * x + 2] = static_cast<std::uint8_t>(x + y);
    }
  const std::vector<unsigned char> bytes = background::EncodeRasterTile(source);
  ASSERT_GT(bytes.size(), kBackgroundBufferBytes);
  RasterImage image;
  ASSERT_TRUE(Decode(std::string(bytes.begin(), bytes.end()), image));
  EXPECT_EQ(image.bits, source.bits);
  EXPECT_EQ(image.PixelAt(299, 99),
            static_cast<Colour>(((299 + 99) & 0xFF) | (99 << 8) | ((299 & 0xFF) << 16)));
}

TEST(RasterTileTest, PlacementCoversThePixelsShownAndGreysBoxesTooEnlarged) {
  // A 100 x 50 pixel raster of 2 m pixels over (0, 0) .. (200, 100); the window 1000 x 800 pixels.
  const Box box = Box::Of(0, 0, 200, 100);
  using K = RasterPlacement::Kind;
  const struct {
    double resolution, x0, y0;
    K kind;
    ImageRect source;
    double x, y, width, height;
  } kCases[] = {
      // Whole, at a metre a pixel: 200 x 100 pixels at the window's bottom left.
      {1, 0, 0, K::Image, {0, 0, 100, 50}, 0, 700, 200, 100},
      // Cut at x = 101 m: from pixel 50 (its left edge at 100 m, one pixel left of the window).
      {1, 101, 0, K::Image, {50, 0, 50, 50}, -1, 700, 100, 100},
      {1, 300, 0, K::Nothing, {}, 0, 0, 0, 0},
      // Less than a pixel high in the window.
      {1, 0, 99.5, K::Nothing, {}, 0, 0, 0, 0},
  };
  for (const auto& c : kCases) {
    const RasterPlacement placement =
        PlaceRaster(box, 100, 50, testing::WindowView(c.resolution, 10000, c.x0, c.y0));
    ASSERT_EQ(placement.kind, c.kind) << c.resolution << " " << c.x0;
    if (c.kind != K::Image) continue;
    EXPECT_EQ(
        std::tie(placement.source.x, placement.source.y, placement.source.width, placement.source.height),
        std::tie(c.source.x, c.source.y, c.source.width, c.source.height));
    EXPECT_EQ(std::tie(placement.x, placement.y, placement.width, placement.height),
              std::tie(c.x, c.y, c.width, c.height));
  }
  // 20 window pixels a source pixel are still drawn, 30 are a grey box.
  EXPECT_EQ(PlaceRaster(box, 100, 50, testing::WindowView(0.1, 1000, 50, 50)).kind, K::Image);
  EXPECT_EQ(PlaceRaster(box, 100, 50, testing::WindowView(2.0 / 30, 1000, 50, 50)).kind, K::GreyBox);
}

}  // namespace
}  // namespace viamappa
