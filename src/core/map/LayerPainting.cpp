#include "map/LayerPainting.h"

#include "map/LayerNames.h"

namespace viamappa {

Pen LayerPen(const LayerStyle& style, bool fast) {
  return StyledPen(style.line_colour, style.line_width, style.line_style, fast);
}

Pen StyledPen(Colour colour, double width, char line_style, bool fast) {
  Pen pen;
  pen.colour = Shown(colour, fast);
  pen.width = width;
  switch (line_style) {
    case 'T':
      pen.style = LineStyle::Dash;
      break;
    case 'P':
      pen.style = LineStyle::Dot;
      break;
    case 'A':
      pen.style = LineStyle::DashDot;
      break;
    case 'B':
      pen.style = LineStyle::DashDotDot;
      break;
    default:
      pen.style = LineStyle::Solid;
      break;
  }
  return pen;
}

Brush HatchBrush(int fill_code, Colour colour) {
  Brush brush;
  brush.colour = colour;
  switch (fill_code) {
    case -2:
    case -5:
      brush.style = FillStyle::BackwardDiagonal;
      break;
    case -3:
      brush.style = FillStyle::Cross;
      break;
    case -4:
      brush.style = FillStyle::DiagonalCross;
      break;
    case -6:
      brush.style = FillStyle::ForwardDiagonal;
      break;
    case -7:
      brush.style = FillStyle::Horizontal;
      break;
    case -8:
      brush.style = FillStyle::Vertical;
      break;
    default:
      brush.style = FillStyle::None;
      break;
  }
  return brush;
}

Brush AreaBrush(int fill_code, Colour colour, const SymbolLibrary& library) {
  if (const FillPattern* pattern = library.FindPattern(static_cast<std::uint8_t>(fill_code)))
    return PatternBrush(*pattern, colour);
  return HatchBrush(fill_code, colour);
}

double LabelHeightMetres(std::string_view layer_name, std::int32_t denominator, std::int32_t font_size) {
  if (layer_name == kBigLocalityLayer || layer_name == kMediumLocalityLayer ||
      layer_name == kSmallLocalityLayer) {
    if (denominator >= 100000) return 500;
    if (denominator >= 50000) return 250;
    if (denominator >= 25000) return 180;
    return 100;
  }
  if (layer_name == kMunicipalityLabelLayer) {
    if (denominator >= 500000) return 3000;
    if (denominator >= 300000) return 1500;
    if (denominator >= 100000) return 1200;
    return 700;
  }
  return font_size < 10 ? 10 : font_size;
}

double StreetNameHeightMetres(double chord, std::size_t characters) {
  constexpr double kFullHeight = 10.0;
  const double n = static_cast<double>(characters);
  if (characters > 0 && chord < 12.0 * n) return chord / (1.2 * n);
  return kFullHeight;
}

bool StreetNameReadable(double height_units, double full_height_units) {
  return height_units > 0.25 * full_height_units && height_units > 3.0;
}

std::string_view LabelFace(const std::string& face) {
  return face.empty() ? std::string_view("Modern") : std::string_view(face);
}

}  // namespace viamappa
