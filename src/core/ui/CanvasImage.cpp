#include "ui/CanvasImage.h"

#include <atomic>

namespace viamappa {

namespace {
std::atomic<std::uint64_t> next_serial{1};
}  // namespace

CanvasImage::CanvasImage(int width, int height, std::vector<ImagePixel> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)), serial_(next_serial++) {
  pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kTransparentPixel);
}

}  // namespace viamappa
