// The view one redraw draws: the window's world rectangle, its resolution and scale, its size in
// pixels and whether the redraw is fast. Converts world points to the pixels of the drawing surface.
#pragma once

#include <cstdint>

#include "base/Box.h"
#include "map/DeviceMetrics.h"
#include "map/Viewport.h"

namespace viamappa {

struct RenderView {
  double resolution = 1.0;  // metres per screen unit
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  std::int32_t denominator = 10000;  // N, which labels follow
  int width = 0, height = 0;         // pixels
  DeviceMetrics metrics;
  bool fast = false;

  // The view of a viewport whose extent is up to date.
  static RenderView Of(const Viewport& viewport, bool fast);

  // N_eff: the scale every visibility test of the redraw uses, ten times N when fast.
  std::int32_t EffectiveDenominator() const;

  Box Window() const { return Box::Of(x0, y0, x1, y1); }

  // Pixels per metre of ground, and the pixel position of a world point (rows counted downward).
  double PixelsPerMetre() const { return metrics.ScreenUnitsToPixels(1.0) / resolution; }
  Point ToPixel(double x, double y) const {
    const double k = PixelsPerMetre();
    return {(x - x0) * k, static_cast<double>(height) - (y - y0) * k};
  }
  double ScreenUnitsToPixels(double units) const { return metrics.ScreenUnitsToPixels(units); }
};

}  // namespace viamappa
