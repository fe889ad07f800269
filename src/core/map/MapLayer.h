// One named layer of the map data: its style, its features of three kinds in the order they were
// added, lookups by identifier and a spatial index for "what meets this rectangle".
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <boost/container/small_vector.hpp>

#include "geom/PointArray.h"

namespace viamappa {

enum class FeatureKind : char { Area = 'A', Line = 'L', Point = 'P' };

struct LineFeature {
  std::int32_t id = 0;
  // An arc has one polyline: it is kept inside the feature, without an allocation of its own.
  boost::container::small_vector<PointArray, 1> polylines;
  std::uint32_t slot = 0;  // its place in the layer, in the order added
  bool alive = true;       // false once removed: its memory stays until the layer set goes

  Box Bounds() const;
};

struct PointFeature {
  std::int32_t id = 0;
  Point point;
  std::string text;
  std::uint32_t slot = 0;
  bool alive = true;
};

// The style and the visibility of a layer, as the styling window edits them.
struct LayerStyle {
  std::int32_t priority = 0;
  std::uint32_t line_colour = 0;  // 0x00BBGGRR
  std::uint32_t fore_colour = 0;
  std::uint32_t back_colour = 0;
  char line_style = ' ';  // ' ' solid, 'T' dashed, 'P' dotted, 'A' dash-dot, 'B' dash-dot-dot
  std::int32_t line_width = 0;
  std::int32_t symbol = 0;
  std::int8_t fill = 0;
  std::int32_t minimum = -1;  // scale denominators; -1 for no bound
  std::int32_t maximum = -1;
  bool visible = true;
};

struct LayerDefinition {
  std::string name;
  std::string description;
  FeatureKind kind = FeatureKind::Line;
  LayerStyle style;
  std::string label_field;  // "denom" for labelled point layers, empty for symbols
  std::string font_face;
  std::int32_t font_size = 0;
};

class MapLayer {
 public:
  explicit MapLayer(LayerDefinition definition);
  ~MapLayer();
  MapLayer(const MapLayer&) = delete;
  MapLayer& operator=(const MapLayer&) = delete;

  const std::string& name() const { return definition_.name; }
  const std::string& description() const { return definition_.description; }
  FeatureKind kind() const { return definition_.kind; }
  const std::string& label_field() const { return definition_.label_field; }
  const std::string& font_face() const { return definition_.font_face; }
  std::int32_t font_size() const { return definition_.font_size; }
  LayerStyle& style() { return definition_.style; }
  const LayerStyle& style() const { return definition_.style; }

  // Features are appended in order; the returned reference stays valid as long as the layer.
  AreaFeature& AddAreaFeature(std::int32_t id);
  LineFeature& AddLineFeature(std::int32_t id);
  PointFeature& AddPointFeature(std::int32_t id, double x, double y);
  void AddPart(AreaFeature& feature, PointArray ring);
  void AddExclusion(AreaPart& part, PointArray ring);
  void AddPolyline(LineFeature& feature, PointArray polyline);

  // Unlinks a feature and frees its geometry; false when it is not in the layer.
  bool RemoveLineFeature(const LineFeature& feature);
  bool RemovePointFeature(const PointFeature& feature);

  // Brings a removed feature back in its own place of the order: the line without polylines (add them
  // with AddPolyline), the point at (x, y) without text. Null when the slot holds no removed feature
  // of that identifier.
  LineFeature* ReviveLineFeature(std::uint32_t slot, std::int32_t id);
  PointFeature* RevivePointFeature(std::uint32_t slot, std::int32_t id, double x, double y);

  // Tells the spatial index that a line or point feature moved (its geometry changed in place).
  void Moved(const LineFeature& feature);
  void Moved(const PointFeature& feature);

  // Rebuilds the arrays sorted by identifier and the spatial indexes.
  void RebuildIndexes();

  // Binary searches in the sorted arrays; the features added since the last rebuild (by editing) are
  // looked through one by one.
  AreaFeature* FindAreaFeature(std::int32_t id);
  LineFeature* FindLineFeature(std::int32_t id);
  PointFeature* FindPointFeature(std::int32_t id);

  std::size_t area_count() const { return areas_.size(); }
  std::size_t line_count() const { return line_alive_; }
  std::size_t point_count() const { return point_alive_; }
  bool HasFeatures(FeatureKind kind) const;

  // Visible for a kind at scale 1:N: it has features of that kind and N lies within the bounds
  // (inclusive, -1 for none).
  bool IsVisible(FeatureKind kind, std::int32_t denominator) const;

  // Every feature in the order added (removed ones skipped).
  template <typename Visit>
  void ForEachArea(Visit&& visit) const {
    for (const AreaFeature& f : areas_) visit(f);
  }
  template <typename Visit>
  void ForEachLine(Visit&& visit) const {
    for (const LineFeature& f : lines_)
      if (f.alive) visit(f);
  }
  template <typename Visit>
  void ForEachPoint(Visit&& visit) const {
    for (const PointFeature& f : points_)
      if (f.alive) visit(f);
  }

  // The features whose box meets the rectangle, in the order added, without scanning the layer.
  std::vector<const AreaFeature*> AreasMeeting(const Box& box) const;
  std::vector<const LineFeature*> LinesMeeting(const Box& box) const;
  std::vector<const PointFeature*> PointsMeeting(const Box& box) const;

 private:
  struct SpatialIndex;
  void RebuildAreaIndex() const;

  LayerDefinition definition_;
  std::deque<AreaFeature> areas_;
  std::deque<LineFeature> lines_;
  std::deque<PointFeature> points_;
  std::size_t line_alive_ = 0;
  std::size_t point_alive_ = 0;
  std::vector<std::uint32_t> areas_by_id_;
  std::vector<std::uint32_t> lines_by_id_;
  std::vector<std::uint32_t> points_by_id_;
  std::unique_ptr<SpatialIndex> spatial_;
};

}  // namespace viamappa
