// Putting a complete database file in the place of another, so that a command that builds a file never
// leaves half of one where a database is expected, and never replaces a file another process is using.
#pragma once

#include <string>

namespace viamappa {

// True when another process holds a lock on the database file: it is reading or writing it. A file
// that is missing or not a database is not in use.
bool DatabaseFileInUse(const std::string& path);

// Moves the file at replacement to destination, replacing what is there. An existing destination is
// locked first, so that no other process is inside it while it goes; a destination in use is refused.
// The engine's side files of the replaced file go with it. False with the reason; then both files stay as
// they were.
bool ReplaceDatabaseFile(const std::string& replacement, const std::string& destination, std::string& error);

}  // namespace viamappa
