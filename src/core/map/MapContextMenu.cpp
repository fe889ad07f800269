#include "map/MapContextMenu.h"

#include "map/CommandIds.h"
#include "map/CommandLabels.h"

namespace viamappa {

namespace {

MapMenuEntry Text(int id, std::string text, bool enabled = true, bool checked = false) {
  MapMenuEntry entry;
  entry.id = id;
  entry.text = std::move(text);
  entry.enabled = enabled;
  entry.checked = checked;
  return entry;
}

MapMenuEntry OwnerDrawn(int id, bool enabled = true, bool checked = false) {
  MapMenuEntry entry = Text(id, std::string(CommandLabel(id)), enabled, checked);
  entry.owner_drawn = true;
  return entry;
}

MapMenuEntry Separator() {
  MapMenuEntry entry;
  entry.kind = MapMenuEntry::Kind::Separator;
  return entry;
}

MapMenuEntry Popup(std::string text, std::vector<MapMenuEntry> items) {
  MapMenuEntry entry;
  entry.kind = MapMenuEntry::Kind::Popup;
  entry.text = std::move(text);
  entry.items = std::move(items);
  return entry;
}

// A mode entry: checked while its mode is on, else usable only over a graph with arcs.
MapMenuEntry ModeEntry(int id, bool on, bool usable) {
  return OwnerDrawn(id, on || usable, on);
}

std::vector<MapMenuEntry> Navigation(const MapMenuState& s) {
  std::vector<MapMenuEntry> items;
  // The selected tool shows as a checked text entry, the others with their image.
  items.push_back(s.tool == NavigationTool::Pan ? Text(cmd::kPan, "&Sposta punto di vista\tCtl+S", true, true)
                                                : OwnerDrawn(cmd::kPan));
  items.push_back(OwnerDrawn(cmd::kZoom, true, s.tool == NavigationTool::Zoom));
  items.push_back(OwnerDrawn(cmd::kHomeView));
  items.push_back(s.tool == NavigationTool::AreaSelection
                      ? Text(cmd::kAreaSelection, "S&elezione area\tCtl+A", true, true)
                      : OwnerDrawn(cmd::kAreaSelection));
  items.push_back(Separator());
  items.push_back(Text(cmd::kPreviousView, "Ritorna alla posizione &Precedente\tF9", s.can_go_back));
  items.push_back(Separator());
  items.push_back(OwnerDrawn(cmd::kToponymSearch));
  items.push_back(ModeEntry(cmd::kHighlightRoads, s.modes.highlighting, s.graph_has_arcs));
  return items;
}

std::vector<MapMenuEntry> EditingModes(const MapMenuState& s) {
  const MapModes& m = s.modes;
  const bool arcs = s.graph_has_arcs;
  return {ModeEntry(cmd::kDrawArcMode, m.draw_arc, arcs),
          ModeEntry(cmd::kDragMode, m.drag, arcs),
          ModeEntry(cmd::kAdjustSegmentMode, m.adjust_segment, arcs),
          ModeEntry(cmd::kDeleteVertexMode, m.delete_vertex, arcs),
          Separator(),
          ModeEntry(cmd::kPathStart, m.pick_start, arcs),
          ModeEntry(cmd::kPathEnd, m.pick_end, arcs && m.start_point_set)};
}

MapMenuEntry StartNewArc() {
  return Text(cmd::kStartNewArc, "Inizio Tracciamento Nuovo &Arco Stradale\tINS");
}

std::vector<MapMenuEntry> EditingCommands(const MapMenuState& s) {
  const MapModes& m = s.modes;
  switch (s.situation) {
    case EditingSituation::Digitising:
      return {Text(cmd::kInsertVertex, "&Inserisco vertice nell'arco stradale\tINVIO"),
              Text(cmd::kRemoveLastPoint, "&Elimino ultimo punto digitato nell'arco stradale\t(Ctl+U)"),
              Text(cmd::kFinishArc, "&Termino tracciamento arco stradale\tFINE"),
              Text(cmd::kAbandonArc, "&Annulla\tESC")};
    case EditingSituation::ArcSelected:
      if (m.draw_arc) return {StartNewArc()};
      if (m.delete_vertex && s.vertex_chosen)
        return {Text(cmd::kDeleteChosenVertex, "Elimino Vertice\tINVIO")};
      if (m.pick_start && s.point_chosen)
        return {Text(cmd::kChoosePathStart, "Seleziono Punto &Partenza\tINVIO")};
      if (m.pick_end && s.point_chosen) return {Text(cmd::kChoosePathEnd, "Seleziono Punto &Arrivo\tINVIO")};
      return {Text(cmd::kEditArcData, "Modifica Dati &Arco Stradale\tINVIO")};
    case EditingSituation::None:
      break;
  }
  return {StartNewArc()};
}

std::vector<MapMenuEntry> Editing(const MapMenuState& s) {
  std::vector<MapMenuEntry> items = EditingCommands(s);
  items.push_back(Separator());
  items.push_back(Text(cmd::kUndoEdit, "Annulla modifica", s.can_undo));
  items.push_back(Text(cmd::kRedoEdit, "Ripeti modifica", s.can_redo));
  return items;
}

}  // namespace

std::vector<MapMenuEntry> BuildMapContextMenu(const MapMenuState& state) {
  return {Popup("&Navigazione", Navigation(state)), Popup("&Modi Editing", EditingModes(state)),
          Popup("&Editing", Editing(state))};
}

}  // namespace viamappa
