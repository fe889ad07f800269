#include "edit/HoverGesture.h"

#include "geom/PointInPolygon.h"
#include "map/LayerNames.h"

namespace viamappa {

namespace {

bool DrawingOrPath(const MapModes& m) {
  return m.draw_arc || m.pick_start || m.pick_end;
}

// The first area of the layer that holds the point.
AreaFeature* AreaUnder(const LayerSet& layers, std::string_view layer_name, const Point& p) {
  const MapLayer* layer = layers.FindLayer(layer_name);
  if (!layer) return nullptr;
  for (const AreaFeature* area : layer->AreasMeeting(PointBox(p)))
    if (PointInFeature(*area, p.x, p.y)) return const_cast<AreaFeature*>(area);
  return nullptr;
}

// An area stays hot while it holds the point; otherwise the area under the point becomes hot.
void FollowArea(FeatureRef<AreaFeature>& hot, const LayerSet& layers, std::string_view layer_name,
                const Point& p) {
  if (const AreaFeature* area = hot.get(); area && PointInFeature(*area, p.x, p.y)) return;
  AreaFeature* under = AreaUnder(layers, layer_name, p);
  hot = under ? FeatureRef<AreaFeature>(layers, under) : FeatureRef<AreaFeature>();
}

}  // namespace

void HoverGesture::ClearHotArc(EditingState& state) {
  state.hot_arc = {};
  state.hot_arc_highlighted = false;
  state.hot_vertex.reset();
  state.arc_label.clear();
}

void HoverGesture::Step(EditContext& c, const PointerFrame& pointer) {
  EditingState& s = c.state;
  LineFeature* hot = s.hot_arc.get();
  if (hot && !DrawingOrPath(c.modes) && IsNearArc(*hot, pointer)) return;
  ClearHotArc(s);
  s.snap_point.reset();
  s.snap_arc.reset();
  if (DrawingOrPath(c.modes) && Snap(c, pointer)) return;
  if (PickArc(c, pointer)) return;
  AreaLabels(c, pointer);
}

bool HoverGesture::PickArc(EditContext& c, const PointerFrame& pointer) {
  EditingState& s = c.state;
  LineFeature* arc = viamappa::PickArc(c.caches, pointer);
  if (!arc) return false;
  s.hot_locality = {};
  s.hot_municipality = {};
  s.hot_arc = FeatureRef<LineFeature>(c.caches.layers(), arc);
  s.hot_arc_highlighted = false;
  s.hot_vertex.reset();
  if ((c.modes.drag || c.modes.delete_vertex) && PickVertex(c, pointer)) return true;
  s.hot_arc_highlighted = true;
  s.label_at = {pointer.px, pointer.py};
  s.arc_label.clear();
  if (c.hooks.arc_name) c.hooks.arc_name(arc->id, s.arc_label);
  return true;
}

bool HoverGesture::PickVertex(EditContext& c, const PointerFrame& pointer) {
  EditingState& s = c.state;
  const LineFeature* arc = s.hot_arc.get();
  if (!arc) return false;
  const std::optional<VertexPick> pick = viamappa::PickVertex(*arc, pointer);
  if (!pick) return false;
  s.hot_arc_highlighted = false;
  s.hot_vertex = pick->vertex;
  s.grab_offset = pick->offset;
  return true;
}

bool HoverGesture::Snap(EditContext& c, const PointerFrame& pointer) {
  EditingState& s = c.state;
  s.snap_point.reset();
  s.snap_arc.reset();
  const std::optional<SnapHit> hit = HoverSnap(c.caches, pointer);
  if (!hit) return false;
  s.snap_point = hit->point;
  if (hit->on_arc) s.snap_arc = hit->on_arc->id;
  if (hit->end_of && !s.hot_arc) s.hot_arc = FeatureRef<LineFeature>(c.caches.layers(), hit->end_of);
  return true;
}

void HoverGesture::AreaLabels(EditContext& c, const PointerFrame& pointer) {
  const LayerSet& layers = c.caches.layers();
  EditingState& s = c.state;
  const AreaFeature* locality = s.hot_locality.get();
  const AreaFeature* municipality = s.hot_municipality.get();
  FollowArea(s.hot_locality, layers, kLocalityLayer, pointer.world);
  FollowArea(s.hot_municipality, layers, kMunicipalityLayer, pointer.world);
  if (s.hot_locality.get() != locality || s.hot_municipality.get() != municipality)
    s.label_at = {pointer.px, pointer.py};
}

}  // namespace viamappa
