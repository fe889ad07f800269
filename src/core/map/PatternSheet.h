// A picture of the library's fill patterns, for a person to look at.
#pragma once

#include "map/SymbolLibrary.h"
#include "ui/Canvas.h"

namespace viamappa {

// The size in pixels of the sheet.
int PatternSheetWidth();
int PatternSheetHeight(const SymbolLibrary& library);

// The fill patterns in order of number, five to a row from the left, each a framed 64 x 64 swatch in
// black on white.
void DrawPatternSheet(Canvas& canvas, const SymbolLibrary& library);

}  // namespace viamappa
