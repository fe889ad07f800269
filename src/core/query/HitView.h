// Bringing an accepted hit of the toponym search into view: the box to zoom on with its margin, where
// the system pointer goes, the arc to pick and, for a whole street, the highlight set of its arcs.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "db/DbConnection.h"
#include "map/LayerSet.h"
#include "map/Viewport.h"
#include "query/SearchHit.h"

namespace viamappa {

// Margins around the box of each kind of hit, in metres.
inline constexpr double kMunicipalityMargin = 5000;
inline constexpr double kLocalityMargin = 1000;
inline constexpr double kToponymMargin = 500;
inline constexpr double kStreetMargin = 500;

struct HitView {
  enum class Pointer {
    Stays,
    WindowCentre,  // municipalities and localities
    ArcStart,      // a single arc: its first point
  };

  Box box;
  double margin = 0;
  Pointer pointer = Pointer::Stays;
  Point arc_start;                       // for Pointer::ArcStart
  std::optional<std::int32_t> pick_arc;  // a single arc: picked by its identifier
  std::vector<PointArray> highlights;    // a whole street: its arcs, never empty
  bool highlighting = false;             // a whole street: highlight mode goes on
};

// What showing the hit does; nullopt when the view stays as it is: a municipality or locality without
// an outer ring in the layers, a toponym or arc that is not there, a whole street none of whose arcs
// the arcs layer holds. whole_streets tells how a street hit is shown.
std::optional<HitView> PlanHitView(DbConnection& connection, const LayerSet& layers, const SearchHit& hit,
                                   bool whole_streets);

// Centres the view on the box and scales it so that the box grown by the margin (once in width, once in
// height) fits the window. False, leaving the view, for an empty box.
bool ZoomOnBox(Viewport& viewport, const Box& box, double margin);

}  // namespace viamappa
