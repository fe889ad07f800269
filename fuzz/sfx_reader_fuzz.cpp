// Any bytes as a vector cartography file (".sfx"): header, directories, tiles, entities and rasters.
#include "BackgroundFuzzDriver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  viamappa::fuzz::ReadAndDraw(data, size, "SFX");
  return 0;
}
