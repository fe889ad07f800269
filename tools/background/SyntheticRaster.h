// Georeferenced rasters of known pixels for tests and benchmarks: the pixels are written raw, described
// by a GDAL virtual raster and turned into a GeoTIFF by gdal_translate.
#pragma once

#include <functional>
#include <string>

#include "base/Box.h"

namespace viamappa::background {

struct RasterGrid {
  int width = 0;
  int height = 0;
  int bands = 3;        // 1 (grey) or 3 (red, green, blue)
  double origin_x = 0;  // the top-left corner
  double origin_y = 0;
  double pixel = 1;  // metres, square
};

// The samples of pixel (x, y), row 0 at the top: bands values.
using PixelSource = std::function<void(int x, int y, unsigned char* samples)>;

// Writes a GeoTIFF at path. False with the reason in error.
bool WriteSyntheticRaster(const std::string& path, const RasterGrid& grid, const PixelSource& pixels,
                          std::string& error);

}  // namespace viamappa::background
