// The settings the program keeps between runs: the associated database, the background cartography
// file, the styling of the five editable map layers and the map view at exit.
#pragma once

#include <string>

#include "map/MapStyling.h"
#include "map/SavedMapView.h"

namespace viamappa {

struct Settings {
  std::string database;    // path of the associated database; empty means none
  std::string background;  // path of the background cartography file; empty means none
  MapStyling styling;
  SavedMapView view;

  bool operator==(const Settings&) const = default;
};

}  // namespace viamappa
