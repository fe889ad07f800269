// How a layer's style fields become pens, brushes and text heights.
#pragma once

#include <cstdint>
#include <string_view>

#include "map/MapLayer.h"
#include "map/SymbolLibrary.h"
#include "ui/Canvas.h"

namespace viamappa {

// The pen of a line or area layer: its style, its width in pixels, its colour (grey when fast).
Pen LayerPen(const LayerStyle& style, bool fast);

// The same from the three values: ' ' solid, 'T' dashed, 'P' dotted, 'A' dash-dot, 'B' dash-dot-dot,
// any other character solid.
Pen StyledPen(Colour colour, double width, char line_style, bool fast);

// The brush of an area fill code: -2 and -5 backward diagonal, -3 cross, -4 diagonal cross, -6
// forward diagonal, -7 horizontal, -8 vertical, in colour; any other code draws the outline only.
Brush HatchBrush(int fill_code, Colour colour);

// The brush of an area: the library's pattern of that number (the code read as an unsigned byte) in
// the colour when there is one, else the hatch of the code.
Brush AreaBrush(int fill_code, Colour colour, const SymbolLibrary& library);

// The colour as drawn: its grey in a fast redraw.
inline Colour Shown(Colour colour, bool fast) {
  return fast ? GreyOf(colour) : colour;
}

// The height in metres of the labels of a point layer at scale 1:N: the localities and the
// municipalities grow in steps as the scale gets smaller, other layers use their font size (at
// least 10).
double LabelHeightMetres(std::string_view layer_name, std::int32_t denominator, std::int32_t font_size);

// The height in metres of a street name of n characters on an arc whose ends are chord metres
// apart: 10, less on a short arc so that the name fits (chord / (1.2 n) when chord < 12 n).
double StreetNameHeightMetres(double chord, std::size_t characters);

// A street name is written only when its height in screen units is above a quarter of the full
// height and above 3.
bool StreetNameReadable(double height_units, double full_height_units);

// The face of a label font; "Modern" stands in for an empty one.
std::string_view LabelFace(const std::string& face);

}  // namespace viamappa
