// The command table: who carries out each command of the menus, the toolbar and the keys, when the
// commands of the main window are enabled and checked, and how the mode commands of the map window
// change its mode flags. Pure functions of a small state, so that the windows only ask and draw.
#pragma once

#include "map/MapModes.h"

namespace viamappa {

// Who carries out a command.
enum class CommandOwner {
  None,        // no command has this id
  MainWindow,  // the main window: database, imports, exports, utilities, styling, information, exit
  Navigation,  // the map window's navigation: tools, home and previous views, zooms and moves
  Modes,       // the mode flags of the map window (40007 to 40013)
  MapWindow,   // the map window's other commands: the toponym search, the editing commands and keys
};

struct CommandRoute {
  CommandOwner owner = CommandOwner::None;
  // The main window's table decides when the command is enabled and checked: its keys and the entries
  // of the map window's context menu go through the main window.
  bool main_table = false;

  bool operator==(const CommandRoute&) const = default;
};

// The route of a command id.
CommandRoute RouteOf(int id);

// What the enable and check rules read.
struct CommandContext {
  bool database_open = false;    // a connection exists and is open
  bool map_data = false;         // the map data of the database exist
  bool layer_list = false;       // the map data hold their list of layers
  bool extent_set = false;       // at least one object of the map data was loaded
  bool thematic_layers = false;  // at least one thematic layer is defined
  bool map_window = false;       // the map window exists
  NavigationTool navigation = NavigationTool::None;
  MapModes modes;  // of the map window; all off without one
};

struct CommandStatus {
  bool enabled = false;
  bool checked = false;

  bool operator==(const CommandStatus&) const = default;
};

// The state of a command of the main window's table; an id the table does not hold is disabled.
CommandStatus QueryCommand(int id, const CommandContext& context);

// True for the commands 40007 to 40013, which change the mode flags of the map window.
bool IsModeCommand(int id);

// True when the mode command id, given the current flags, first asks for the highlighting criteria
// (road highlighting being turned on).
bool AsksHighlightingCriteria(int id, const MapModes& modes);

struct ModeChange {
  MapModes modes;
  bool forget_highlighting = false;  // the highlighted roads are thrown away
};

// The flags after the mode command id. criteria_chosen tells, for the highlighting command, whether
// the person chose criteria when asked. A command that is no mode command changes nothing.
ModeChange ApplyModeCommand(int id, const MapModes& modes, bool criteria_chosen = false);

}  // namespace viamappa
