// What the editing draws over the kept map image while the person works: the arc under the pointer
// (and the arcs a drag is changing), the marker of a picked vertex, the marker of the snapped point,
// the arc being drawn with its rubber band, and the hover labels. The window paints it after copying
// the map image, so that hovering and dragging never redraw the layers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geom/PointArray.h"
#include "map/MapNavigation.h"
#include "map/RenderView.h"
#include "ui/Canvas.h"

namespace viamappa {

struct EditOverlay {
  std::vector<PointArray> highlighted;  // the hot arc and the arcs a drag changes, as they are now
  Pen highlight_pen;                    // the arcs layer's pattern, twice its width, inverted colour
  std::optional<Point> vertex_marker;   // world point of the picked vertex
  std::optional<Point> snap_marker;     // world point the pointer snapped to
  Colour arc_colour = kBlack;  // the arcs layer's colour: the snap marker's; inverted, the traced arc's
  double arc_width = 1;        // the arcs layer's line width in pixels
  std::vector<Point> traced;   // the arc being drawn, world points in order
  std::optional<PixelPoint> band_from;  // the rubber band from the traced arc's last point...
  std::optional<PixelPoint> band_to;    // ...to the pointer
  std::vector<std::string> labels;      // hover labels, one a line, written beside the pointer
  PixelPoint label_at;

  bool empty() const {
    return highlighted.empty() && !vertex_marker && !snap_marker && traced.empty() && !band_to &&
           labels.empty();
  }
};

// The vertex marker is a square of this many screen units either side of the vertex, drawn with a red
// pen of 3 pixels; the snap marker a filled circle of this radius in screen units.
inline constexpr double kVertexMarkerUnits = 15;
inline constexpr double kSnapMarkerUnits = 20;
inline constexpr Colour kVertexMarkerColour = 0x0000FF;  // red as 0x00BBGGRR

// Draws the overlay over a surface that already shows the map at the view.
void DrawEditOverlay(Canvas& canvas, const RenderView& view, const EditOverlay& overlay);

}  // namespace viamappa
