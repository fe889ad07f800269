// The code pages of the files the program reads: Windows-1252 unless a file says otherwise (a ".cpg"
// beside a shapefile, a byte-order mark at the start of a text file), UTF-8, and the Latin code pages of
// Western and Central European data.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace viamappa {

enum class CodePage { Windows1252, Windows1250, Latin1, Latin2, Latin9, Utf8 };

// The code page a ".cpg" file names: "UTF-8", "UTF8", "1252", "ANSI 1252", "CP1252", "Windows-1252",
// "1250", "ISO-8859-1", "88591", "Latin1", "ISO-8859-2", "ISO-8859-15", ... in any letter case, blanks
// around ignored. nullopt for a name the program does not know.
std::optional<CodePage> CodePageFromName(std::string_view name);

// The name messages show ("UTF-8", "Windows-1252", "ISO-8859-1", ...).
std::string_view CodePageName(CodePage page);

// Bytes of the code page as UTF-8. Every byte of the single-byte pages becomes one character; malformed
// UTF-8 becomes U+FFFD for each bad byte.
std::string ToUtf8(std::string_view bytes, CodePage page);
void ToUtf8(std::string_view bytes, CodePage page, std::string& out);

// True when every character of the UTF-8 text has a byte of its own in Windows-1252, the code page of
// the files the program writes.
bool FitsWindows1252(std::string_view text);

// The UTF-8 byte-order mark that may open a text file.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace viamappa
