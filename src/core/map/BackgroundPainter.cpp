#include "map/BackgroundPainter.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "map/BackgroundEntities.h"
#include "map/BackgroundReader.h"
#include "map/LayerPainting.h"
#include "map/RasterTile.h"
#include "map/SymbolLibrary.h"

namespace viamappa {

namespace {

// The face colour of buttons, and the border of the box that stands for a raster too enlarged to show.
constexpr Colour kButtonFace = 0xF0F0F0;
constexpr Colour kGreyBoxBorder = 0x808080;

// Positions further than this many screen units from the window's corner do not fit the 16-bit
// coordinates texts and points are drawn with.
constexpr double kCoordinateLimit = 32767.0;

// A text's point is the top left of its first letter: the baseline lies this share of the height below.
constexpr double kAscent = 0.8;

bool WithinCoordinateRange(const RenderView& view, const Point& p) {
  const double u = (p.x - view.x0) / view.resolution;
  const double v = (p.y - view.y0) / view.resolution;
  return u >= -kCoordinateLimit - 1 && u <= kCoordinateLimit && v >= -kCoordinateLimit - 1 &&
         v <= kCoordinateLimit;
}

void DrawGreyBox(Canvas& canvas, const RasterPlacement& box) {
  canvas.FillRectangle(box.x, box.y, box.width, box.height, kButtonFace);
  canvas.SetPen({kGreyBoxBorder, 1, LineStyle::Solid});
  canvas.DrawRectangle(box.x, box.y, box.width, box.height);
}

// Reads the raster's tile; false, the raster left out from now on, when it is damaged.
bool Decode(BackgroundFile& file, RasterEntry& raster, RasterImage& image) {
  BackgroundReader in(file.source(), raster.offset, raster.bytes);
  if (DecodeRasterTile(in, image)) return true;
  raster.damaged = true;
  file.ReportReadError();
  return false;
}

void DrawRaster(Canvas& canvas, const RenderView& view, BackgroundFile& file, RasterEntry& raster) {
  if (raster.bytes < 1) return;
  RasterImage image;
  // Without the size in the directory the tile's own header gives it.
  if ((raster.width < 1 || raster.height < 1) && !Decode(file, raster, image)) return;
  const int width = image.width > 0 ? image.width : raster.width;
  const int height = image.height > 0 ? image.height : raster.height;
  RasterPlacement placement = PlaceRaster(raster.box, width, height, view);
  if (placement.kind == RasterPlacement::Kind::GreyBox) DrawGreyBox(canvas, placement);
  if (placement.kind != RasterPlacement::Kind::Image) return;
  if (image.width == 0 && !Decode(file, raster, image)) return;
  if (image.width != width || image.height != height) {
    // The directory and the tile disagree: the pixels there are what is drawn.
    placement = PlaceRaster(raster.box, image.width, image.height, view);
    if (placement.kind == RasterPlacement::Kind::GreyBox) DrawGreyBox(canvas, placement);
    if (placement.kind != RasterPlacement::Kind::Image) return;
  }
  canvas.DrawImage(image, placement.source, placement.x, placement.y, placement.width, placement.height);
}

// One tile of a redraw with its indexes.
struct ShownTile {
  BackgroundTile* tile;
  std::vector<TileThemeEntry> themes;
  std::vector<TileTextEntry> texts;
};

class CartographyPasses {
 public:
  CartographyPasses(Canvas& canvas, const RenderView& view, BackgroundFile& file)
      : canvas_(canvas),
        view_(view),
        file_(file),
        n_eff_(view.EffectiveDenominator()),
        window_(view.Window()) {}

