// How pixels of the display convert to hundredths of a millimetre and to screen units (tenths of a
// millimetre), the units the map scale is defined in.
#pragma once

#include <cstdint>

namespace viamappa {

class DeviceMetrics {
 public:
  // hundredths_per_pixel: hundredths of a millimetre one pixel covers on the display (2540 / 96 for a
  // 96 dpi screen). The desktop program gives the screen's own; tests fix it.
  explicit DeviceMetrics(double hundredths_per_pixel = 2540.0 / 96.0)
      : hundredths_per_pixel_(hundredths_per_pixel) {}

  double hundredths_per_pixel() const { return hundredths_per_pixel_; }

  // Pixels to hundredths of a millimetre, rounded to the nearest (halves away from zero).
  std::int64_t PixelsToHundredths(std::int64_t pixels) const;

  // Pixels to screen units: the hundredths divided by ten, truncated toward zero, plus one when the
  // remainder is 5 or more (a negative remainder never adds).
  std::int64_t PixelsToScreenUnits(std::int64_t pixels) const;

  // Screen units (fractional) to pixels, for drawing.
  double ScreenUnitsToPixels(double units) const { return units * 10.0 / hundredths_per_pixel_; }

 private:
  double hundredths_per_pixel_;
};

}  // namespace viamappa
