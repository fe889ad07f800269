// The state of the map window that its commands switch: the navigation tool and the mode flags.
#pragma once

namespace viamappa {

// The navigation tool of the map window (pan, zoom, area selection), shown checked in the menus.
enum class NavigationTool { None, Pan, Zoom, AreaSelection };

// The mode flags of the map window and the path points it knows.
struct MapModes {
  bool drag = false;  // move vertices
  bool adjust_segment = false;
  bool draw_arc = false;
  bool delete_vertex = false;
  bool highlighting = false;  // road highlighting is on
  bool pick_start = false;    // the next click picks the start point of a path
  bool pick_end = false;      // the next click picks its end point
  bool start_point_set = false;
  bool end_point_set = false;

  bool operator==(const MapModes&) const = default;
};

}  // namespace viamappa
