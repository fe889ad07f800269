// The map view the program keeps between runs.
#pragma once

namespace viamappa {

// Resolution in metres per tenth of a millimetre and the origin. A resolution of exactly 1.0 means no
// stored view, and the map starts on the home view.
struct SavedMapView {
  double resolution = 1.0;
  double origin_x = 0.0;
  double origin_y = 0.0;

  bool operator==(const SavedMapView&) const = default;
};

}  // namespace viamappa
