#include "base/Windows1252.h"

#include <array>

#include "base/Utf8.h"

namespace viamappa {

namespace {

// Characters of the bytes 0x80 to 0x9F; the others are the Latin-1 characters of the same number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharacterOfByte(unsigned char byte) {
  return (byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80] : byte;
}

int ByteOfCharacter(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
  }
  return -1;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80) {
      text.push_back(c);
    } else {
      utf8::Append(text, CharacterOfByte(static_cast<unsigned char>(c)));
    }
  }
  return text;
}

std::string Utf8ToWindows1252(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t cp = utf8::DecodeNext(text, pos);
    const bool malformed = cp == utf8::kReplacement && text.substr(start, 3) != "\xEF\xBF\xBD";
    const int byte = malformed ? -1 : ByteOfCharacter(cp);
    bytes.push_back(byte < 0 ? '?' : static_cast<char>(byte));
  }
  return bytes;
}

}  // namespace viamappa
