// The themes and text styles of a background cartography file, and the visibility rules of the
// background: themes and text styles between their scales (bounds included), tiles and rasters
// strictly between theirs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Canvas.h"

namespace viamappa {

struct BackgroundTheme {
  std::string code;           // the key the tiles name it by, as stored
  std::string description;    // UTF-8
  std::int32_t minimum = -1;  // scale denominators; -1 for none
  std::int32_t maximum = -1;
  Colour line_colour = kBlack;
  int line_width = 0;  // pixels
  char line_style = ' ';
  Colour border_colour = kBlack;
  int border_width = 0;
  char border_style = ' ';
  std::int8_t fill = -1;  // the area fill code of the layers
  Colour fore_colour = kBlack;
  Colour back_colour = kBlack;
  std::int32_t symbol = 0;  // of the point entities
  bool shown = true;        // the person's switch
};

struct BackgroundTextStyle {
  std::string code;
  std::string description;
  std::int32_t minimum = -1;
  std::int32_t maximum = -1;
  Colour colour = kBlack;
  std::string face;  // UTF-8
};

// A theme or text style is visible at 1:N when (minimum is -1 or N >= minimum) and (maximum is -1 or
// N <= maximum).
bool ThemeVisibleAt(std::int32_t minimum, std::int32_t maximum, std::int32_t denominator);

// A tile or raster is hidden when its minimum is 0 or more and N <= minimum, or its maximum is not -1
// and N >= maximum. A negative minimum (-2 among them) sets no bound.
bool TileVisibleAt(std::int32_t minimum, std::int32_t maximum, std::int32_t denominator);

// Finds by code in a list sorted by code (byte order); null when absent.
const BackgroundTheme* FindTheme(const std::vector<BackgroundTheme>& sorted, std::string_view code);
const BackgroundTextStyle* FindTextStyle(const std::vector<BackgroundTextStyle>& sorted,
                                         std::string_view code);

}  // namespace viamappa
