#include "map/RasterTile.h"

#include <algorithm>
#include <cmath>

namespace viamappa {

namespace {

struct TileHeader {
  int width = 0;
  int height = 0;
  int bits = 0;
  std::uint32_t palette_entries = 0;
  std::uint32_t row_bytes = 0;
};

bool ReadTileHeader(BackgroundReader& in, TileHeader& header) {
  // The two 3-byte values come from the producer and mean nothing to the drawing.
  std::uint32_t width = 0, height = 0, bits = 0;
  if (!(in.Skip(6) && in.Be16(width) && in.Be16(height) && in.Be16(bits) && in.Be16(header.palette_entries) &&
        in.Be16(header.row_bytes)))
    return false;
  header.width = static_cast<int>(width);
  header.height = static_cast<int>(height);
  header.bits = static_cast<int>(bits);
  return true;
}

}  // namespace

bool DecodeRasterTile(BackgroundReader& in, RasterImage& image) {
  image = RasterImage();
  TileHeader header;
  if (!ReadTileHeader(in, header)) return false;
  const int room = RasterImage::PaletteRoom(header.bits);
  if (room < 0 || header.width < 1 || header.height < 1) return false;
  if (header.palette_entries > static_cast<std::uint32_t>(room)) return false;
  const std::uint64_t pixel_bytes = (static_cast<std::uint64_t>(header.width) * header.bits + 7) / 8;
  if (header.row_bytes < pixel_bytes) return false;
  // Everything is held against the data there before the image takes its memory.
  const std::uint64_t needed =
      3ull * header.palette_entries + static_cast<std::uint64_t>(header.height) * header.row_bytes;
  if (needed > in.remaining()) return false;
  if (!image.Create(header.width, header.height, header.bits)) return false;
  for (std::uint32_t i = 0; i < header.palette_entries; ++i) {
    unsigned char bgr[3];
    if (!in.Read(bgr, 3)) return false;
    image.palette[i] = static_cast<Colour>(bgr[2]) | (static_cast<Colour>(bgr[1]) << 8) |
                       (static_cast<Colour>(bgr[0]) << 16);
  }
  const std::size_t copied = std::min<std::size_t>(image.stride, header.row_bytes);
  for (int y = 0; y < header.height; ++y) {
    if (!in.Read(image.Row(y), copied) || !in.Skip(header.row_bytes - copied)) {
      image = RasterImage();
      return false;
    }
  }
  return true;
}

RasterPlacement PlaceRaster(const Box& box, int width, int height, const RenderView& view) {
  RasterPlacement placement;
  if (width < 1 || height < 1) return placement;
  const Box shown = Box::Of(std::max(box.minx, view.x0), std::max(box.miny, view.y0),
                            std::min(box.maxx, view.x1), std::min(box.maxy, view.y1));
  if (!(shown.minx < shown.maxx && shown.miny < shown.maxy)) return placement;
  const double pixel_x = (box.maxx - box.minx) / width;
  const double pixel_y = (box.maxy - box.miny) / height;
  if (!(pixel_x > 0 && pixel_y > 0) || !std::isfinite(pixel_x) || !std::isfinite(pixel_y)) return placement;

  const Point top_left = view.ToPixel(shown.minx, shown.maxy);
  const Point bottom_right = view.ToPixel(shown.maxx, shown.miny);
  if (bottom_right.x - top_left.x <= 1 || bottom_right.y - top_left.y <= 1) return placement;

  // The image's pixels that cover the part shown, whole ones; they go where they lie on the map, so
  // the picture does not shift as the view moves across pixel edges.
  const auto clamp = [](double value, int limit) {
    return static_cast<int>(std::clamp(value, 0.0, static_cast<double>(limit)));
  };
  const int left = clamp(std::floor((shown.minx - box.minx) / pixel_x), width);
  const int right = clamp(std::ceil((shown.maxx - box.minx) / pixel_x), width);
  const int top = clamp(std::floor((box.maxy - shown.maxy) / pixel_y), height);
  const int bottom = clamp(std::ceil((box.maxy - shown.miny) / pixel_y), height);
  if (right <= left || bottom <= top) return placement;
  placement.source = {left, top, right - left, bottom - top};
  const Point from = view.ToPixel(box.minx + left * pixel_x, box.maxy - top * pixel_y);
  const Point to = view.ToPixel(box.minx + right * pixel_x, box.maxy - bottom * pixel_y);

  // Source pixels over destination pixels below 0.04 in either direction: too enlarged to show.
  constexpr double kLeastRatio = 0.04;
  if (placement.source.width / (to.x - from.x) < kLeastRatio ||
      placement.source.height / (to.y - from.y) < kLeastRatio) {
    placement.kind = RasterPlacement::Kind::GreyBox;
    placement.x = top_left.x;
    placement.y = top_left.y;
    placement.width = bottom_right.x - top_left.x;
    placement.height = bottom_right.y - top_left.y;
    return placement;
  }
  placement.kind = RasterPlacement::Kind::Image;
  placement.x = from.x;
  placement.y = from.y;
  placement.width = to.x - from.x;
  placement.height = to.y - from.y;
  return placement;
}

}  // namespace viamappa
