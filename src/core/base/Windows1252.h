// The Windows-1252 code page of the files the program exchanges, to and from UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace viamappa {

// Every byte becomes one character; the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same number, so any byte sequence comes back
// unchanged through Utf8ToWindows1252.
std::string Windows1252ToUtf8(std::string_view bytes);

// Every character the code page holds becomes its byte; any other character, and every malformed
// UTF-8 byte, becomes "?".
std::string Utf8ToWindows1252(std::string_view text);

}  // namespace viamappa
