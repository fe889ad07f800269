// Any bytes as a line of the toponym file: the columns are split without reading past the line, and the
// texts become valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/Utf8.h"
#include "io/ToponymImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const auto parsed = viamappa::ParseToponymLine(line);
  if (parsed) {
    for (const std::string* text :
         {&parsed->name, &parsed->kind, &parsed->minx, &parsed->miny, &parsed->maxx, &parsed->maxy}) {
      if (!viamappa::utf8::IsValid(*text)) std::abort();
    }
  }
  return 0;
}
