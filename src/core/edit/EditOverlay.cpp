#include "edit/EditOverlay.h"

#include <cmath>
#include <numbers>

#include "map/MapRenderer.h"

namespace viamappa {

namespace {

constexpr int kCirclePoints = 32;
constexpr double kLabelHeightPixels = 13;

}  // namespace

void DrawEditOverlay(Canvas& canvas, const RenderView& view, const EditOverlay& overlay) {
  RenderView full = view;
  full.fast = false;
  if (!overlay.highlighted.empty()) {
    canvas.SetPen(overlay.highlight_pen);
    for (const PointArray& line : overlay.highlighted) DrawPolyline(canvas, full, line);
  }
  // The arc being drawn and its rubber band stand out from the arcs in the inverted colour.
  const Pen traced_pen{Inverted(overlay.arc_colour), std::max(overlay.arc_width, 1.0), LineStyle::Solid};
  if (overlay.traced.size() >= 2) {
    canvas.SetPen(traced_pen);
    DrawPolyline(canvas, full, PointArray(overlay.traced), kVertexMarkerColour, true);
  } else if (overlay.traced.size() == 1) {
    const Point at = full.ToPixel(overlay.traced[0].x, overlay.traced[0].y);
    canvas.FillRectangle(at.x - 1.5, at.y - 1.5, 3, 3, kVertexMarkerColour);
  }
  if (overlay.band_from && overlay.band_to) {
    canvas.SetPen(traced_pen);
    const Point band[2] = {
        {static_cast<double>(overlay.band_from->x), static_cast<double>(overlay.band_from->y)},
        {static_cast<double>(overlay.band_to->x), static_cast<double>(overlay.band_to->y)}};
    canvas.DrawPolyline(band, 2);
  }
  if (overlay.snap_marker) {
    const Point c = full.ToPixel(overlay.snap_marker->x, overlay.snap_marker->y);
    const double radius = full.ScreenUnitsToPixels(kSnapMarkerUnits);
    std::vector<Point> ring;
    for (int i = 0; i < kCirclePoints; ++i) {
      const double angle = 2 * std::numbers::pi * i / kCirclePoints;
      ring.push_back({c.x + radius * std::cos(angle), c.y + radius * std::sin(angle)});
    }
    canvas.SetBrush({FillStyle::Solid, overlay.arc_colour, {}});
    canvas.FillPolygon({ring});
    // The crossing lines show where the point is inside the disc.
    canvas.SetPen({Inverted(overlay.arc_colour), 1, LineStyle::Solid});
    const Point across[2] = {{c.x - radius, c.y}, {c.x + radius, c.y}};
    const Point down[2] = {{c.x, c.y - radius}, {c.x, c.y + radius}};
    canvas.DrawPolyline(across, 2);
    canvas.DrawPolyline(down, 2);
  }
  if (overlay.vertex_marker) {
    const Point c = full.ToPixel(overlay.vertex_marker->x, overlay.vertex_marker->y);
    const double half = full.ScreenUnitsToPixels(kVertexMarkerUnits);
    canvas.SetPen({kVertexMarkerColour, 3, LineStyle::Solid});
    canvas.DrawRectangle(c.x - half, c.y - half, 2 * half, 2 * half);
  }
  if (!overlay.labels.empty()) {
    canvas.SetFont({"Arial", kLabelHeightPixels, 0});
    double y = overlay.label_at.y - 6;
    for (const std::string& label : overlay.labels) {
      canvas.DrawText(overlay.label_at.x + 14, y, label, kBlack);
      y += kLabelHeightPixels + 2;
    }
  }
}

}  // namespace viamappa
