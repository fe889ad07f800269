#include "ui/RasterImage.h"

namespace viamappa {

std::size_t RasterImage::StrideOf(int width, int bits_per_pixel) {
  const std::size_t pixels = width > 0 ? static_cast<std::size_t>(width) : 0;
  const std::size_t bytes = (pixels * static_cast<std::size_t>(bits_per_pixel) + 7) / 8;
  return (bytes + 3) / 4 * 4;
}

int RasterImage::PaletteRoom(int bits_per_pixel) {
  switch (bits_per_pixel) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    case 24:
      return 0;
    default:
      return -1;
  }
}

bool RasterImage::Create(int new_width, int new_height, int new_bits) {
  *this = RasterImage();
  const int room = PaletteRoom(new_bits);
  if (room < 0 || new_width < 1 || new_height < 1) return false;
  width = new_width;
  height = new_height;
  bits_per_pixel = new_bits;
  stride = StrideOf(new_width, new_bits);
  bits.assign(stride * static_cast<std::size_t>(new_height), 0);
  palette.assign(static_cast<std::size_t>(room), kBlack);
  if (new_bits == 1) palette[0] = kWhite;
  return true;
}

Colour RasterImage::PixelAt(int x, int y) const {
  const std::uint8_t* row = Row(y);
  switch (bits_per_pixel) {
    case 1:
      return palette[(row[x / 8] >> (7 - x % 8)) & 1];
    case 4:
      return palette[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
    case 8:
      return palette[row[x]];
    default: {
      const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
      return static_cast<Colour>(p[2]) | (static_cast<Colour>(p[1]) << 8) | (static_cast<Colour>(p[0]) << 16);
    }
  }
}

}  // namespace viamappa
