#include "app/CommandTable.h"

#include "map/CommandIds.h"

namespace viamappa {

namespace {

// The four editing flags are exclusive: at most one is on.
bool& EditingFlag(MapModes& modes, int id) {
  switch (id) {
    case cmd::kDragMode:
      return modes.drag;
    case cmd::kAdjustSegmentMode:
      return modes.adjust_segment;
    case cmd::kDrawArcMode:
      return modes.draw_arc;
    default:
      return modes.delete_vertex;
  }
}

void ClearEditing(MapModes& modes) {
  modes.drag = modes.adjust_segment = modes.draw_arc = modes.delete_vertex = false;
}

void ForgetPath(MapModes& modes) {
  modes.pick_start = modes.pick_end = false;
  modes.start_point_set = modes.end_point_set = false;
}

}  // namespace

CommandRoute RouteOf(int id) {
  using enum CommandOwner;
  if (id >= cmd::kExit && id <= cmd::kExportTramex) {
    switch (id) {
      case cmd::kPreviousView:
        return {Navigation, false};
      case cmd::kEditArcData:
      case cmd::kStartNewArc:
      case cmd::kDeleteChosenVertex:
      case cmd::kChoosePathStart:
      case cmd::kChoosePathEnd:
        return {MapWindow, false};
      default:
        return {MainWindow, true};
    }
  }
  if (id >= cmd::kZoomInTwice && id <= cmd::kMoveSouthEast) return {Navigation, false};
  if (id >= cmd::kInsertVertex && id <= cmd::kLastMapKeyCommand) return {MapWindow, false};
  switch (id) {
    case cmd::kUndoEdit:
    case cmd::kRedoEdit:
      return {MapWindow, false};
    case cmd::kPan:
    case cmd::kZoom:
    case cmd::kAreaSelection:
    case cmd::kHomeView:
      return {Navigation, true};
    case cmd::kThematicStyling:
    case cmd::kValidateGraph:
      return {MainWindow, true};
    case cmd::kToponymSearch:
      return {MapWindow, true};
    default:
      return IsModeCommand(id) ? CommandRoute{Modes, true} : CommandRoute{};
  }
}

CommandStatus QueryCommand(int id, const CommandContext& c) {
  const bool editing = c.map_data && c.map_window && c.layer_list && c.extent_set;
  switch (id) {
    case cmd::kExit:
    case cmd::kAbout:
    case cmd::kCreateDatabase:
    case cmd::kConnectDatabase:
    case cmd::kDisconnectDatabase:
    case cmd::kRepairDatabase:
    case cmd::kDuplicateDatabase:
    case cmd::kChooseBackground:
      return {true, false};
    case cmd::kImportMunicipalities:
    case cmd::kImportLocalities:
    case cmd::kImportToponyms:
    case cmd::kImportRoadGraph:
    case cmd::kImportSecondaryGraph:
    case cmd::kExportRoadGraph:
    case cmd::kExportChanges:
    case cmd::kExportTramex:
    case cmd::kLocalizeRoadGraph:
    case cmd::kLocalizeToponyms:
    case cmd::kRenameArcs:
    case cmd::kExportStreetList:
    case cmd::kRegenerateNodes:
    case cmd::kMergeBrokenArcs:
    case cmd::kValidateGraph:
      return {c.database_open, false};
    case cmd::kPan:
      return {c.map_data, c.navigation == NavigationTool::Pan};
    case cmd::kZoom:
      return {c.map_data, c.navigation == NavigationTool::Zoom};
    case cmd::kAreaSelection:
      return {c.map_data, c.navigation == NavigationTool::AreaSelection};
    case cmd::kHomeView:
      return {c.map_data, false};
    case cmd::kThematicStyling:
      return {c.map_data && c.map_window && c.thematic_layers, false};
    case cmd::kToponymSearch:
      return {c.map_data && c.map_window, false};
    case cmd::kDragMode:
      return {editing, c.modes.drag};
    case cmd::kAdjustSegmentMode:
      return {editing, c.modes.adjust_segment};
    case cmd::kDrawArcMode:
      return {editing, c.modes.draw_arc};
    case cmd::kDeleteVertexMode:
      return {editing, c.modes.delete_vertex};
    case cmd::kHighlightRoads:
      return {editing, c.modes.highlighting};
    case cmd::kPathStart:
      return {editing, c.modes.pick_start};
    case cmd::kPathEnd:
      return {editing && c.modes.start_point_set, c.modes.pick_end};
    default:
      return {false, false};
  }
}

bool IsModeCommand(int id) {
  return id >= cmd::kDragMode && id <= cmd::kPathEnd;
}

bool AsksHighlightingCriteria(int id, const MapModes& modes) {
  return id == cmd::kHighlightRoads && !modes.highlighting;
}

ModeChange ApplyModeCommand(int id, const MapModes& before, bool criteria_chosen) {
  ModeChange change{before, false};
  MapModes& m = change.modes;
  switch (id) {
    case cmd::kDragMode:
    case cmd::kAdjustSegmentMode:
    case cmd::kDrawArcMode:
    case cmd::kDeleteVertexMode: {
      const bool on = !EditingFlag(m, id);
      ClearEditing(m);
      EditingFlag(m, id) = on;
      m.highlighting = false;
      ForgetPath(m);
      change.forget_highlighting = true;
      break;
    }
    case cmd::kHighlightRoads:
      if (m.highlighting) {
        m.highlighting = false;
        change.forget_highlighting = true;
      } else {
        m.highlighting = criteria_chosen;
      }
      ClearEditing(m);
      ForgetPath(m);
      break;
    case cmd::kPathStart:
      if (m.pick_start) {
        m.pick_start = false;
        m.start_point_set = m.end_point_set = false;
      } else {
        m.pick_start = true;
        m.pick_end = false;
        m.end_point_set = false;
      }
      ClearEditing(m);
      m.highlighting = false;
      change.forget_highlighting = true;
      break;
    case cmd::kPathEnd:
      if (m.pick_end) {
        m.pick_end = false;
        m.end_point_set = false;
      } else {
        m.pick_end = true;
        m.pick_start = false;
      }
      break;
    default:
      break;
  }
  return change;
}

}  // namespace viamappa
