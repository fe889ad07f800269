// The shortest path on the map: the chosen path under the arcs, and the start and end markers over
// everything but the arc being drawn, through the renderer's overlays.
#pragma once

#include <optional>

#include "map/MapRenderer.h"
#include "query/RouteSession.h"

namespace viamappa {

// Every piece of the chosen path whose box meets the view, with a solid black pen 16 pixels wide.
void DrawRoutePath(Canvas& canvas, const RenderView& view, const RouteResult& result);

// The start marker (green, "P") and the end marker (red, "A"), each centred on its point when the point
// lies within the coordinate range of drawing.
void DrawRouteMarkers(Canvas& canvas, const RenderView& view, const std::optional<RoutePoint>& start,
                      const std::optional<RoutePoint>& end);

// Sets the path and marker overlays to draw what session holds at each redraw; session must outlive
// the overlays.
void SetRouteOverlays(MapOverlays& overlays, const RouteSession& session);

}  // namespace viamappa
