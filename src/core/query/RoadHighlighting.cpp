#include "query/RoadHighlighting.h"

#include "db/DbQuery.h"
#include "geom/GraphRecords.h"
#include "map/LayerNames.h"
#include "query/HighlightCriteriaDialog.h"

namespace viamappa {

void CollectHighlights(DbConnection& connection, const LayerSet& layers, std::string_view condition,
                       std::vector<PointArray>& set) {
  set.clear();
  MapLayer* arcs = layers.FindLayer(kArcLayer);
  if (!arcs) return;
  DbQuery query(connection);
  query.SetSelect(arc_field::kId);
  query.SetFrom(kArcTable);
  query.SetWhere(condition);
  for (bool row = query.Open(); row; row = query.MoveNext()) {
    std::int32_t id = 0;
    if (!query.GetLong(0, id)) continue;
    if (const LineFeature* arc = arcs->FindLineFeature(id))
      set.insert(set.end(), arc->polylines.begin(), arc->polylines.end());
  }
}

std::optional<std::int64_t> CountSelectedArcs(DbConnection& connection, std::string_view condition) {
  return CountRows(connection, kArcTable, condition);
}

bool ChooseHighlightedRoads(DbConnection& connection, UserInterface& ui, const LayerSet& layers,
                            std::vector<PointArray>& set) {
  set.clear();
  HighlightCriteriaDialog dialog;
  if (!ui.RunHighlightCriteriaDialog(dialog)) return false;
  const std::optional<std::string> condition = dialog.Condition();
  if (!condition) return false;
  ui.BeginBusy(false);
  CollectHighlights(connection, layers, *condition, set);
  ui.EndBusy();
  return !set.empty();
}

}  // namespace viamappa
