// The interaction state of the map window while the person edits, and what one step of it asks of the
// window. The state is transient: the pointer's moves re-evaluate it, and every feature it refers to is
// held through a FeatureRef, so that nothing in it outlives the map data.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "edit/GeometryEdits.h"
#include "edit/Picking.h"
#include "map/MapNavigation.h"
#include "ui/StatusPanes.h"

namespace viamappa {

struct EditingState {
  FeatureRef<LineFeature> hot_arc;       // the arc under the pointer
  bool hot_arc_highlighted = false;      // drawn highlighted (an arc made hot by a snap is not)
  std::optional<Point> hot_vertex;       // the picked vertex of the hot arc
  Point grab_offset;                     // screen units from the pointer to the vertex when picked
  std::optional<Point> snap_point;       // where the pointer snapped in the drawing and path modes
  std::optional<std::int32_t> snap_arc;  // the arc the snapped point lies on; none at a node
  std::optional<DropTarget> drop_target;
  PendingGeometry pending;  // what the drag under way changed and has not written
  std::map<std::int32_t, DropExclusions> drop_exclusions;  // of the drag under way, by part

  std::optional<std::vector<Point>> traced;  // the new arc being drawn
  std::optional<PixelPoint> band_end;        // the pointer where the rubber band was drawn last

  PixelPoint pointer{-1, -1};  // the last pointer position

  FeatureRef<AreaFeature> hot_locality;  // the locality and the municipality under the pointer
  FeatureRef<AreaFeature> hot_municipality;
  std::string arc_label;  // the hover label of the highlighted arc
  PixelPoint label_at;    // where the pointer was when the labels appeared
};

// What the window does after an editing step, in this order: redraw (everything, or the layers over
// the kept background), repaint the overlay over the kept image, move the system pointer, write the
// panes that are given, set the pointer shape.
struct EditOutcome {
  bool claimed = false;        // the step was the editing's: the navigation does not see the event
  bool full_redraw = false;    // the view moved
  bool vector_redraw = false;  // the layers changed
  bool overlay = false;        // the overlay changed
  bool clear_navigation_tool = false;
  std::optional<PixelPoint> warp_pointer;
  StatusTexts panes;
  std::optional<PointerShape> pointer;
  GraphChange change;  // what the step stored

  // Takes in what an edit stored: the layers are redrawn.
  void Stored(GraphChange stored) {
    if (stored.empty()) return;
    vector_redraw = true;
    change.Append(stored);
  }
};

// The pointer as an event brings it.
struct PointerInput {
  int x = 0;
  int y = 0;
  bool left_held = false;
  NavigationTool tool = NavigationTool::None;
};

// What the editing asks of the rest of the program.
struct EditorHooks {
  GraphEditHooks graph;
  // Every edit stored, as one change, for undo.
  std::function<void(const GraphChange&)> edit_stored;
  // The path's start and end chosen at a point of the graph, with the arc it lies on (none at a node).
  std::function<void(const Point&, std::optional<std::int32_t> arc)> route_start;
  std::function<void(const Point&, std::optional<std::int32_t> arc)> route_end;
  // The name shown beside the pointer over an arc; false for none.
  std::function<bool(std::int32_t arc_id, std::string& name)> arc_name;
};

// What the gestures share for one step.
struct EditContext {
  GraphCaches& caches;
  GeometryEdits& edits;
  Viewport& viewport;
  EditingState& state;
  const MapModes& modes;
  const EditorHooks& hooks;
  EditOutcome& outcome;
};

}  // namespace viamappa
