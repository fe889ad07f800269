// The editing of the map window: every pointer event and editing command goes here first, in window
// pixels, and is answered with what the window must do. The mode flags come from the main window; the
// gestures (hover, vertex drag and deletion, arc tracing, path points) act on the editing state, and the
// geometry edits write the database and change the caches. The window draws Overlay() over its kept
// map image.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "db/DbConnection.h"
#include "edit/ArcAttributeEdits.h"
#include "edit/EditDialogs.h"
#include "edit/EditHistory.h"
#include "edit/EditOverlay.h"
#include "edit/EditingState.h"
#include "map/MapContextMenu.h"
#include "map/Viewport.h"

namespace viamappa {

// The status text of pane 0 for the mode flags: the drawing, vertex deletion, drag and adjust modes
// have their own, every other state is "Modo Navigazione".
std::string_view ModeStatusText(const MapModes& modes);

class MapEditor {
 public:
  // Edits the map data of the open database seen through the viewport; all must outlive the editor.
  // modes answers the mode flags of the moment. today gives the date the edits write.
  MapEditor(DbConnection& connection, LayerSet& layers, Viewport& viewport, EditDialogs& dialogs,
            std::function<MapModes()> modes, EditorHooks hooks = {},
            std::function<std::string()> today = TodayText);
  ~MapEditor();
  MapEditor(const MapEditor&) = delete;
  MapEditor& operator=(const MapEditor&) = delete;

  // The pointer moved. Not claimed while the button drags a navigation tool and no vertex is held.
  EditOutcome PointerMoved(const PointerInput& input);

  // The left button went down: claimed when it adds a point to the arc being drawn or deletes the
  // picked vertex; otherwise the navigation takes it.
  EditOutcome LeftPressed(const PointerInput& input);

  // The left button went up (after the navigation finished its own gesture): a dragged vertex is
  // attached or written.
  EditOutcome LeftReleased(const PointerInput& input);

  // A double click chooses the path's start or end at the snapped point in the path modes.
  EditOutcome DoubleClicked(const PointerInput& input);

  // Runs an editing command: 5114, 5115, 5122 to 5124, the keys 5517 to 5523, undo and redo (5524,
  // 5525); false for any other id.
  bool RunCommand(int id, EditOutcome& outcome);

  // The mode flags changed: the picked vertex, the snap and a drag under way are left behind.
  EditOutcome ModesChanged();

  // What the context menu's editing group depends on.
  EditingSituation situation() const;
  bool vertex_chosen() const { return state_.hot_vertex.has_value(); }
  bool point_chosen() const { return state_.snap_point.has_value(); }

  // What to draw over the map image now.
  EditOverlay Overlay() const;

  const EditingState& state() const { return state_; }
  bool tracing() const { return state_.traced.has_value(); }
  GraphCaches& caches() { return caches_; }
  GeometryEdits& edits() { return edits_; }
  ArcAttributeEdits& arc_edits() { return arc_edits_; }
  EditorHooks& hooks() { return hooks_; }
  // The stored edits that undo takes back and redo does again; it lives as long as the editor.
  EditHistory& history() { return history_; }
  const EditHistory& history() const { return history_; }

  // Makes the arc with that identifier the hot arc, wherever it lies (a search result); false when the
  // cache has no such arc.
  bool SelectArc(std::int32_t id);

 private:
  EditContext Context(EditOutcome& outcome, const MapModes& modes);
  void EnterDispatch(EditContext& c);
  void OpenArcAttributes(EditContext& c);
  void ChoosePathPoint(EditContext& c, bool start);
  void StatusTexts(EditOutcome& outcome, const PointerFrame& pointer, const MapModes& modes) const;
  void StepHistory(EditOutcome& outcome, bool undo);
  void Finish(EditOutcome& outcome);

  DbConnection& connection_;
  Viewport& viewport_;
  EditDialogs& dialogs_;
  std::function<MapModes()> modes_;
  EditorHooks hooks_;
  GraphCaches caches_;
  GeometryEdits edits_;
  ArcAttributeEdits arc_edits_;
  EditHistory history_;
  EditingState state_;
};

}  // namespace viamappa
