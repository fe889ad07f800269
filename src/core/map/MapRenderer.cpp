#include "map/MapRenderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "base/Utf8.h"
#include "geom/Clipping.h"
#include "geom/Simplify.h"
#include "map/LayerNames.h"
#include "map/LayerPainting.h"
#include "map/SymbolLibrary.h"

namespace viamappa {

namespace {

// Vertices that move a line by less than this many pixels are not drawn: at small scales an arc's
// vertices crowd into a few pixels, and a line costs its segments.
constexpr double kThinningPixels = 0.5;

// Positions further than this many screen units from the origin do not fit the 16-bit coordinates
// points are drawn with; such points are left out.
constexpr double kCoordinateLimit = 32767.0;

// The box test of a feature against the window: edges count as meeting.
bool MeetsWindow(const Box& box, const RenderView& view) {
  return box.maxx >= view.x0 && box.maxy >= view.y0 && box.minx <= view.x1 && box.miny <= view.y1;
}

double RoundTo4Decimals(double value) {
  return std::round(value * 10000.0) / 10000.0;
}

// Converts world points to pixels into a buffer reused across calls.
class PixelPoints {
 public:
  std::vector<Point>& Of(const RenderView& view, const std::vector<Point>& world) {
    pixels_.resize(world.size());
    const double k = view.PixelsPerMetre();
    const double height = static_cast<double>(view.height);
    for (std::size_t i = 0; i < world.size(); ++i)
      pixels_[i] = {(world[i].x - view.x0) * k, height - (world[i].y - view.y0) * k};
    return pixels_;
  }
  // The same, without the vertices that do not show.
  std::vector<Point>& Thinned(const RenderView& view, const std::vector<Point>& world) {
    SimplifyPolyline(Of(view, world), kThinningPixels);
    return pixels_;
  }

 private:
  std::vector<Point> pixels_;
};

// Sends connected points in runs of at most kMaxRunPoints; each run starts on the last point of the
// one before, so the line stays connected.
void DrawRuns(Canvas& canvas, const std::vector<Point>& pixels) {
  const std::size_t count = pixels.size();
  if (count < 2) return;
  std::size_t start = 0;
  while (start + 1 < count) {
    const std::size_t length = std::min(kMaxRunPoints, count - start);
    canvas.DrawPolyline(pixels.data() + start, length);
    start += length - 1;
  }
}

// Whether a point lies within the coordinate range points can be drawn at.
bool WithinCoordinateRange(const RenderView& view, const Point& p) {
  const double u = (p.x - view.x0) / view.resolution;
  const double v = (p.y - view.y0) / view.resolution;
  return u >= -kCoordinateLimit - 1 && u <= kCoordinateLimit && v >= -kCoordinateLimit - 1 &&
         v <= kCoordinateLimit;
}

// A small arrow at the middle of a segment, pointing from a to b (pixels).
void DrawDirectionMark(Canvas& canvas, const Point& a, const Point& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length < 1e-9) return;
  constexpr double kArm = 6.0;
  const double ux = dx / length;
  const double uy = dy / length;
  const Point tip{(a.x + b.x) / 2 + ux * kArm / 2, (a.y + b.y) / 2 + uy * kArm / 2};
  // The two arms leave the tip backwards at 30 degrees either side of the segment.
  const double c = std::cos(std::numbers::pi / 6);
  const double s = std::sin(std::numbers::pi / 6);
  const Point arrow[3] = {
      {tip.x - kArm * (ux * c - uy * s), tip.y - kArm * (uy * c + ux * s)},
      tip,
      {tip.x - kArm * (ux * c + uy * s), tip.y - kArm * (uy * c - ux * s)},
  };
  canvas.DrawPolyline(arrow, 3);
}

class VectorPasses {
 public:
  VectorPasses(Canvas& canvas, const LayerSet& layers, const RenderView& view, StreetNameSource* names,
               const MapOverlays& overlays)
      : canvas_(canvas),
        layers_(layers),
        view_(view),
        names_(names),
        overlays_(overlays),
        n_eff_(view.EffectiveDenominator()) {}

