// Drawing the background file into the background image: its rasters (left out of fast redraws),
// then its cartography in four passes over the tiles that meet the view: areas, lines, texts, points.
// A tile or raster whose data turn out damaged shows the read error once and is left out from then
// on; a file gone or changed since it was opened shows it once and is closed. The layers drawn over
// the background are never held up by it.
#pragma once

#include <cstdint>

#include "map/BackgroundFile.h"
#include "map/MapRenderer.h"
#include "map/RenderView.h"
#include "ui/Canvas.h"

namespace viamappa {

// The rasters visible at N whose box meets the view, in directory order: each decoded, stretched onto
// its place and let go; a grey box instead where one of its pixels would cover more than 25 of the
// window's.
void DrawBackgroundRasters(Canvas& canvas, const RenderView& view, BackgroundFile& file);

// The entities of the tiles visible at N_eff whose box meets the view, with the themes and text styles
// visible at N_eff.
void DrawBackgroundCartography(Canvas& canvas, const RenderView& view, BackgroundFile& file);

// The two hooks of the background image for a file; empty hooks without one.
BackgroundSources BackgroundSourcesOf(BackgroundFile* file);

// A background point entity at a pixel: the library's symbol of that number (grey in fast redraws) with
// its hot spot there, then the pixel itself in colour. A number the library lacks leaves the pixel only.
void DrawBackgroundSymbol(Canvas& canvas, const Point& pixel, std::int32_t symbol, Colour colour, bool fast);

}  // namespace viamappa
