// Translation of statements written in the Jet SQL dialect into SQLite SQL, and safe building of text
// constants and LIKE patterns from user text.
#pragma once

#include <string>
#include <string_view>

namespace viamappa {

// Turns a Jet statement into the SQLite statement that means the same, in one pass:
// - text in single quotes ('' inside stands for one quote) is copied as it is, as are `--` and
//   `/* */` comments and identifiers in back quotes;
// - a double-quoted text constant becomes a single-quoted literal ("" inside stands for one double
//   quote, and each ' is doubled), so it is always a text and never a column name;
// - a bracketed name [a b] becomes the quoted identifier "a b" (a " inside is doubled);
// - the words TRUE and FALSE (any letter case, not qualified by a `.` on either side and not a
//   parameter name after `:` or `@`) become 1 and 0;
// - ISNULL(x) becomes ((x) IS NULL), x translated too, whatever its nesting of parentheses;
// - the functions LEFT(...) and RIGHT(...) are called as "LEFT"(...) and "RIGHT"(...), since SQLite
//   takes the bare words for join keywords;
// - `&` becomes `||`;
// - a date constant #m/d/yyyy# or #yyyy-mm-dd# becomes 'yyyy-mm-dd'; an invalid one is copied as it is.
// Everything else is copied byte for byte. Any byte sequence is accepted: an unterminated quote,
// bracket or comment is copied as it is, so that SQLite reports the error when it reads the result.
std::string TranslateJetSql(std::string_view jet);

// The single-quoted SQL literal of a text ('O''Brien'), to put user text into a statement. The
// literal passes TranslateJetSql unchanged. A NUL byte in the text makes the statement fail to prepare.
std::string SqlTextLiteral(std::string_view text);

// A piece of LIKE pattern that matches exactly the given text, for pasting inside a single-quoted
// pattern: apostrophes are doubled and `*`, `?`, `#`, `[` are written as `[*]`, `[?]`, `[#]`, `[[]`.
// Example: "nome LIKE '*" + LikeFragment(text) + "*'".
std::string LikeFragment(std::string_view text);

}  // namespace viamappa
