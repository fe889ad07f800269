// Any bytes as an orthophoto file (".sfw"): header, raster directory and raster tiles.
#include "BackgroundFuzzDriver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  viamappa::fuzz::ReadAndDraw(data, size, "SFW");
  return 0;
}
