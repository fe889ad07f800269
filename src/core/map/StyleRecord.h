// The style records of the styling window: the five layers a person may restyle, built from the kept
// settings when the window opens and applied to the layers and the settings when it closes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/LayerSet.h"
#include "map/MapStyling.h"

namespace viamappa {

struct StyleRecord {
  std::string name;
  std::string description;
  FeatureKind kind = FeatureKind::Line;
  LayerStyle style;  // with the visibility of the live layer
};

// "nodi", "archi", "toponvie", "local" and "comuni" with their styles from the settings and the
// visible flags of the live layers (visible when there is none), sorted in the layers' drawing order.
std::vector<StyleRecord> BuildStyleRecords(const MapStyling& settings, const LayerSet* layers);

// Sorts records as the layers are drawn: priority descending, then name descending.
void SortInDrawingOrder(std::vector<StyleRecord>& records);

// Copies every record into its live layer and into the settings, then sorts the layers' drawing
// order again (a priority may have changed).
void ApplyStyleRecords(const std::vector<StyleRecord>& records, LayerSet& layers, MapStyling& settings);

// The first line of the style dialogs: Tematismo: name - "description".
std::string StyleTitleLine(const StyleRecord& record);

// What a pair of thresholds means, as "Effetto" shows it.
std::string ThresholdEffect(std::int32_t minimum, std::int32_t maximum);

// A threshold as written in a field: empty or 0 is -1 (none). nullopt for anything but blanks
// around digits, or a value beyond the 32-bit range.
std::optional<std::int32_t> ReadThreshold(std::string_view text);

// The rule of a pair of thresholds: either is -1, or the minimum is below the maximum.
bool ThresholdsAcceptable(std::int32_t minimum, std::int32_t maximum);

}  // namespace viamappa
