// The data of one raster of a background file and where it lands on the map. A tile is a 16-byte
// header (two 3-byte values of the producer, width, height, bits per pixel, palette entries and the
// stored row size, big-endian), the palette (blue, green, red), then the rows from the top of the
// image down. Decoded for a redraw and let go after it.
#pragma once

#include <cstdint>

#include "map/BackgroundReader.h"
#include "map/RenderView.h"
#include "ui/RasterImage.h"

namespace viamappa {

inline constexpr std::size_t kRasterTileHeaderBytes = 16;

// Decodes the tile that in reads (the raster's data). False, with the image left empty, when it breaks
// its own sizes: a depth other than 1, 4, 8 or 24, no pixels, more palette entries than the depth has
// room for, rows shorter than their pixels, or palette and rows beyond the data there.
bool DecodeRasterTile(BackgroundReader& in, RasterImage& image);

// How a raster of box and size (pixels) shows in a view.
struct RasterPlacement {
  enum class Kind {
    Nothing,  // outside the view, or at most a pixel wide or high there
    GreyBox,  // so enlarged that a pixel would cover more than 25 of the window's: a plain box instead
    Image,
  };
  Kind kind = Kind::Nothing;
  ImageRect source;                            // the image's pixels inside the view
  double x = 0, y = 0, width = 0, height = 0;  // Image: where they go; GreyBox: the box, in window pixels
};

RasterPlacement PlaceRaster(const Box& box, int width, int height, const RenderView& view);

}  // namespace viamappa
