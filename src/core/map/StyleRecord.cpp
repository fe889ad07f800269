#include "map/StyleRecord.h"

#include <algorithm>
#include <limits>

#include "base/NumberText.h"
#include "base/TextUtil.h"
#include "map/LayerNames.h"

namespace viamappa {

namespace {

StyleRecord Record(std::string_view name, const char* description, FeatureKind kind, std::int32_t priority,
                   std::int32_t minimum, std::int32_t maximum) {
  StyleRecord record;
  record.name = name;
  record.description = description;
  record.kind = kind;
  record.style.priority = priority;
  record.style.minimum = minimum;
  record.style.maximum = maximum;
  record.style.line_style = ' ';
  record.style.back_colour = 0;
  return record;
}

std::uint32_t ColourOf(std::int32_t value) {
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::vector<StyleRecord> BuildStyleRecords(const MapStyling& s, const LayerSet* layers) {
  std::vector<StyleRecord> records;
  StyleRecord& nodes =
      records.emplace_back(Record(kNodeLayer, "Nodi Grafo", FeatureKind::Point, 2, s.min_nodi, s.max_nodi));
  nodes.style.symbol = s.sym_nodi;
  StyleRecord& arcs =
      records.emplace_back(Record(kArcLayer, "Archi Grafo", FeatureKind::Line, 4, s.min_archi, s.max_archi));
  arcs.style.line_colour = ColourOf(s.col_archi);
  arcs.style.line_width = s.lin_archi;
  StyleRecord& names = records.emplace_back(
      Record(kStreetNameLayer, "Toponimi Strade", FeatureKind::Line, 4, s.min_vie, s.max_vie));
  names.style.line_colour = ColourOf(s.col_vie);
  names.style.line_width = 8;
  StyleRecord& localities =
      records.emplace_back(Record(kLocalityLayer, "Località", FeatureKind::Area, 5, s.min_loc, s.max_loc));
  localities.style.line_colour = ColourOf(s.col_loc);
  localities.style.line_width = s.lin_loc;
  localities.style.fore_colour = ColourOf(s.fore_loc);
  localities.style.fill = -4;
  StyleRecord& municipalities = records.emplace_back(
      Record(kMunicipalityLayer, "Comuni", FeatureKind::Area, 6, s.min_comuni, s.max_comuni));
  municipalities.style.line_colour = ColourOf(s.col_comuni);
  municipalities.style.line_width = s.lin_comuni;
  municipalities.style.fill = -1;
  for (StyleRecord& record : records) {
    const MapLayer* live = layers ? layers->FindLayer(record.name) : nullptr;
    record.style.visible = live ? live->style().visible : true;
  }
  SortInDrawingOrder(records);
  return records;
}

void SortInDrawingOrder(std::vector<StyleRecord>& records) {
  std::stable_sort(records.begin(), records.end(), [](const StyleRecord& a, const StyleRecord& b) {
    if (a.style.priority != b.style.priority) return a.style.priority > b.style.priority;
    return a.name > b.name;
  });
}

void ApplyStyleRecords(const std::vector<StyleRecord>& records, LayerSet& layers, MapStyling& settings) {
  for (const StyleRecord& record : records) ApplyStyle(layers, {record.name, record.style}, settings);
  layers.SortDrawingOrder();
}

std::string StyleTitleLine(const StyleRecord& record) {
  return "Tematismo: " + record.name + " - \"" + record.description + "\"";
}

std::string ThresholdEffect(std::int32_t minimum, std::int32_t maximum) {
  if (minimum == -1 && maximum == -1) return "Sempre visibile";
  if (maximum == -1) return "Visibile per le scale maggiori di 1:" + FormatInteger(minimum);
  if (minimum == -1) return "Visibile per le scale minori di 1:" + FormatInteger(maximum);
  return "Visibile tra la scala 1:" + FormatInteger(minimum) + " e la scala 1:" + FormatInteger(maximum);
}

std::optional<std::int32_t> ReadThreshold(std::string_view text) {
  const std::string_view digits = Trim(text);
  std::int64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  }
  return value == 0 ? -1 : static_cast<std::int32_t>(value);
}

bool ThresholdsAcceptable(std::int32_t minimum, std::int32_t maximum) {
  return minimum == -1 || maximum == -1 || minimum < maximum;
}

}  // namespace viamappa
