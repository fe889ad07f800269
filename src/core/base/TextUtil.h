// Small text helpers that never depend on the process locale.
#pragma once

#include <string>
#include <string_view>

namespace viamappa {

// Without blanks and tabs at both ends.
std::string_view Trim(std::string_view text);

// Without the blanks at the end, but never without its first character: " " stays " ".
std::string_view TrimTrailingBlanks(std::string_view text);

// Without any blank at the end: a text of blanks only becomes empty.
std::string_view CutTrailingBlanks(std::string_view text);

// ASCII letters to upper or lower case; every other byte unchanged.
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);

// Equality without regard to the case of ASCII letters.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The text as a double-quoted SQL identifier.
std::string QuoteIdentifier(std::string_view name);

}  // namespace viamappa
