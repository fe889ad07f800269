#include "map/DeviceMetrics.h"

#include <cmath>

namespace viamappa {

std::int64_t DeviceMetrics::PixelsToHundredths(std::int64_t pixels) const {
  return std::llround(static_cast<double>(pixels) * hundredths_per_pixel_);
}

std::int64_t DeviceMetrics::PixelsToScreenUnits(std::int64_t pixels) const {
  const std::int64_t hundredths = PixelsToHundredths(pixels);
  return hundredths / 10 + (hundredths % 10 >= 5 ? 1 : 0);
}

}  // namespace viamappa
