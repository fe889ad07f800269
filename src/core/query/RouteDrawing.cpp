#include "query/RouteDrawing.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace viamappa {

namespace {

constexpr double kPathPenPixels = 16;
constexpr double kMarkerRadiusPixels = 8;
constexpr int kMarkerSides = 16;
constexpr Colour kStartColour = 0x00A000;  // green
constexpr Colour kEndColour = 0x0000E0;    // red
// Points further than this many screen units from the window's origin cannot be drawn.
constexpr double kCoordinateLimit = 32767.0;

bool MeetsView(const Box& box, const RenderView& view) {
  return box.maxx >= view.x0 && box.maxy >= view.y0 && box.minx <= view.x1 && box.miny <= view.y1;
}

bool WithinCoordinateRange(const RenderView& view, const Point& p) {
  const double u = (p.x - view.x0) / view.resolution;
  const double v = (p.y - view.y0) / view.resolution;
  return u >= -kCoordinateLimit - 1 && u <= kCoordinateLimit && v >= -kCoordinateLimit - 1 &&
         v <= kCoordinateLimit;
}

void DrawMarker(Canvas& canvas, const RenderView& view, const Point& at, Colour colour,
                std::string_view letter) {
  if (!WithinCoordinateRange(view, at)) return;
  const Point centre = view.ToPixel(at.x, at.y);
  std::vector<Point> disc;
  for (int i = 0; i <= kMarkerSides; ++i) {
    const double angle = 2 * std::numbers::pi * i / kMarkerSides;
    disc.push_back(
        {centre.x + kMarkerRadiusPixels * std::cos(angle), centre.y + kMarkerRadiusPixels * std::sin(angle)});
  }
  canvas.SetBrush({FillStyle::Solid, colour, {}});
  canvas.FillPolygon({disc});
  canvas.SetPen({kBlack, 2, LineStyle::Solid});
  canvas.DrawPolyline(disc.data(), disc.size());
  canvas.SetFont({"Arial", 1.5 * kMarkerRadiusPixels, 0});
  canvas.DrawTextCentred(centre.x, centre.y, letter, kWhite);
}

}  // namespace

void DrawRoutePath(Canvas& canvas, const RenderView& view, const RouteResult& result) {
  canvas.SetPen({kBlack, kPathPenPixels, LineStyle::Solid});
  for (const RouteItem& item : result.Chosen().items) {
    const PointArray& line = item.Used();
    if (MeetsView(line.box(), view)) DrawPolyline(canvas, view, line);
  }
}

void DrawRouteMarkers(Canvas& canvas, const RenderView& view, const std::optional<RoutePoint>& start,
                      const std::optional<RoutePoint>& end) {
  if (start) DrawMarker(canvas, view, start->at, kStartColour, "P");
  if (end) DrawMarker(canvas, view, end->at, kEndColour, "A");
}

void SetRouteOverlays(MapOverlays& overlays, const RouteSession& session) {
  overlays.path = [&session](Canvas& canvas, const RenderView& view) {
    if (session.result()) DrawRoutePath(canvas, view, *session.result());
  };
  overlays.markers = [&session](Canvas& canvas, const RenderView& view) {
    DrawRouteMarkers(canvas, view, session.start(), session.end());
  };
}

}  // namespace viamappa
