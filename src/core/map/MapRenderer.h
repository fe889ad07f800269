// Drawing the map data on a surface: the vector passes in their order (areas, path, highlighted and
// ordinary lines, points and labels, street names, markers, the arc being digitised) with the styles
// of the layers, and the polyline drawing the editing overlays share.
#pragma once

#include <functional>
#include <vector>

#include "map/LayerSet.h"
#include "map/RenderView.h"
#include "map/StreetNameSource.h"
#include "ui/Canvas.h"

namespace viamappa {

using OverlayPainter = std::function<void(Canvas&, const RenderView&)>;

// What other parts of the program lay over the layers. Empty members draw nothing.
struct MapOverlays {
  OverlayPainter path;                                  // after the areas: the shortest path
  const std::vector<PointArray>* highlights = nullptr;  // before the arcs, five times their width
  OverlayPainter markers;                               // after the street names: path start and end
  OverlayPainter digitising;                            // last: the arc being drawn
};

// What the background image shows under the layers; empty members draw nothing.
struct BackgroundSources {
  OverlayPainter rasters;      // raster images, left out of fast redraws
  OverlayPainter cartography;  // the background cartography
};

// The background image: cleared with the background colour, then the rasters and the background
// cartography, in that order.
void DrawBackground(Canvas& canvas, Colour background, const RenderView& view = RenderView(),
                    const BackgroundSources& sources = {});

// The vector passes over the layers in drawing order, each taking the visible layers that pass the
// visibility test for its kind at N_eff. names may be null: no street names are written then.
void DrawVectorLayers(Canvas& canvas, const LayerSet& layers, const RenderView& view, StreetNameSource* names,
                      const MapOverlays& overlays = {});

// A polyline clipped to the window widened by 100 screen units, without the vertices that move it by
// less than half a pixel, sent in runs of at most 1000 points with the current pen. Unless the redraw
// is fast: each vertex gets a 3 x 3 pixel square of vertex_colour when it is not -1, and each segment
// an arrow at its midpoint when direction_marks (drawn with a pen of that colour, which stays set).
void DrawPolyline(Canvas& canvas, const RenderView& view, const PointArray& line,
                  std::int64_t vertex_colour = -1, bool direction_marks = false);

// An area part clipped to the window (tolerance 10 screen units) and drawn as the area layers draw
// theirs: filled with brush unless it fills nothing, then each ring outlined with pen. The brush is
// the surface's already; the pen stays set.
void DrawAreaPart(Canvas& canvas, const RenderView& view, const AreaPart& part, const Brush& brush,
                  const Pen& pen);

// The most points one polyline call of the surface receives.
inline constexpr std::size_t kMaxRunPoints = 1000;

}  // namespace viamappa