  void Run() {
    for (const MapLayer* layer : layers_.drawing_order())
      if (Passes(*layer, FeatureKind::Area)) DrawAreas(*layer);
    if (overlays_.path) overlays_.path(canvas_, view_);
    for (const MapLayer* layer : layers_.drawing_order())
      if (Passes(*layer, FeatureKind::Line)) DrawLines(*layer);
    for (const MapLayer* layer : layers_.drawing_order()) {
      if (!Passes(*layer, FeatureKind::Point)) continue;
      if (layer->label_field().empty()) {
        DrawSymbols(*layer);
      } else {
        DrawLabels(*layer);
      }
    }
    if (const MapLayer* names_layer = layers_.FindLayer(kStreetNameLayer);
        names_layer && Passes(*names_layer, FeatureKind::Line))
      DrawStreetNames(*names_layer);
    if (overlays_.markers) overlays_.markers(canvas_, view_);
    if (overlays_.digitising) overlays_.digitising(canvas_, view_);
  }

 private:
  bool Passes(const MapLayer& layer, FeatureKind kind) const {
    return layer.style().visible && layer.IsVisible(kind, n_eff_);
  }

  void DrawAreas(const MapLayer& layer) {
    const LayerStyle& style = layer.style();
    const Pen pen = LayerPen(style, view_.fast);
    const Brush brush = AreaBrush(style.fill, Shown(style.fore_colour, view_.fast), SymbolLibrary::Builtin());
    canvas_.SetPen(pen);
    canvas_.SetBrush(brush);
    for (const AreaFeature* feature : layer.AreasMeeting(view_.Window())) {
      for (const AreaPart& part : feature->parts) {
        if (MeetsWindow(part.outer.box(), view_)) DrawAreaPart(canvas_, view_, part, brush, pen);
      }
    }
  }

  void DrawLines(const MapLayer& layer) {
    const LayerStyle& style = layer.style();
    if (layer.name() == kArcLayer && overlays_.highlights && !overlays_.highlights->empty()) {
      canvas_.SetPen({kBlack, 5.0 * style.line_width, LineStyle::Solid});
      for (const PointArray& line : *overlays_.highlights)
        if (MeetsWindow(line.box(), view_)) DrawPolyline(canvas_, view_, line);
    }
    canvas_.SetPen(LayerPen(style, view_.fast));
    for (const LineFeature* feature : layer.LinesMeeting(view_.Window()))
      for (const PointArray& line : feature->polylines)
        if (MeetsWindow(line.box(), view_)) DrawPolyline(canvas_, view_, line);
  }

  // Nodes and other symbol layers: the layer's library symbol with its hot spot on the point, then
  // the point's own pixel.
  void DrawSymbols(const MapLayer& layer) {
    const Colour colour = Shown(layer.style().line_colour, view_.fast);
    const Symbol* symbol = SymbolLibrary::Builtin().FindSymbol(layer.style().symbol);
    for (const PointFeature* feature : layer.PointsMeeting(view_.Window())) {
      if (!MeetsWindow(Box::Of(feature->point.x, feature->point.y, feature->point.x, feature->point.y),
                       view_) ||
          !WithinCoordinateRange(view_, feature->point))
        continue;
      const Point at = view_.ToPixel(feature->point.x, feature->point.y);
      const int x = static_cast<int>(std::floor(at.x));
      const int y = static_cast<int>(std::floor(at.y));
      if (symbol) DrawSymbol(canvas_, *symbol, view_.fast ? symbol->fast_image : symbol->image, x, y);
      canvas_.SetPixel(x, y, colour);
    }
  }

  void DrawLabels(const MapLayer& layer) {
    // Label heights follow the real scale, not the one the fast redraw tests visibility with.
    const double metres = LabelHeightMetres(layer.name(), view_.denominator, layer.font_size());
    const double units = metres / view_.resolution;
    if (!(units > 10.0)) return;
    canvas_.SetFont({std::string(LabelFace(layer.font_face())), view_.ScreenUnitsToPixels(units), 0});
    const Colour colour = Shown(layer.style().line_colour, view_.fast);
    // A label counts from its point 100 m to the east and to the south.
    const Box search = Box::Of(view_.x0 - 100, view_.y0, view_.x1, view_.y1 + 100);
    for (const PointFeature* feature : layer.PointsMeeting(search)) {
      const Point& p = feature->point;
      if (!MeetsWindow(Box::Of(p.x, p.y - 100, p.x + 100, p.y), view_)) continue;
      if (!WithinCoordinateRange(view_, p)) continue;
      const Point at = view_.ToPixel(p.x, p.y);
      canvas_.DrawTextCentred(at.x, at.y, feature->text, colour);
    }
  }

  void DrawStreetNames(const MapLayer& names_layer);

