// The Jet text functions and the Jet LIKE operator on a SQLite connection.
#pragma once

struct sqlite3;

namespace viamappa {

// Registers on the connection, as deterministic UTF-8 functions:
// - like(pattern, text), which SQLite calls for `text LIKE pattern`: the Jet wildcards of
//   JetLikePattern, ignoring letter case; NULL when either side is NULL;
// - ucase(s), lcase(s): upper and lower case, character by character;
// - len(s): the number of characters;
// - mid(s, start[, length]): the characters from start (counted from 1), all or at most length;
// - left(s, n), right(s, n): the first or the last n characters;
// - nz(x, y): y when x is NULL, x otherwise, keeping its type.
// The text functions also answer to their Jet names with `$` (ucase$, mid$, ...). Numbers given as s are
// read as their text; NULL in any argument of the text functions gives NULL (nz excepted). A start below
// 1 or a negative count is an error of the statement, as in Jet.
// Returns false when SQLite refuses a registration (the connection is then left with part of them).
bool RegisterJetFunctions(sqlite3* db);

}  // namespace viamappa
