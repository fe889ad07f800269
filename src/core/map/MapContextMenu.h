// The map window's context menu as data: three sub-menus ("&Navigazione", "&Modi Editing",
// "&Editing") built anew at each right click from the state of the window, with the check marks and
// the greyed entries of that moment.
#pragma once

#include <string>
#include <vector>

#include "map/MapModes.h"

namespace viamappa {

struct MapMenuEntry {
  enum class Kind { Command, Separator, Popup };

  Kind kind = Kind::Command;
  int id = 0;
  // The label; for an owner-drawn entry the label of the command in the main window's menus, which the
  // window draws beside the command's image.
  std::string text;
  bool owner_drawn = false;
  bool checked = false;
  bool enabled = true;
  std::vector<MapMenuEntry> items;  // the entries of a Popup
};

// What the editing part of the window is doing at the click.
enum class EditingSituation {
  None,
  Digitising,   // a new arc is being drawn
  ArcSelected,  // an arc is under the pointer
};

struct MapMenuState {
  NavigationTool tool = NavigationTool::Zoom;
  bool can_go_back = false;     // the view history holds a previous view
  bool graph_has_arcs = false;  // the layer of the arcs holds at least one
  MapModes modes;
  EditingSituation situation = EditingSituation::None;
  bool vertex_chosen = false;  // the vertex-deletion mode has picked a vertex
  bool point_chosen = false;   // a path mode has a point on the graph under the pointer
  bool can_undo = false;       // an edit can be taken back
  bool can_redo = false;       // an edit taken back can be done again
};

// The three sub-menus, in order. The editing one ends with the undo and the redo of edits, greyed when
// there is nothing to take back or to do again.
std::vector<MapMenuEntry> BuildMapContextMenu(const MapMenuState& state);

}  // namespace viamappa