  Canvas& canvas_;
  const LayerSet& layers_;
  const RenderView& view_;
  StreetNameSource* names_;
  const MapOverlays& overlays_;
  const std::int32_t n_eff_;
};

// Where a name of width w (metres) starts on an arc and which way it reads.
struct NamePlacement {
  Point start;       // world point where the baseline starts
  double angle = 0;  // tenths of a degree, counter-clockwise, within -900 .. 900
};

// Walks (chord - w) / 2 along the arc from its end with the smaller X; the baseline points from there
// to the first later vertex at least w away (the last vertex when none is). A direction toward the
// west is turned round, starting the text w further on, so that the name never reads upside down.
NamePlacement PlaceName(const std::vector<Point>& points, double chord, double width) {
  const bool reversed = points.back().x < points.front().x;
  const auto at = [&](std::size_t i) -> const Point& {
    return reversed ? points[points.size() - 1 - i] : points[i];
  };
  const std::size_t count = points.size();
  double remaining = std::max(0.0, (chord - width) / 2);
  Point start = at(0);
  std::size_t next = 1;
  for (; next < count; ++next) {
    const Point& a = at(next - 1);
    const Point& b = at(next);
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length >= remaining) {
      const double t = length > 0 ? remaining / length : 0;
      start = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
      break;
    }
    remaining -= length;
    start = b;
  }
  if (next >= count) next = count - 1;
  std::size_t target = next;
  while (target + 1 < count && std::hypot(at(target).x - start.x, at(target).y - start.y) < width) ++target;
  Point direction{at(target).x - start.x, at(target).y - start.y};
  if (direction.x == 0 && direction.y == 0) {
    // The start fell on the last vertex: the last segment gives the direction.
    direction = {at(count - 1).x - at(count - 2).x, at(count - 1).y - at(count - 2).y};
  }
  const double length = std::hypot(direction.x, direction.y);
  NamePlacement placement{start, 0};
  if (length == 0) return placement;
  if (direction.x < 0) {
    placement.start = {start.x + direction.x / length * width, start.y + direction.y / length * width};
    direction = {-direction.x, -direction.y};
  }
  // Rows of the window count downward, so this is -atan(dy/dx) measured on the screen.
  placement.angle = std::atan2(direction.y, direction.x) * 1800.0 / std::numbers::pi;
  return placement;
}

void VectorPasses::DrawStreetNames(const MapLayer& names_layer) {
  const MapLayer* arcs = layers_.FindLayer(kArcLayer);
  if (!arcs || !names_) return;
  const double full_units = 10.0 / view_.resolution;
  // No name is ever taller than the full height: when that cannot be read, no name can.
  if (!StreetNameReadable(full_units, full_units)) return;
  const std::string face(LabelFace(names_layer.font_face()));
  const Colour colour = Shown(names_layer.style().line_colour, view_.fast);
  const double pixels_per_metre = view_.PixelsPerMetre();
  const Box search = Box::Of(view_.x0 - 100, view_.y0 - 100, view_.x1 + 100, view_.y1 + 100);
  // Names are placed first and written afterwards grouped by size and angle: a surface turns each
  // glyph once for an angle, and names of one street share it.
  struct PendingName {
    double pixel_height;
    double angle;
    Point at;
    std::string text;
  };
  std::vector<PendingName> pending;
  {
    names_->BeginPass();
    struct EndPass {
      StreetNameSource* names;
      ~EndPass() { names->EndPass(); }
    } end_pass{names_};
    std::string name;
    for (const LineFeature* feature : arcs->LinesMeeting(search)) {
      if (feature->polylines.empty()) continue;
      const PointArray& line = feature->polylines.front();
      if (line.count() < 2) continue;
      if (!names_->NameOf(feature->id, name) || name.empty()) continue;
      const double chord = std::hypot(line.back().x - line.front().x, line.back().y - line.front().y);
      const double metres = StreetNameHeightMetres(chord, utf8::Length(name));
      const double units = metres / view_.resolution;
      if (!StreetNameReadable(units, full_units)) continue;
      const double pixel_height = view_.ScreenUnitsToPixels(units);
      canvas_.SetFont({face, pixel_height, 0});
      const double width = canvas_.TextWidth(name) / pixels_per_metre;
      const NamePlacement placement = PlaceName(line.points(), chord, width);
      pending.push_back(
          {pixel_height, placement.angle, view_.ToPixel(placement.start.x, placement.start.y), name});
    }
  }
  std::stable_sort(pending.begin(), pending.end(), [](const PendingName& a, const PendingName& b) {
    const long ha = std::lround(a.pixel_height), hb = std::lround(b.pixel_height);
    return ha != hb ? ha < hb : std::lround(a.angle) < std::lround(b.angle);
  });
  for (const PendingName& name : pending) {
    canvas_.SetFont({face, name.pixel_height, name.angle});
    // The baseline is lowered by a third of the height across the text, so the name sits centred on
    // the arc.
    const double radians = name.angle * std::numbers::pi / 1800.0;
    const double drop = name.pixel_height / 3;
    canvas_.DrawText(name.at.x + drop * std::sin(radians), name.at.y + drop * std::cos(radians), name.text,
                     colour);
  }
}

}  // namespace

