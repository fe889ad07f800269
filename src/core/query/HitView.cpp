#include "query/HitView.h"

#include <algorithm>
#include <cmath>

#include "base/TextUtil.h"
#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "map/LayerNames.h"
#include "query/PlaceTables.h"
#include "query/ToponymSearch.h"

namespace viamappa {

namespace {

// The union of the boxes of an area's outer rings; empty when the layer has no such area.
Box AreaBox(const LayerSet& layers, std::string_view layer_name, std::int32_t id) {
  Box box;
  MapLayer* layer = layers.FindLayer(layer_name);
  const AreaFeature* area = layer ? layer->FindAreaFeature(id) : nullptr;
  if (area)
    for (const AreaPart& part : area->parts) box.Widen(part.outer.box());
  return box;
}

std::optional<HitView> AreaView(const LayerSet& layers, std::string_view layer_name, std::int32_t id,
                                double margin) {
  HitView view;
  view.box = AreaBox(layers, layer_name, id);
  if (view.box.IsEmpty()) return std::nullopt;
  view.margin = margin;
  view.pointer = HitView::Pointer::WindowCentre;
  return view;
}

std::optional<HitView> ToponymView(DbConnection& connection, std::int32_t id) {
  DbQuery query(connection);
  query.SetSelect("minx, miny, maxx, maxy");
  query.SetFrom(kToponymTable);
  query.SetWhere("ID = ?");
  query.BindInteger(1, id);
  if (!query.Open()) return std::nullopt;
  double v[4] = {};
  for (int i = 0; i < 4; ++i)
    if (!query.GetDouble(i, v[i]) || !std::isfinite(v[i])) return std::nullopt;
  HitView view;
  view.box = Box::Of(v[0], v[1], v[2], v[3]);
  if (view.box.IsEmpty()) return std::nullopt;
  view.margin = kToponymMargin;
  return view;
}

std::optional<HitView> ArcView(const LayerSet& layers, std::int32_t id) {
  MapLayer* arcs = layers.FindLayer(kArcLayer);
  const LineFeature* arc = arcs ? arcs->FindLineFeature(id) : nullptr;
  if (!arc || arc->polylines.empty() || arc->polylines.front().empty()) return std::nullopt;
  HitView view;
  view.box = arc->Bounds();
  view.margin = kStreetMargin;
  view.pointer = HitView::Pointer::ArcStart;
  view.arc_start = arc->polylines.front().front();
  view.pick_arc = id;
  return view;
}

// Every arc of the street the arc belongs to: of the same name, and for a municipal road of the same
// municipality too.
std::optional<HitView> StreetView(DbConnection& connection, const LayerSet& layers, std::int32_t id) {
  MapLayer* arcs = layers.FindLayer(kArcLayer);
  if (!arcs) return std::nullopt;
  std::string name, classe;
  std::int32_t municipality = 0;
  {
    DbQuery arc(connection);
    arc.SetSelect("denom, comune, classe");
    arc.SetFrom(kArcTable);
    arc.SetWhere("ID = ?");
    arc.BindInteger(1, id);
    if (!arc.Open()) return std::nullopt;
    arc.GetText(0, name);
    arc.GetShort(1, municipality);
    arc.GetText(2, classe);
  }
  name.resize(TrimTrailingBlanks(name).size());
  DbQuery street(connection);
  street.SetSelect(arc_field::kId);
  street.SetFrom(kArcTable);
  street.Bind(1, name);
  if (IsMunicipalRoad(classe)) {
    street.SetWhere("denom = ? AND comune = ?");
    street.BindInteger(2, municipality);
  } else {
    street.SetWhere("denom = ?");
  }
  HitView view;
  for (bool row = street.Open(); row; row = street.MoveNext()) {
    std::int32_t arc_id = 0;
    if (!street.GetLong(0, arc_id)) continue;
    if (const LineFeature* arc = arcs->FindLineFeature(arc_id)) {
      for (const PointArray& line : arc->polylines) {
        view.highlights.push_back(line);
        view.box.Widen(line.box());
      }
    }
  }
  if (view.highlights.empty() || view.box.IsEmpty()) return std::nullopt;
  view.margin = kStreetMargin;
  view.highlighting = true;
  return view;
}

}  // namespace

std::optional<HitView> PlanHitView(DbConnection& connection, const LayerSet& layers, const SearchHit& hit,
                                   bool whole_streets) {
  switch (hit.kind) {
    case HitKind::Municipality:
      return AreaView(layers, kMunicipalityLayer, hit.id, kMunicipalityMargin);
    case HitKind::Locality:
      return AreaView(layers, kLocalityLayer, hit.id, kLocalityMargin);
    case HitKind::Toponym:
      return ToponymView(connection, hit.id);
    case HitKind::Street:
      return whole_streets ? StreetView(connection, layers, hit.id) : ArcView(layers, hit.id);
    case HitKind::None:
      break;
  }
  return std::nullopt;
}

bool ZoomOnBox(Viewport& viewport, const Box& box, double margin) {
  if (box.IsEmpty()) return false;
  const DeviceMetrics& metrics = viewport.metrics();
  const double u = static_cast<double>(metrics.PixelsToScreenUnits(viewport.width()));
  const double v = static_cast<double>(metrics.PixelsToScreenUnits(viewport.height()));
  if (u > 0 && v > 0) {
    const double r = viewport.resolution();
    const double fits =
        std::min(v * r / (box.maxy - box.miny + margin), u * r / (box.maxx - box.minx + margin));
    if (fits > 0 && std::isfinite(fits)) viewport.Rescale(1.0 / fits);
  }
  viewport.CentreOn((box.minx + box.maxx) / 2, (box.miny + box.maxy) / 2);
  return true;
}

}  // namespace viamappa
