// An image decoded from a raster background tile, as the drawing surface receives it: a palette image
// of 1, 4 or 8 bits a pixel or a true-colour image of 24 (blue, green, red bytes). Rows run from the top
// of the image down, each padded to a multiple of 4 bytes; within a byte the leftmost pixel takes the
// highest bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/Canvas.h"

namespace viamappa {

struct RasterImage {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
  std::size_t stride = 0;          // bytes of a row
  std::vector<std::uint8_t> bits;  // height x stride
  std::vector<Colour> palette;     // as every colour of the surface, 0x00BBGGRR

  // Bytes of a row of that width and depth: the pixels' bytes rounded up to a multiple of 4.
  static std::size_t StrideOf(int width, int bits_per_pixel);

  // The palette room of a depth: 2, 16 or 256 entries, none for true colour; -1 for any other depth.
  static int PaletteRoom(int bits_per_pixel);

  // Makes an image of that size with zeroed rows and the starting palette of its depth (white and
  // black for 1 bit, black entries filling the room otherwise). False, leaving it empty, for a depth
  // other than 1, 4, 8 or 24 or a size below 1.
  bool Create(int width, int height, int bits_per_pixel);

  std::uint8_t* Row(int y) { return bits.data() + static_cast<std::size_t>(y) * stride; }
  const std::uint8_t* Row(int y) const { return bits.data() + static_cast<std::size_t>(y) * stride; }

  // The colour of a pixel inside the image, through the palette for palette images.
  Colour PixelAt(int x, int y) const;
};

}  // namespace viamappa
