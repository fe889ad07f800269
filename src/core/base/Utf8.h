// UTF-8 helpers: the program keeps every text in UTF-8 and counts text sizes in characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace viamappa::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point that starts at text[pos] and moves pos past it. A malformed or truncated
// sequence, an overlong form or a surrogate yields kReplacement and moves pos by one byte, so a loop
// over any byte sequence always ends.
char32_t DecodeNext(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of a code point; a surrogate or a value above U+10FFFF appends kReplacement.
void Append(std::string& out, char32_t code_point);

// Number of characters: each malformed byte counts as one character.
std::size_t Length(std::string_view text);

// True when the text is well-formed UTF-8.
bool IsValid(std::string_view text);

// Simple case folding for the letters met in Italian and other Western names (ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic basics): the lower-case letter for an upper-case one, anything else
// unchanged.
char32_t FoldCase(char32_t code_point);

// The upper-case counterpart of FoldCase for the same letters: the upper-case letter for a lower-case
// one that has a single upper-case form, anything else unchanged (so ß stays ß).
char32_t UpperCase(char32_t code_point);

}  // namespace viamappa::utf8