  void Run() {
    std::vector<ShownTile> shown;
    for (BackgroundTile& tile : file_.tiles()) {
      if (tile.damaged || !TileVisibleAt(tile.minimum, tile.maximum, n_eff_) || !tile.box.Meets(window_))
        continue;
      ShownTile entry{&tile, {}, {}};
      if (file_.ReadTileIndex(tile, entry.themes, entry.texts)) shown.push_back(std::move(entry));
    }
    for (ShownTile& tile : shown) EachTheme(tile, &TileThemeEntry::areas, &CartographyPasses::DrawAreas);
    for (ShownTile& tile : shown) EachTheme(tile, &TileThemeEntry::lines, &CartographyPasses::DrawLines);
    for (ShownTile& tile : shown) DrawTexts(tile);
    for (ShownTile& tile : shown) EachTheme(tile, &TileThemeEntry::points, &CartographyPasses::DrawPoints);
  }

 private:
  using BlockPainter = bool (CartographyPasses::*)(const BackgroundTheme&, EntityReader&, std::uint32_t);

  // Each visible theme of the tile with entities of the kind, until the tile turns out damaged.
  void EachTheme(ShownTile& shown, EntityBlock TileThemeEntry::*kind, BlockPainter paint) {
    for (const TileThemeEntry& entry : shown.themes) {
      if (shown.tile->damaged) return;
      const EntityBlock& block = entry.*kind;
      const BackgroundTheme* theme = entry.theme;
      if (!theme || !theme->shown || block.count == 0 ||
          !ThemeVisibleAt(theme->minimum, theme->maximum, n_eff_))
        continue;
      BackgroundReader in(file_.source(), block.offset, block.bytes);
      EntityReader entities(in, file_.header().packed, file_.header().origin);
      if (!(this->*paint)(*theme, entities, block.count)) Damaged(*shown.tile);
    }
  }

  void Damaged(BackgroundTile& tile) {
    tile.damaged = true;
    file_.ReportReadError();
  }

  bool DrawAreas(const BackgroundTheme& theme, EntityReader& entities, std::uint32_t count) {
    const Pen pen = StyledPen(theme.border_colour, theme.border_width, theme.border_style, view_.fast);
    const Brush brush = HatchBrush(theme.fill, Shown(theme.fore_colour, view_.fast));
    canvas_.SetPen(pen);
    canvas_.SetBrush(brush);
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint32_t rings = 0, points = 0;
      Box box;
      if (!entities.AreaStart(rings, points, box)) return false;
      if (!box.Meets(window_)) {
        if (!entities.SkipPoints(points)) return false;
        for (std::uint32_t r = 0; r < rings; ++r)
          if (!entities.LineStart(points, box) || !entities.SkipPoints(points)) return false;
        continue;
      }
      AreaPart part;
      if (!entities.Points(points, points_)) return false;
      part.outer = PointArray(std::move(points_), box);
      for (std::uint32_t r = 0; r < rings; ++r) {
        if (!entities.LineStart(points, box) || !entities.Points(points, points_)) return false;
        part.exclusions.emplace_back(std::move(points_), box);
      }
      DrawAreaPart(canvas_, view_, part, brush, pen);
    }
    return true;
  }

  bool DrawLines(const BackgroundTheme& theme, EntityReader& entities, std::uint32_t count) {
    canvas_.SetPen(StyledPen(theme.line_colour, theme.line_width, theme.line_style, view_.fast));
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint32_t points = 0;
      Box box;
      if (!entities.LineStart(points, box)) return false;
      if (!box.Meets(window_)) {
        if (!entities.SkipPoints(points)) return false;
        continue;
      }
      if (!entities.Points(points, points_)) return false;
      line_ = PointArray(std::move(points_), box);
      DrawPolyline(canvas_, view_, line_);
      points_ = line_.TakePoints();
    }
    return true;
  }

  bool DrawPoints(const BackgroundTheme& theme, EntityReader& entities, std::uint32_t count) {
    const Colour colour = Shown(theme.line_colour, view_.fast);
    for (std::uint32_t i = 0; i < count; ++i) {
      Point at;
      if (!entities.PointEntity(at)) return false;
      if (window_.Contains(at.x, at.y) && WithinCoordinateRange(view_, at))
        DrawBackgroundSymbol(canvas_, view_.ToPixel(at.x, at.y), theme.symbol, colour, view_.fast);
    }
    return true;
  }

