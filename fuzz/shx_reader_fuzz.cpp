// Any bytes as the ".SHX" of an otherwise valid set; the first byte picks the polyline or polygon set.
#include <cstdint>

#include "ShapefileFuzzSet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const viamappa::fuzz::SetBytes& set = viamappa::fuzz::ValidSet(data[0] & 1);
  viamappa::fuzz::ReadSet(set.shp, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1),
                          set.dbf);
  return 0;
}
