#include "background/BackgroundWriter.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace viamappa::background {
namespace {

using viamappa::testing::Hex;
using viamappa::testing::ReadText;
using viamappa::testing::TempDir;

// The header of a file without directories' contents, all four at byte 128, byte for byte.
TEST(BackgroundWriterTest, HeadersWithAndWithoutPackedCoordinatesAndWideOffsets) {
  const std::string extent = "000000000000F03F 0000000000000040 0000000000000840 0000000000001040";
  const std::string zeros20 = std::string(40, '0');
  const std::string origin = "0000000080841E41 00000000D0125341";
  const std::string no_origin = std::string(32, '0');
  const struct {
    BackgroundFormat format;
    bool packed, wide;
    std::string header;
  } kCases[] = {
      {BackgroundFormat::Cartography, false, false,
       "534658 A9" + extent + "00000080 0000 0000 00000080 0000 0000" + zeros20 +
           "00000080 00000000 0000 00000080 00000000 0000 00" + no_origin +
           "00 00000000 00000000 00000000 00000000 00 0A"},
      {BackgroundFormat::Cartography, true, false,
       "534658 A9" + extent + "00000080 0000 0000 00000080 0000 0000" + zeros20 +
           "00000080 00000000 0000 00000080 00000000 0000 43" + origin +
           "00 00000000 00000000 00000000 00000000 00 0A"},
      // 64-bit offsets: the high halves in the directories' places, the low ones from byte 110.
      {BackgroundFormat::Cartography, true, true,
       "534658 A9" + extent + "00000000 0000 0000 00000000 0000 0000" + zeros20 +
           "00000000 00000000 0000 00000000 00000000 0000 43" + origin +
           "58 00000080 00000080 00000080 00000080 00 0A"},
      // An orthophoto names only its rasters, and never packs.
      {BackgroundFormat::Orthophoto, true, false,
       "534657 A9" + extent + "00000000 0000 0000 00000000 0000 0000" + zeros20 +
           "00000000 00000000 0000 00000080 00000000 0000 00" + no_origin +
           "00 00000000 00000000 00000000 00000000 00 0A"},
  };
  TempDir dir;
  for (const auto& c : kCases) {
    WriterOptions options;
    options.packed = c.packed;
    options.wide = c.wide;
    options.origin = {500000, 5000000};
    BackgroundWriter writer(c.format, options);
    ASSERT_TRUE(writer.Open(dir.File("vuoto")));
    ASSERT_TRUE(writer.Finish(Box::Of(1, 2, 3, 4))) << writer.error();
    const std::string expected = Hex(c.header);
    ASSERT_EQ(expected.size(), kBackgroundHeaderBytes);
    EXPECT_EQ(ReadText(dir.File("vuoto")), expected) << c.packed << c.wide;
  }
}

TEST(BackgroundWriterTest, WhatTheFormatCannotHoldIsRefusedAndLeavesNoFile) {
  TempDir dir;
  const std::string path = dir.File("troppo.sfx");
  WriterOptions options;
  options.packed = true;
  BackgroundWriter far(BackgroundFormat::Cartography, options);
  ASSERT_TRUE(far.Open(path));
  TileContent tile;
  // 2,200 km from the origin: beyond 32-bit millimetres.
  tile.themes = {{"T", {{{0, 0}, {2200000, 0}}}, {}, {}}};
  EXPECT_FALSE(far.AddTile(tile));
  EXPECT_FALSE(far.error().empty());
  EXPECT_FALSE(std::filesystem::exists(path));

  BackgroundWriter large(BackgroundFormat::Orthophoto, {});
  ASSERT_TRUE(large.Open(path));
  RasterImage wide;
  wide.Create(30000, 1, 24);  // rows of 90,000 bytes do not fit a 2-byte row size
  EXPECT_FALSE(large.AddRaster({}, wide));
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace viamappa::background