  void DrawTexts(ShownTile& shown) {
    for (const TileTextEntry& entry : shown.texts) {
      if (shown.tile->damaged) return;
      const BackgroundTextStyle* style = entry.style;
      if (!style || entry.texts.count == 0 || !ThemeVisibleAt(style->minimum, style->maximum, n_eff_))
        continue;
      BackgroundReader in(file_.source(), entry.texts.offset, entry.texts.bytes);
      EntityReader entities(in, file_.header().packed, file_.header().origin);
      if (!DrawTextBlock(*style, entities, entry.texts.count)) Damaged(*shown.tile);
    }
  }

  bool DrawTextBlock(const BackgroundTextStyle& style, EntityReader& entities, std::uint32_t count) {
    const Colour colour = Shown(style.colour, view_.fast);
    const std::string face(LabelFace(style.face));
    BackgroundText text;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (!entities.Text(text)) return false;
      if (!window_.Contains(text.at.x, text.at.y) || !WithinCoordinateRange(view_, text.at)) continue;
      // Screen units: fixed heights as they stand, heights in metres at the scale.
      const double units = text.fixed ? text.height : text.height / view_.resolution;
      if (!(units > 10.0)) continue;
      const double pixels = view_.ScreenUnitsToPixels(units);
      // A text taller than twice the window cannot be read there; a damaged height would ask the
      // surface for glyphs of any size.
      if (pixels > 2.0 * view_.height) continue;
      const double angle = -10.0 * text.escapement;
      canvas_.SetFont({face, pixels, angle});
      const double radians = angle * std::numbers::pi / 1800.0;
      const Point at = view_.ToPixel(text.at.x, text.at.y);
      const double drop = kAscent * pixels;
      canvas_.DrawText(at.x + drop * std::sin(radians), at.y + drop * std::cos(radians), text.text, colour);
    }
    return true;
  }

  Canvas& canvas_;
  const RenderView& view_;
  BackgroundFile& file_;
  const std::int32_t n_eff_;
  const Box window_;
  std::vector<Point> points_;  // reused across entities
  PointArray line_;
};

}  // namespace

void DrawBackgroundRasters(Canvas& canvas, const RenderView& view, BackgroundFile& file) {
  if (view.fast || file.rasters().empty() || !file.BeginRedraw()) return;
  const Box window = view.Window();
  for (RasterEntry& raster : file.rasters()) {
    if (!file.is_open()) return;
    if (raster.damaged || !TileVisibleAt(raster.minimum, raster.maximum, view.denominator) ||
        !raster.box.Meets(window))
      continue;
    DrawRaster(canvas, view, file, raster);
  }
}

void DrawBackgroundCartography(Canvas& canvas, const RenderView& view, BackgroundFile& file) {
  if (file.tiles().empty() || !file.BeginRedraw()) return;
  CartographyPasses(canvas, view, file).Run();
}

BackgroundSources BackgroundSourcesOf(BackgroundFile* file) {
  if (!file) return {};
  return {[file](Canvas& canvas, const RenderView& view) { DrawBackgroundRasters(canvas, view, *file); },
          [file](Canvas& canvas, const RenderView& view) { DrawBackgroundCartography(canvas, view, *file); }};
}

void DrawBackgroundSymbol(Canvas& canvas, const Point& pixel, std::int32_t symbol, Colour colour, bool fast) {
  // The library's symbol with its hot spot on the point, then the point's own pixel, as nodes are drawn.
  const int x = static_cast<int>(std::floor(pixel.x));
  const int y = static_cast<int>(std::floor(pixel.y));
  if (const Symbol* shape = SymbolLibrary::Builtin().FindSymbol(symbol))
    DrawSymbol(canvas, *shape, fast ? shape->fast_image : shape->image, x, y);
  canvas.SetPixel(x, y, colour);
}

}  // namespace viamappa
