#include "app/ProgressLayout.h"

#include <cmath>
#include <cstdio>

namespace viamappa {

std::string BusyClockText(long long elapsed_seconds) {
  if (elapsed_seconds < 0) elapsed_seconds = 0;
  const int minutes = static_cast<int>((elapsed_seconds / 60) % 60);
  const int seconds = static_cast<int>(elapsed_seconds % 60);
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", minutes, seconds);
  return text;
}

PixelRect ProgressBarRect(int client_width, int client_height) {
  return {0, client_height - kProgressBarHeight, client_width, kProgressBarHeight};
}

PhaseBannerPlace PhaseBannerLayout(int client_width, int client_height, int text_width, int text_height) {
  PhaseBannerPlace banner;
  const int bottom = client_height - 21;
  const int height = text_height + 10;
  banner.band = {0, bottom - height, client_width, height};
  banner.text_x = text_width > client_width ? 0 : (client_width - text_width) / 2;
  banner.text_y = banner.band.y + 5;
  return banner;
}

double HundredthsOfMillimetrePerPixel(double dots_per_inch) {
  if (!(dots_per_inch > 0) || !std::isfinite(dots_per_inch)) dots_per_inch = 96.0;
  return 2540.0 / dots_per_inch;
}

}  // namespace viamappa
