#include "map/LayerSet.h"

#include <algorithm>

#include "map/LayerNames.h"

namespace viamappa {

LayerSet::LayerSet(const Box& start) : extent(start), lifetime_(std::make_shared<int>(0)) {}

MapLayer& LayerSet::AddLayer(LayerDefinition definition) {
  layers_.push_back(std::make_unique<MapLayer>(std::move(definition)));
  drawing_order_.push_back(layers_.back().get());
  SortDrawingOrder();
  return *layers_.back();
}

void LayerSet::SortDrawingOrder() {
  std::stable_sort(drawing_order_.begin(), drawing_order_.end(), [](const MapLayer* a, const MapLayer* b) {
    if (a->style().priority != b->style().priority) return a->style().priority > b->style().priority;
    return a->name() > b->name();
  });
}

MapLayer* LayerSet::FindLayer(std::string_view name) const {
  for (const auto& layer : layers_) {
    if (layer->name() == name) return layer.get();
  }
  return nullptr;
}

bool ApplyStyle(LayerSet& layers, const LayerStyleRecord& record, MapStyling& s) {
  MapLayer* layer = layers.FindLayer(record.name);
  if (!layer) return false;
  layer->style() = record.style;
  const LayerStyle& style = record.style;
  const auto colour = [](std::uint32_t c) { return static_cast<std::int32_t>(c); };
  if (record.name == kLocalityLayer) {
    s.lin_loc = style.line_width;
    s.col_loc = colour(style.line_colour);
    s.fore_loc = colour(style.fore_colour);
    s.min_loc = style.minimum;
    s.max_loc = style.maximum;
  } else if (record.name == kMunicipalityLayer) {
    s.lin_comuni = style.line_width;
    s.col_comuni = colour(style.line_colour);
    s.min_comuni = style.minimum;
    s.max_comuni = style.maximum;
  } else if (record.name == kArcLayer) {
    s.lin_archi = style.line_width;
    s.col_archi = colour(style.line_colour);
    s.min_archi = style.minimum;
    s.max_archi = style.maximum;
  } else if (record.name == kStreetNameLayer) {
    s.col_vie = colour(style.line_colour);
    s.min_vie = style.minimum;
    s.max_vie = style.maximum;
  } else if (record.name == kNodeLayer) {
    s.sym_nodi = style.symbol;
    s.min_nodi = style.minimum;
    s.max_nodi = style.maximum;
  }
  return true;
}

}  // namespace viamappa
