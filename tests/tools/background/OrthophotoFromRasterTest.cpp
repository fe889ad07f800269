#include "background/OrthophotoFromRaster.h"

#include <gtest/gtest.h>

#include "background/SyntheticRaster.h"
#include "map/BackgroundFile.h"
#include "map/BackgroundReader.h"
#include "map/RasterTile.h"
#include "support/GdalTools.h"
#include "support/TempDir.h"
#include "ui/ScriptedUserInterface.h"

namespace viamappa::background {
namespace {

using viamappa::testing::TempDir;

bool GdalPresent() {
  int status = 0;
  viamappa::testing::RunTool("gdalinfo --version && gdal_translate --version", &status);
  return status == 0;
}

// Red from the column, green from the row, blue from both: every pixel tells where it came from.
void Pattern(int x, int y, unsigned char* rgb) {
  rgb[0] = static_cast<unsigned char>(x);
  rgb[1] = static_cast<unsigned char>(y);
  rgb[2] = static_cast<unsigned char>(x + y);
}

RasterImage Decoded(BackgroundFile& file, const RasterEntry& raster) {
  RasterImage image;
  BackgroundReader in(file.source(), raster.offset, raster.bytes);
  EXPECT_TRUE(DecodeRasterTile(in, image)) << raster.name;
  return image;
}

TEST(OrthophotoFromRasterTest, AColourRasterBecomesTilesOfEveryLevelWithItsPixels) {
  if (!GdalPresent()) GTEST_SKIP() << "GDAL's tools are not installed";
  TempDir dir;
  // 600 x 300 pixels of 2 m with the top-left corner at (600000, 5000600).
  const RasterGrid grid{600, 300, 3, 600000, 5000600, 2};
  std::string error;
  ASSERT_TRUE(WriteSyntheticRaster(dir.File("orto.tif"), grid, Pattern, error)) << error;
  OrthophotoSummary summary;
  ASSERT_TRUE(WriteOrthophotoFromRaster(dir.File("orto.tif"), dir.File("orto.sfw"), summary, error)) << error;
  // Levels of 600 x 300, 300 x 150 and 150 x 75 pixels in tiles of 256: 6 + 2 + 1.
  EXPECT_EQ(summary.levels, 3);
  EXPECT_EQ(summary.tiles, 9);
  EXPECT_EQ(summary.extent, Box::Of(600000, 5000000, 601200, 5000600));

  ScriptedUserInterface ui;
  auto file = OpenBackground(dir.File("orto.sfw"), ui);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->extent(), summary.extent);
  ASSERT_EQ(file->rasters().size(), 9u);
  // The first tile: the top left 256 x 256 pixels, true colour, its pixels those of the source.
  const RasterEntry& first = file->rasters()[0];
  EXPECT_EQ(first.box, Box::Of(600000, 5000600 - 512, 600512, 5000600));
  const RasterImage top_left = Decoded(*file, first);
  EXPECT_EQ(top_left.bits_per_pixel, 24);
  for (const auto& [x, y] : {std::pair{0, 0}, {10, 20}, {255, 255}}) {
    unsigned char rgb[3];
    Pattern(x, y, rgb);
    EXPECT_EQ(top_left.PixelAt(x, y), static_cast<Colour>(rgb[0] | (rgb[1] << 8) | (rgb[2] << 16)))
        << x << "," << y;
  }
  // The last tile of the first level: 88 x 44 pixels at the bottom right, the image's own corner.
  const RasterEntry& corner = file->rasters()[5];
  EXPECT_EQ(corner.width, 600 - 512);
  EXPECT_EQ(corner.height, 300 - 256);
  EXPECT_EQ(corner.box, Box::Of(601024, 5000000, 601200, 5000088));
  // Each level shows where the one before gives way, with nothing shown twice or left out.
  std::vector<std::pair<std::int32_t, std::int32_t>> bounds;
  for (const RasterEntry& raster : file->rasters())
    if (bounds.empty() || bounds.back() != std::pair{raster.minimum, raster.maximum})
      bounds.emplace_back(raster.minimum, raster.maximum);
  const std::int32_t first_change = LevelChangeScale(2), second_change = LevelChangeScale(4);
  EXPECT_EQ(bounds, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                        {-1, first_change}, {first_change - 1, second_change}, {second_change - 1, -1}}));
  // The halved level averages four pixels.
  const RasterImage half = Decoded(*file, file->rasters()[6]);
  EXPECT_EQ(half.PixelAt(5, 0) & 0xFF, (10u + 11u + 10u + 11u + 2) / 4);
}

TEST(OrthophotoFromRasterTest, AGreyRasterBecomesPaletteTiles) {
  if (!GdalPresent()) GTEST_SKIP() << "GDAL's tools are not installed";
  TempDir dir;
  std::string error;
  ASSERT_TRUE(WriteSyntheticRaster(
      dir.File("grigio.tif"), {40, 30, 1, 1000, 2000, 0.5},
      [](int x, int y, unsigned char* v) { v[0] = static_cast<unsigned char>(x * 6 + y); }, error))
      << error;
  OrthophotoSummary summary;
  ASSERT_TRUE(WriteOrthophotoFromRaster(dir.File("grigio.tif"), dir.File("grigio.sfw"), summary, error))
      << error;
  EXPECT_EQ(summary.levels, 1);
  ScriptedUserInterface ui;
  auto file = OpenBackground(dir.File("grigio.sfw"), ui);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->rasters().size(), 1u);
  EXPECT_EQ(std::pair(file->rasters()[0].minimum, file->rasters()[0].maximum), std::pair(-1, -1));
  const RasterImage image = Decoded(*file, file->rasters()[0]);
  EXPECT_EQ(image.bits_per_pixel, 8);
  EXPECT_EQ(image.PixelAt(3, 2), 20u * 0x010101u);
}

TEST(OrthophotoFromRasterTest, ARasterWithoutGeoreferenceIsRefused) {
  if (!GdalPresent()) GTEST_SKIP() << "GDAL's tools are not installed";
  TempDir dir;
  const std::string raw = dir.File("semplice.pgm");
  std::ofstream(raw, std::ios::binary) << "P5\n2 2\n255\n" << std::string(4, '\x40');
  OrthophotoSummary summary;
  std::string error;
  EXPECT_FALSE(WriteOrthophotoFromRaster(raw, dir.File("x.sfw"), summary, error));
  EXPECT_NE(error.find("georeferenziato"), std::string::npos) << error;
  EXPECT_FALSE(WriteOrthophotoFromRaster(dir.File("manca.tif"), dir.File("x.sfw"), summary, error));
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.sfw")));
}

}  // namespace
}  // namespace viamappa::background
