// The samples of the styling window: how a line, an area or a point layer will look, drawn in a
// rectangle of the styling list or of a style form.
#pragma once

#include <string_view>

#include "map/MapLayer.h"
#include "map/SymbolLibrary.h"
#include "ui/Canvas.h"

namespace viamappa {

struct SampleBox {
  double x = 0, y = 0, width = 0, height = 0;
};

// A horizontal line across the box with the style's pen, under the caption when there is one.
void DrawLineSample(Canvas& canvas, const SampleBox& box, const LayerStyle& style, std::string_view caption);

// A rectangle filled by the style's fill code in its fore colour and outlined with its pen, the
// caption over it when there is one.
void DrawAreaSample(Canvas& canvas, const SampleBox& box, const LayerStyle& style, std::string_view caption);

// The style's symbol in the middle of the box; nothing when the library holds no such symbol.
void DrawSymbolSample(Canvas& canvas, const SampleBox& box, const LayerStyle& style);

}  // namespace viamappa
