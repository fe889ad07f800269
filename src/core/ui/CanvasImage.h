// A small image with transparency that surfaces draw pixel for pixel: symbols and their like.
#pragma once

#include <cstdint>
#include <vector>

namespace viamappa {

// A pixel as 0xAABBGGRR: a colour with its opacity in the high byte.
using ImagePixel = std::uint32_t;
inline constexpr ImagePixel kTransparentPixel = 0;
inline constexpr ImagePixel kOpaque = 0xFF000000;

// An image never changes once made; its serial tells images apart, so that a surface may keep its own
// converted copy of one while it draws. Copies share the serial of their original.
class CanvasImage {
 public:
  CanvasImage() = default;
  // pixels: width x height of them, rows from the top. Fully transparent pixels must be 0.
  CanvasImage(int width, int height, std::vector<ImagePixel> pixels);

  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<ImagePixel>& pixels() const { return pixels_; }
  ImagePixel At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  std::uint64_t serial() const { return serial_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<ImagePixel> pixels_;
  std::uint64_t serial_ = 0;
};

}  // namespace viamappa
