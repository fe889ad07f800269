// Views over windows where one pixel is one screen unit, for the viewport and navigation tests.
#pragma once

#include "map/DeviceMetrics.h"
#include "map/Viewport.h"

namespace viamappa::test {

// One pixel is one screen unit; an 800 x 600 window at r = 1 shows 1:10000.
inline const DeviceMetrics kOneUnitPixels(10.0);

inline Viewport ViewOf(double r, double x0, double y0, int w = 800, int h = 600) {
  Viewport view(kOneUnitPixels, {r, x0, y0});
  view.SetClientSize(w, h);
  return view;
}

}  // namespace viamappa::test
