#include "edit/VertexGestures.h"

#include "edit/HoverGesture.h"
#include "geom/Hundredths.h"

namespace viamappa {

bool VertexGestures::VertexStep(EditContext& c, const PointerFrame& pointer, bool left_held) {
  EditingState& s = c.state;
  if (s.hot_vertex && !left_held) HoverGesture::ClearHotArc(s);
  if (left_held && c.modes.drag && s.hot_vertex && s.hot_arc) {
    MoveVertex(c, pointer);
    return true;
  }
  if (const LineFeature* hot = s.hot_arc.get(); hot && IsNearArc(*hot, pointer)) {
    HoverGesture::PickVertex(c, pointer);
    return true;
  }
  HoverGesture::ClearHotArc(s);
  s.drop_target.reset();
  return HoverGesture::PickArc(c, pointer);
}

bool VertexGestures::AdjustStep(EditContext& c, const PointerFrame& pointer, bool left_held) {
  EditingState& s = c.state;
  if (LineFeature* hot = s.hot_arc.get(); left_held && hot) {
    if (!s.hot_vertex) {
      // Every press-and-drag on an arc inserts a vertex there and drags it.
      s.hot_vertex = c.edits.InsertVertex(s.pending, *hot, pointer.world);
      s.grab_offset = {};
      s.hot_arc_highlighted = false;
    } else {
      MoveVertex(c, pointer);
    }
    return true;
  }
  if (const LineFeature* hot = s.hot_arc.get(); hot && IsNearArc(*hot, pointer)) return true;
  HoverGesture::ClearHotArc(s);
  return HoverGesture::PickArc(c, pointer);
}

void VertexGestures::MoveVertex(EditContext& c, const PointerFrame& pointer) {
  EditingState& s = c.state;
  LineFeature* arc = s.hot_arc.get();
  if (!arc || !s.hot_vertex) return;
  const Point to{
      RoundToHundredths(pointer.origin.x + (static_cast<double>(pointer.u) + s.grab_offset.x) * pointer.r),
      RoundToHundredths(pointer.origin.y + (static_cast<double>(pointer.v) + s.grab_offset.y) * pointer.r)};
  for (std::size_t part = 0; part < arc->polylines.size(); ++part) {
    const PointArray& line = arc->polylines[part];
    bool holds = false;
    for (const Point& p : line.points()) holds = holds || p == *s.hot_vertex;
    if (!holds) continue;
    // What the drag may not be attached to is fixed by where it started: the part's ends and their arcs.
    auto excluded = s.drop_exclusions.find(static_cast<std::int32_t>(part));
    if (excluded == s.drop_exclusions.end())
      excluded =
          s.drop_exclusions
              .emplace(static_cast<std::int32_t>(part),
                       FindDropExclusions(c.edits.connection(), c.caches, *arc, line.front(), line.back()))
              .first;
    s.drop_target = FindDropTarget(c.caches, pointer, to, excluded->second);
    if (to == *s.hot_vertex) return;
    c.edits.MoveVertex(s.pending, *arc, *s.hot_vertex, to);
    s.hot_vertex = to;
    return;
  }
  s.drop_target.reset();
}

void VertexGestures::Release(EditContext& c) {
  EditingState& s = c.state;
  LineFeature* arc = s.hot_arc.get();
  if ((c.modes.drag || c.modes.adjust_segment) && arc && s.hot_vertex) {
    if (s.drop_target)
      c.outcome.Stored(c.edits.AttachDragged(s.pending, *arc, *s.hot_vertex, *s.drop_target));
    s.hot_vertex.reset();
    s.drop_target.reset();
  }
  if (!s.pending.empty()) c.outcome.Stored(c.edits.SaveDrag(s.pending));
  s.drop_exclusions.clear();
  c.outcome.overlay = true;
}

void VertexGestures::DeletePickedVertex(EditContext& c) {
  EditingState& s = c.state;
  LineFeature* arc = s.hot_arc.get();
  if (!arc || !s.hot_vertex) return;
  c.outcome.Stored(c.edits.DeleteVertex(*arc, *s.hot_vertex));
  s.hot_vertex.reset();
  c.outcome.overlay = true;
}

}  // namespace viamappa
