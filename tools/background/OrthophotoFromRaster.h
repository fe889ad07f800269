// An orthophoto file from a georeferenced raster (a GeoTIFF or anything GDAL reads): GDAL's tools give
// the georeference and the pixels (as a plain PPM or PGM file); the pixels are cut into tiles, with
// halved copies of the image as further levels, each level visible over the scales where one of its
// pixels covers about one to two pixels of a 96 dpi screen. Colour rasters become true-colour tiles,
// single-band rasters grey palette tiles.
#pragma once

#include <string>

#include "base/Box.h"

namespace viamappa::background {

struct OrthophotoSummary {
  int width = 0;  // pixels of the source
  int height = 0;
  int bands = 0;
  int levels = 0;
  int tiles = 0;
  int tile_size = 0;
  Box extent;
};

// The scale denominator at which one pixel of that size in metres covers two pixels of a 96 dpi
// screen, where one level gives way to the next, halved.
std::int32_t LevelChangeScale(double pixel_metres);

// Writes path from raster. False with the reason in error when GDAL's tools are missing or fail, the
// raster has no georeference without rotation, or the file cannot be written.
bool WriteOrthophotoFromRaster(const std::string& raster, const std::string& path, OrthophotoSummary& summary,
                               std::string& error);

}  // namespace viamappa::background
