#include "edit/MapEditor.h"

#include "edit/ArcTracing.h"
#include "edit/HoverGesture.h"
#include "edit/VertexGestures.h"
#include "map/CommandIds.h"
#include "map/LayerNames.h"
#include "map/LayerPainting.h"

namespace viamappa {

namespace {

// The label of an area: the text of the point feature with its identifier in the first of the label
// layers that has one.
void AddAreaLabel(std::vector<std::string>& labels, const LayerSet& layers, const AreaFeature* area,
                  std::initializer_list<std::string_view> label_layers) {
  if (!area) return;
  for (const std::string_view name : label_layers) {
    MapLayer* layer = layers.FindLayer(name);
    if (const PointFeature* label = layer ? layer->FindPointFeature(area->id) : nullptr) {
      if (!label->text.empty()) labels.push_back(label->text);
      return;
    }
  }
}

// What decides the look of the overlay, to tell whether a pointer move changed it.
struct OverlayKey {
  const LineFeature* hot_arc;
  bool highlighted;
  std::optional<Point> hot_vertex;
  std::optional<Point> snap_point;
  std::optional<PixelPoint> band_end;
  std::size_t traced;
  const AreaFeature* locality;
  const AreaFeature* municipality;

  bool operator==(const OverlayKey&) const = default;
};

OverlayKey KeyOf(const EditingState& s) {
  return {s.hot_arc.get(), s.hot_arc_highlighted,           s.hot_vertex,         s.snap_point,
          s.band_end,      s.traced ? s.traced->size() : 0, s.hot_locality.get(), s.hot_municipality.get()};
}

}  // namespace

std::string_view ModeStatusText(const MapModes& m) {
  if (m.draw_arc) return "Modo Disegno Nuovo Arco";
  if (m.delete_vertex) return "Modo Eliminazione Vertice";
  if (m.drag) return "Modo Trascinamento";
  if (m.adjust_segment) return "Aggiustamento Geometria Entità";
  return "Modo Navigazione";
}

MapEditor::MapEditor(DbConnection& connection, LayerSet& layers, Viewport& viewport, EditDialogs& dialogs,
                     std::function<MapModes()> modes, EditorHooks hooks, std::function<std::string()> today)
    : connection_(connection),
      viewport_(viewport),
      dialogs_(dialogs),
      modes_(std::move(modes)),
      hooks_(std::move(hooks)),
      caches_(layers, hooks_.graph),
      edits_(connection, caches_, today),
      arc_edits_(connection, caches_, std::move(today)),
      history_(connection, caches_) {}

MapEditor::~MapEditor() {
  // A drag cut short leaves the caches as the database has them.
  if (!state_.pending.empty()) edits_.AbandonDrag(state_.pending);
}

EditContext MapEditor::Context(EditOutcome& outcome, const MapModes& modes) {
  return EditContext{caches_, edits_, viewport_, state_, modes, hooks_, outcome};
}

void MapEditor::Finish(EditOutcome& outcome) {
  if (!outcome.change.empty()) {
    history_.Record(outcome.change);
    // A note about an undo no longer says what the map shows.
    outcome.panes.Set(StatusPane::Note, " ");
    if (hooks_.edit_stored) hooks_.edit_stored(outcome.change);
  }
  // Whatever the step wrote is the editing's own.
  history_.Acknowledge();
}

void MapEditor::StepHistory(EditOutcome& outcome, bool undo) {
  // A drag under way ends with its release first.
  if (!state_.pending.empty()) return;
  if (!(undo ? history_.CanUndo() : history_.CanRedo())) {
    outcome.panes.Set(StatusPane::Note,
                      undo ? "Nessuna modifica da annullare" : "Nessuna modifica da ripetere");
    return;
  }
  const EditKind kind = undo ? history_.Undo() : history_.Redo();
  // What the editing held may have moved or gone: it is found again at the next pointer move.
  HoverGesture::ClearHotArc(state_);
  state_.snap_point.reset();
  state_.snap_arc.reset();
  state_.drop_target.reset();
  state_.drop_exclusions.clear();
  outcome.overlay = true;
  if (kind == EditKind::None) {
    // Refused (the history is gone, as the message said) or not stored (the step is still there).
    const bool kept = undo ? history_.CanUndo() : history_.CanRedo();
    outcome.panes.Set(StatusPane::Note, !kept  ? " "
                                        : undo ? "Modifica non annullata"
                                               : "Modifica non ripetuta");
    return;
  }
  outcome.vector_redraw = true;
  outcome.panes.Set(StatusPane::Note, std::string(undo ? "Modifica annullata: " : "Modifica ripetuta: ") +
                                          std::string(EditKindName(kind)));
}

void MapEditor::StatusTexts(EditOutcome& outcome, const PointerFrame& pointer, const MapModes& modes) const {
  outcome.panes.Set(StatusPane::Mode, std::string(ModeStatusText(modes)));
  if (caches_.layers().extent.IsEmpty()) {
    outcome.panes.Set(StatusPane::Scale, " ");
    outcome.panes.Set(StatusPane::Prompt, "Mappa Vuota");
  } else {
    outcome.panes.Set(StatusPane::Scale, viewport_.scale_text());
    outcome.panes.Set(StatusPane::Prompt, PositionText(pointer.world.x, pointer.world.y));
  }
}

EditOutcome MapEditor::PointerMoved(const PointerInput& in) {
  EditOutcome outcome;
  state_.pointer = {in.x, in.y};
  const MapModes modes = modes_ ? modes_() : MapModes{};
  const bool holds_vertex = (modes.drag && state_.hot_vertex) || (modes.adjust_segment && state_.hot_arc);
  if (in.left_held && !holds_vertex && in.tool != NavigationTool::None) return outcome;
  outcome.claimed = true;
  const OverlayKey before = KeyOf(state_);
  EditContext c = Context(outcome, modes);
  const PointerFrame pointer(viewport_, in.x, in.y);
  if (state_.traced) {
    ArcTracing::Step(c, pointer);
  } else {
    bool picked = false;
    if (modes.drag || modes.delete_vertex) {
      picked = VertexGestures::VertexStep(c, pointer, in.left_held);
    } else if (modes.adjust_segment) {
      picked = VertexGestures::AdjustStep(c, pointer, in.left_held);
    }
    if (!picked) HoverGesture::Step(c, pointer);
    StatusTexts(outcome, pointer, modes);
  }
  // Only a change of what the overlay shows repaints it; a drag changes it at every step.
  outcome.overlay = outcome.overlay || !(KeyOf(state_) == before) || !state_.pending.empty();
  Finish(outcome);
  return outcome;
}

EditOutcome MapEditor::LeftPressed(const PointerInput& in) {
  EditOutcome outcome;
  state_.pointer = {in.x, in.y};
  const MapModes modes = modes_ ? modes_() : MapModes{};
  EditContext c = Context(outcome, modes);
  if (state_.traced) {
    ArcTracing::AddPoint(c);
    outcome.claimed = true;
  } else if (modes.delete_vertex && state_.hot_vertex) {
    VertexGestures::DeletePickedVertex(c);
    outcome.claimed = true;
  }
  Finish(outcome);
  return outcome;
}

EditOutcome MapEditor::LeftReleased(const PointerInput& in) {
  EditOutcome outcome;
  state_.pointer = {in.x, in.y};
  const MapModes modes = modes_ ? modes_() : MapModes{};
  EditContext c = Context(outcome, modes);
  VertexGestures::Release(c);
  outcome.pointer = PointerShape::Normal;
  Finish(outcome);
  return outcome;
}

EditOutcome MapEditor::DoubleClicked(const PointerInput& in) {
  EditOutcome outcome;
  state_.pointer = {in.x, in.y};
  const MapModes modes = modes_ ? modes_() : MapModes{};
  EditContext c = Context(outcome, modes);
  if ((modes.pick_start || modes.pick_end) && state_.snap_point) {
    ChoosePathPoint(c, modes.pick_start);
    outcome.claimed = true;
  }
  Finish(outcome);
  return outcome;
}

void MapEditor::ChoosePathPoint(EditContext& c, bool start) {
  if (!state_.snap_point) return;
  const auto& hook = start ? hooks_.route_start : hooks_.route_end;
  if (hook) hook(*state_.snap_point, state_.snap_arc);
  c.outcome.full_redraw = true;
}

void MapEditor::EnterDispatch(EditContext& c) {
  const MapModes& m = c.modes;
  if ((m.pick_start || m.pick_end) && state_.snap_point) return ChoosePathPoint(c, m.pick_start);
  LineFeature* hot = state_.hot_arc.get();
  if (!hot) {
    if (state_.traced) ArcTracing::AddPoint(c);
    return;
  }
  if (m.delete_vertex && state_.hot_vertex) return VertexGestures::DeletePickedVertex(c);
  OpenArcAttributes(c);
}

void MapEditor::OpenArcAttributes(EditContext& c) {
  const LineFeature* hot = state_.hot_arc.get();
  if (!hot) return;
  const std::int32_t id = hot->id;
  const ArcAttributesOutcome result = arc_edits_.Open(id, dialogs_);
  if (!result.found) return;
  // An arc deleted from the database has left the cache: nothing may point at it any more.
  if (!result.change.arcs_removed.empty()) HoverGesture::ClearHotArc(state_);
  c.outcome.Stored(result.change);
  c.outcome.full_redraw = true;
  // The pointer goes back where it was before the dialog.
  c.outcome.warp_pointer = state_.pointer;
}

bool MapEditor::RunCommand(int id, EditOutcome& outcome) {
  const MapModes modes = modes_ ? modes_() : MapModes{};
  EditContext c = Context(outcome, modes);
  outcome.claimed = true;
  switch (id) {
    case cmd::kInsertVertex:
      EnterDispatch(c);
      break;
    case cmd::kStartNewArcKey:
    case cmd::kStartNewArc:
      ArcTracing::Start(c);
      break;
    case cmd::kFinishArc:
      ArcTracing::Finish(c, dialogs_);
      break;
    case cmd::kAbandonArc:
      ArcTracing::Abandon(c);
      break;
    case cmd::kRemoveLastPoint:
      ArcTracing::RemoveLastPoint(c);
      break;
    case cmd::kEditArcData:
      OpenArcAttributes(c);
      break;
    case cmd::kDeleteChosenVertex:
      VertexGestures::DeletePickedVertex(c);
      break;
    case cmd::kChoosePathStart:
    case cmd::kChoosePathEnd:
      ChoosePathPoint(c, id == cmd::kChoosePathStart);
      break;
    case cmd::kUndoEdit:
    case cmd::kRedoEdit:
      StepHistory(outcome, id == cmd::kUndoEdit);
      break;
    case cmd::kLastMapKeyCommand - 1:
    case cmd::kLastMapKeyCommand:
      // Bound keys that nothing of the map window uses.
      break;
    default:
      outcome.claimed = false;
      return false;
  }
  Finish(outcome);
  return true;
}

EditOutcome MapEditor::ModesChanged() {
  EditOutcome outcome;
  if (!state_.pending.empty()) {
    EditContext c = Context(outcome, modes_ ? modes_() : MapModes{});
    VertexGestures::Release(c);
  }
  HoverGesture::ClearHotArc(state_);
  state_.snap_point.reset();
  state_.snap_arc.reset();
  state_.drop_target.reset();
  outcome.overlay = true;
  Finish(outcome);
  return outcome;
}

EditingSituation MapEditor::situation() const {
  if (state_.traced) return EditingSituation::Digitising;
  if (state_.hot_arc) return EditingSituation::ArcSelected;
  return EditingSituation::None;
}

bool MapEditor::SelectArc(std::int32_t id) {
  LineFeature* arc = caches_.FindArc(id);
  if (!arc) return false;
  HoverGesture::ClearHotArc(state_);
  state_.hot_arc = FeatureRef<LineFeature>(caches_.layers(), arc);
  state_.hot_arc_highlighted = true;
  if (hooks_.arc_name) hooks_.arc_name(arc->id, state_.arc_label);
  return true;
}

EditOverlay MapEditor::Overlay() const {
  EditOverlay overlay;
  const MapLayer* arcs = caches_.arcs();
  if (arcs) {
    overlay.arc_colour = arcs->style().line_colour;
    overlay.arc_width = arcs->style().line_width;
    overlay.highlight_pen = LayerPen(arcs->style(), false);
    overlay.highlight_pen.colour = Inverted(overlay.highlight_pen.colour);
    overlay.highlight_pen.width = 2.0 * std::max(arcs->style().line_width, 1);
  }
  const auto highlight = [&](const LineFeature* arc) {
    if (arc)
      for (const PointArray& line : arc->polylines) overlay.highlighted.push_back(line);
  };
  const LineFeature* hot = state_.hot_arc.get();
  if (!state_.pending.empty()) {
    // A drag shows the arcs it changes as they are now.
    if (state_.pending.main) highlight(state_.pending.main->arc.get());
    for (const PendingGeometry::ArcPart& other : state_.pending.others) highlight(other.arc.get());
  } else if (hot && state_.hot_arc_highlighted) {
    highlight(hot);
    if (!state_.arc_label.empty()) overlay.labels.push_back(state_.arc_label);
  }
  if (hot && state_.hot_vertex) overlay.vertex_marker = state_.hot_vertex;
  const MapModes modes = modes_ ? modes_() : MapModes{};
  if (state_.snap_point && (state_.traced || modes.draw_arc || modes.pick_start || modes.pick_end))
    overlay.snap_marker = state_.snap_point;
  if (state_.traced) {
    overlay.traced = *state_.traced;
    if (state_.band_end && !state_.traced->empty()) {
      overlay.band_from = ArcTracing::BandAnchor(viewport_, state_.traced->back());
      overlay.band_to = state_.band_end;
    }
  }
  if (!hot && !state_.traced) {
    const LayerSet& layers = caches_.layers();
    AddAreaLabel(overlay.labels, layers, state_.hot_locality.get(),
                 {kBigLocalityLayer, kMediumLocalityLayer, kSmallLocalityLayer});
    AddAreaLabel(overlay.labels, layers, state_.hot_municipality.get(), {kMunicipalityLabelLayer});
  }
  overlay.label_at = state_.label_at;
  return overlay;
}

}  // namespace viamappa
