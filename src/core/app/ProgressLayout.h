// Where long work shows itself: the text of the busy clock, the place of the progress bar and of the
// phase banner, and the size of a screen pixel.
#pragma once

#include <string>

namespace viamappa {

// The busy clock's text for an elapsed time: minutes modulo 60 and seconds, "%02d" each, joined by a
// colon ("01:15" after 75 seconds). A negative time reads "00:00".
std::string BusyClockText(long long elapsed_seconds);

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const PixelRect&) const = default;
};

// The progress bar: the full width of the client area, 20 pixels high along its bottom edge.
inline constexpr int kProgressBarHeight = 20;
PixelRect ProgressBarRect(int client_width, int client_height);

// The phase banner: a band over the client's full width whose bottom lies 21 pixels above the client's
// bottom and whose height is the text height plus 10; the text 5 pixels below the band's top, centred,
// or from the left edge when it is wider than the client.
struct PhaseBannerPlace {
  PixelRect band;
  int text_x = 0;  // in client coordinates
  int text_y = 0;  // top of the text
};
PhaseBannerPlace PhaseBannerLayout(int client_width, int client_height, int text_width, int text_height);

// Hundredths of a millimetre covered by one pixel of a screen with the given physical resolution in
// dots per inch; a resolution that is not positive counts as 96.
double HundredthsOfMillimetrePerPixel(double dots_per_inch);

}  // namespace viamappa