void DrawBackground(Canvas& canvas, Colour background, const RenderView& view,
                    const BackgroundSources& sources) {
  canvas.Clear(background);
  if (sources.rasters && !view.fast) sources.rasters(canvas, view);
  if (sources.cartography) sources.cartography(canvas, view);
}

void DrawVectorLayers(Canvas& canvas, const LayerSet& layers, const RenderView& view, StreetNameSource* names,
                      const MapOverlays& overlays) {
  VectorPasses(canvas, layers, view, names, overlays).Run();
}

namespace {

// A whole or clipped area part: filled (unless the brush fills nothing), then each ring outlined.
void DrawPartRings(Canvas& canvas, const RenderView& view, const AreaPart& part, const Brush& brush,
                   const Pen& pen) {
  thread_local PixelPoints pixels;
  if (brush.style != FillStyle::None) {
    std::vector<std::vector<Point>> rings;
    rings.reserve(1 + part.exclusions.size());
    rings.push_back(pixels.Thinned(view, part.outer.points()));
    for (const PointArray& hole : part.exclusions) rings.push_back(pixels.Thinned(view, hole.points()));
    canvas.FillPolygon(rings);
  }
  canvas.SetPen(pen);
  DrawRuns(canvas, pixels.Thinned(view, part.outer.points()));
  for (const PointArray& hole : part.exclusions) DrawRuns(canvas, pixels.Thinned(view, hole.points()));
}

}  // namespace

void DrawAreaPart(Canvas& canvas, const RenderView& view, const AreaPart& part, const Brush& brush,
                  const Pen& pen) {
  const double tolerance = 10.0 * view.resolution;
  AreaClip clip = ClipAreaPart(part, view.Window(), tolerance);
  if (clip.outcome == AreaClip::Outcome::Whole) {
    DrawPartRings(canvas, view, part, brush, pen);
  } else if (clip.outcome == AreaClip::Outcome::Clipped) {
    for (const AreaPart& piece : clip.parts) DrawPartRings(canvas, view, piece, brush, pen);
  }
}

void DrawPolyline(Canvas& canvas, const RenderView& view, const PointArray& line, std::int64_t vertex_colour,
                  bool direction_marks) {
  if (line.count() < 2) return;
  const double margin = 100.0 * view.resolution;
  const Box widened = Box::Of(RoundTo4Decimals(view.x0 - margin), RoundTo4Decimals(view.y0 - margin),
                              RoundTo4Decimals(view.x1 + margin), RoundTo4Decimals(view.y1 + margin));
  std::vector<PointArray> clipped;
  if (!widened.Contains(line.box())) clipped = ClipPolyline(line, widened);
  const auto for_each_piece = [&](auto&& visit) {
    if (widened.Contains(line.box())) {
      visit(line.points());
    } else {
      for (const PointArray& piece : clipped) visit(piece.points());
    }
  };
  thread_local PixelPoints pixels;
  for_each_piece([&](const std::vector<Point>& world) { DrawRuns(canvas, pixels.Thinned(view, world)); });
  if (view.fast) return;
  // Marks go on every vertex, including those the line itself leaves out, after all of the line.
  if (vertex_colour >= 0) {
    for_each_piece([&](const std::vector<Point>& world) {
      for (const Point& p : pixels.Of(view, world))
        canvas.FillRectangle(p.x - 1.5, p.y - 1.5, 3, 3, static_cast<Colour>(vertex_colour));
    });
  }
  if (direction_marks) {
    canvas.SetPen({vertex_colour >= 0 ? static_cast<Colour>(vertex_colour) : kBlack, 1, LineStyle::Solid});
    for_each_piece([&](const std::vector<Point>& world) {
      const std::vector<Point>& at = pixels.Of(view, world);
      for (std::size_t i = 1; i < at.size(); ++i) DrawDirectionMark(canvas, at[i - 1], at[i]);
    });
  }
}

}  // namespace viamappa
