// The map data of the open database: the named layers and the overall extent. A layer set is replaced
// as a whole when the map is rebuilt; references to its features that outlive it are FeatureRefs, which
// answer null once their layer set is gone or the feature was removed.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "map/BackgroundFile.h"
#include "map/MapLayer.h"
#include "map/MapStyling.h"

namespace viamappa {

class LayerSet {
 public:
  // extent: where the data extent starts, the background cartography's or empty.
  explicit LayerSet(const Box& extent = Box());
  LayerSet(const LayerSet&) = delete;
  LayerSet& operator=(const LayerSet&) = delete;

  Box extent;

  // Appends a layer and sorts the drawing order again: priority descending, then name descending.
  MapLayer& AddLayer(LayerDefinition definition);

  // Sorts the drawing order again, after priorities changed.
  void SortDrawingOrder();

  // The first layer of that name (exact bytes), or null.
  MapLayer* FindLayer(std::string_view name) const;

  // Layers in creation order, and in drawing order.
  const std::vector<std::unique_ptr<MapLayer>>& layers() const { return layers_; }
  const std::vector<MapLayer*>& drawing_order() const { return drawing_order_; }

  // The lifetime of this layer set, watched by FeatureRefs.
  std::weak_ptr<const void> lifetime() const { return lifetime_; }

  // The background file shown under the layers, kept open as long as the layer set; null for none.
  void SetBackground(std::unique_ptr<BackgroundFile> background) { background_ = std::move(background); }
  BackgroundFile* background() const { return background_.get(); }

 private:
  std::unique_ptr<BackgroundFile> background_;
  std::vector<std::unique_ptr<MapLayer>> layers_;
  std::vector<MapLayer*> drawing_order_;
  std::shared_ptr<const void> lifetime_;
};

// A reference to a feature that knows when it no longer holds: null after its layer set is destroyed
// or after the feature is removed. Holders that keep features between commands (editing, highlighting,
// routing) keep these instead of raw pointers.
template <typename Feature>
class FeatureRef {
 public:
  FeatureRef() = default;
  FeatureRef(const LayerSet& owner, Feature* feature) : lifetime_(owner.lifetime()), feature_(feature) {}

  Feature* get() const {
    if (!feature_ || lifetime_.expired()) return nullptr;
    if constexpr (requires { feature_->alive; }) {
      if (!feature_->alive) return nullptr;
    }
    return feature_;
  }
  explicit operator bool() const { return get() != nullptr; }

 private:
  std::weak_ptr<const void> lifetime_;
  Feature* feature_ = nullptr;
};

// The style of one layer as the styling window hands it back.
struct LayerStyleRecord {
  std::string name;
  LayerStyle style;
};

// Copies a style into its layer and the values of the five styled layers back into the settings
// ("local", "comuni", "archi", "toponvie", "nodi"). False when no layer has that name.
bool ApplyStyle(LayerSet& layers, const LayerStyleRecord& record, MapStyling& settings);

}  // namespace viamappa
