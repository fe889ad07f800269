#include "base/CodePage.h"

#include <array>

#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "base/Windows1252.h"

namespace viamappa {

namespace {

// The characters of the bytes 0x80 to 0xFF. The bytes a page leaves undefined keep the control character
// of the same number, as Windows-1252 does.
constexpr std::array<char32_t, 128> kWindows1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// ISO-8859-2 from 0xA0; below it the bytes are the control characters of the same number.
constexpr std::array<char32_t, 96> kLatin2High = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164,
    0x0179, 0x00AD, 0x017D, 0x017B, 0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7,
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102,
    0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170,
    0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3,
    0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// ISO-8859-15 differs from ISO-8859-1 in eight bytes.
char32_t Latin9Character(unsigned char byte) {
  switch (byte) {
    case 0xA4:
      return 0x20AC;
    case 0xA6:
      return 0x0160;
    case 0xA8:
      return 0x0161;
    case 0xB4:
      return 0x017D;
    case 0xB8:
      return 0x017E;
    case 0xBC:
      return 0x0152;
    case 0xBD:
      return 0x0153;
    case 0xBE:
      return 0x0178;
    default:
      return byte;
  }
}

char32_t HighCharacter(unsigned char byte, CodePage page) {
  switch (page) {
    case CodePage::Windows1250:
      return kWindows1250[byte - 0x80];
    case CodePage::Latin2:
      return byte < 0xA0 ? byte : kLatin2High[byte - 0xA0];
    case CodePage::Latin9:
      return Latin9Character(byte);
    default:
      return byte;
  }
}

// A name reduced to its letters and digits, in lower case: "ISO-8859-1" and "iso 8859 1" meet.
std::string Reduced(std::string_view name) {
  std::string reduced;
  for (const char c : AsciiLower(Trim(name))) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) reduced.push_back(c);
  }
  return reduced;
}

}  // namespace

std::optional<CodePage> CodePageFromName(std::string_view name) {
  const std::string reduced = Reduced(name);
  const struct {
    const char* name;
    CodePage page;
  } kNames[] = {
      {"utf8", CodePage::Utf8},          {"65001", CodePage::Utf8},
      {"1252", CodePage::Windows1252},   {"ansi1252", CodePage::Windows1252},
      {"cp1252", CodePage::Windows1252}, {"windows1252", CodePage::Windows1252},
      {"1250", CodePage::Windows1250},   {"ansi1250", CodePage::Windows1250},
      {"cp1250", CodePage::Windows1250}, {"windows1250", CodePage::Windows1250},
      {"88591", CodePage::Latin1},       {"iso88591", CodePage::Latin1},
      {"latin1", CodePage::Latin1},      {"28591", CodePage::Latin1},
      {"88592", CodePage::Latin2},       {"iso88592", CodePage::Latin2},
      {"latin2", CodePage::Latin2},      {"28592", CodePage::Latin2},
      {"885915", CodePage::Latin9},      {"iso885915", CodePage::Latin9},
      {"latin9", CodePage::Latin9},      {"28605", CodePage::Latin9},
  };
  for (const auto& entry : kNames) {
    if (reduced == entry.name) return entry.page;
  }
  return std::nullopt;
}

std::string_view CodePageName(CodePage page) {
  switch (page) {
    case CodePage::Windows1252:
      return "Windows-1252";
    case CodePage::Windows1250:
      return "Windows-1250";
    case CodePage::Latin1:
      return "ISO-8859-1";
    case CodePage::Latin2:
      return "ISO-8859-2";
    case CodePage::Latin9:
      return "ISO-8859-15";
    case CodePage::Utf8:
      return "UTF-8";
  }
  return {};
}

void ToUtf8(std::string_view bytes, CodePage page, std::string& out) {
  out.clear();
  if (page == CodePage::Windows1252) {
    out = Windows1252ToUtf8(bytes);
    return;
  }
  if (page == CodePage::Utf8) {
    if (utf8::IsValid(bytes)) {
      out.assign(bytes);
      return;
    }
    for (std::size_t pos = 0; pos < bytes.size();) utf8::Append(out, utf8::DecodeNext(bytes, pos));
    return;
  }
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else {
      utf8::Append(out, HighCharacter(byte, page));
    }
  }
}

std::string ToUtf8(std::string_view bytes, CodePage page) {
  std::string out;
  ToUtf8(bytes, page, out);
  return out;
}

bool FitsWindows1252(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return Windows1252ToUtf8(Utf8ToWindows1252(text)) == text;
  }
  return true;
}

}  // namespace viamappa
