#include "ui/Canvas.h"

namespace viamappa {

Colour GreyOf(Colour colour) {
  const unsigned red = colour & 0xFF;
  const unsigned green = (colour >> 8) & 0xFF;
  const unsigned blue = (colour >> 16) & 0xFF;
  const auto grey = static_cast<unsigned>(0.4 * green + 0.3 * blue + 0.3 * red);
  return grey | (grey << 8) | (grey << 16);
}

}  // namespace viamappa
