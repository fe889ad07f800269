// Small background files made with the program's writer.
#pragma once

#include <string>

#include "background/BackgroundWriter.h"
#include "support/TempDir.h"

namespace viamappa::testing {

inline BackgroundTheme Theme(std::string code, Colour colour, std::int32_t minimum = -1,
                             std::int32_t maximum = -1) {
  BackgroundTheme theme;
  theme.code = std::move(code);
  theme.description = "Tema " + theme.code;
  theme.line_colour = colour;
  theme.border_colour = colour;
  theme.fore_colour = colour;
  theme.fill = -4;
  theme.minimum = minimum;
  theme.maximum = maximum;
  return theme;
}

// A 4 x 2 palette raster of 8 bits: the top row red, green, blue, white; the bottom row black.
inline RasterImage SmallRaster() {
  RasterImage image;
  image.Create(4, 2, 8);
  image.palette[1] = 0x0000FF;
  image.palette[2] = 0x00FF00;
  image.palette[3] = 0xFF0000;
  image.palette[4] = 0xFFFFFF;
  for (int x = 0; x < 4; ++x) image.Row(0)[x] = static_cast<std::uint8_t>(x + 1);
  return image;
}

// A cartography file of two tiles and one raster:
// - tile 1 over (0, 0) .. (1000, 1000): an area (theme "AREE", red) of a square 100..400 with a hole,
//   a line (theme "LINEE", green) from (500, 500) to (900, 500), the same line in "LONTANE" (visible
//   only from 1:50000 to 1:60000), a point (theme "PUNTI", blue) at (700, 700), and two texts: "Fisso"
//   12 screen units high at (500, 550) (style "FISSO") and "Metri" 5 m high at (700, 550) ("METRI");
// - tile 2 over (10000, 10000) .. (11000, 11000): a line of "LINEE";
// - the raster SmallRaster over (2000, 0) .. (2400, 200).
inline std::string WriteSmallCartography(const TempDir& dir, bool packed, bool wide,
                                         const std::string& name = "carta.sfx") {
  using namespace background;
  WriterOptions options;
  options.packed = packed;
  options.wide = wide;
  options.origin = {-500, -500};
  BackgroundWriter writer(BackgroundFormat::Cartography, options);
  const std::string path = dir.File(name);
  if (!writer.Open(path)) return {};
  writer.SetThemes({Theme("AREE", 0x0000FF), Theme("LINEE", 0x00FF00),
                    Theme("LONTANE", 0x808000, 50000, 60000), Theme("PUNTI", 0xFF0000)});
  writer.SetTextStyles({{"FISSO", "Testi fissi", -1, -1, 0x000080, "Arial"},
                        {"METRI", "Testi in metri", -1, -1, 0x008000, ""}});
  TileContent first;
  first.id = 1;
  first.name = "Prima";
  AreaEntity area{{{100, 100}, {400, 100}, {400, 400}, {100, 400}, {100, 100}},
                  {{{200, 200}, {300, 200}, {300, 300}, {200, 300}, {200, 200}}}};
  first.themes = {{"AREE", {}, {area}, {}},
                  {"LINEE", {{{500, 500}, {900, 500}}}, {}, {}},
                  {"LONTANE", {{{500, 500}, {900, 500}}}, {}, {}},
                  {"PUNTI", {}, {}, {{700, 700}}}};
  first.texts = {{"FISSO", {{{500, 550}, 12, true, 0, 0, "Fisso"}}},
                 {"METRI", {{{700, 550}, 5, false, 0, 0, "Metri"}}}};
  TileContent second;
  second.id = 2;
  second.name = "Seconda";
  second.themes = {{"LINEE", {{{10000, 10000}, {11000, 11000}}}, {}, {}}};
  RasterPlace raster;
  raster.id = 7;
  raster.name = "Immagine";
  raster.box = Box::Of(2000, 0, 2400, 200);
  const bool written = writer.AddTile(first) && writer.AddTile(second) &&
                       writer.AddRaster(raster, SmallRaster()) && writer.Finish(Box::Of(0, 0, 11000, 11000));
  return written ? path : std::string();
}

}  // namespace viamappa::testing
